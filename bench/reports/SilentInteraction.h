#pragma once

#include "app/Interaction.h"

#include <QString>
#include <cstdio>

namespace katarix::bench {

// Answers every question without a person: boxes are printed and counted, the editor "starts"
// (the document it was given is kept).
class SilentInteraction : public app::Interaction {
public:
    int messageBox(QWidget *, const QString &text, const QString &, int) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        ++messages;
        return app::mb::IdOk;
    }
    void beep() override {}
    QString openFileName(QWidget *, const app::FileDialogRequest &) override { return {}; }
    QString saveFileName(QWidget *, const app::FileDialogRequest &) override { return {}; }
    QString folder(QWidget *, const QString &, const QString &) override { return {}; }
    std::optional<QColor> color(QWidget *, const QColor &) override { return std::nullopt; }
    std::optional<QString> password(QWidget *, const QString &) override { return std::nullopt; }
    QSize screenSize() override { return {1280, 1024}; }
    app::EditorLaunch launchEditor(const QString &, const QString &document) override
    {
        lastDocument = document;
        return app::EditorLaunch::Started;
    }
    int messages = 0;
    QString lastDocument;
};

} // namespace katarix::bench
