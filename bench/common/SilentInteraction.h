#pragma once

#include "app/Interaction.h"

#include <cstdio>

namespace katarix::bench {

// Answers every question without a person: message boxes are printed and counted (a Yes/No
// question is answered "Tak"), dialogs are cancelled, the editor "starts", progress is not shown.
class SilentInteraction : public app::Interaction {
public:
    int messageBox(QWidget *, const QString &text, const QString &, int flags) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        if ((flags & 0x0F) == app::mb::YesNo) {
            ++questions; // "Tak": a benchmark writes its document
            return app::mb::IdYes;
        }
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
    // Never shown, never cancelled.
    std::unique_ptr<app::ProgressDialog> progress(QWidget *, const QString &, const QString &) override
    {
        struct Silent : app::ProgressDialog {
            void update(const QString &, qint64, qint64) override {}
            bool cancelled() override { return false; }
        };
        return std::make_unique<Silent>();
    }
    int messages = 0;
    int questions = 0;
    QString lastDocument;
};

} // namespace katarix::bench
