#include "scriptedconversation.h"

namespace qm {

void ScriptedConversation::setProgram(const QString &program)
{
    log << QLatin1String("program ") + program;
}

bool ScriptedConversation::open(const QString &service, const QString &topic)
{
    const bool yes = answering.contains(topic);
    log << QStringLiteral("open %1 %2 -> %3").arg(service, topic, yes ? QStringLiteral("yes") : QStringLiteral("no"));
    return yes;
}

std::optional<QString> ScriptedConversation::request(const QString &item, int timeoutMs)
{
    log << QLatin1String("request ") + item;
    lastTimeout = timeoutMs;
    if (replies.empty())
        return std::nullopt;
    const bool answered = replies.front().has_value();
    const QString text = answered ? *replies.front() : QString();
    replies.pop_front();
    if (!answered)
        return std::nullopt;
    return text;
}

void ScriptedConversation::close()
{
    log << QStringLiteral("close");
}

} // namespace qm
