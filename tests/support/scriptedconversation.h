#pragma once

#include "preview/conversation.h"

#include <QSet>
#include <QStringList>
#include <deque>

namespace qm {

// A conversation for tests: it records every call in `log` and answers from
// a script, so the launcher's logic runs without a browser.
//
// Log lines: "program P", "open SERVICE TOPIC -> yes|no", "request ITEM",
// "close".
class ScriptedConversation : public Conversation {
public:
    void setProgram(const QString &program) override;
    void setStartedProcess(qint64 pid) override { startedProcess = pid; }
    bool open(const QString &service, const QString &topic) override;
    std::optional<QString> request(const QString &item, int timeoutMs) override;
    void close() override;

    // Topics on which a conversation opens (the browser "answers").
    QSet<QString> answering;
    // Replies to requests, in order; when none is left a request gets none.
    std::deque<std::optional<QString>> replies;
    QStringList log;
    // Time-out of the last request.
    int lastTimeout = -1;
    // The process the launcher said it started.
    qint64 startedProcess = 0;
};

} // namespace qm
