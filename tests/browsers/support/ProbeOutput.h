#pragma once

// The end of a start-up probe (a program that goes through the real start-up and prints what it
// saw for its test): the messages shown join the result, the forms are freed and the result is
// printed as one line of JSON.

#include "app/MainFrm.h"
#include "app/support/RecordingInteraction.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace katarix::test {

inline int zakonczSonde(QJsonObject result, const RecordingInteraction &recording)
{
    QJsonArray messages;
    for (const auto &message : recording.messages)
        messages.append(message.text);
    result[QStringLiteral("messages")] = messages;
    app::ZwolnijFormularze();
    const QByteArray json = QJsonDocument(result).toJson(QJsonDocument::Compact);
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    return 0;
}

} // namespace katarix::test
