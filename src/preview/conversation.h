#pragma once

#include <QString>
#include <optional>

namespace qm {

// The topics of a browser's conversation: open an address, bring a window up.
inline const QString kOpenURL = QStringLiteral("WWW_OpenURL");
inline const QString kActivate = QStringLiteral("WWW_Activate");

// A client conversation with a browser, in the terms of the Windows DDE
// client the launcher was designed around: a service (the browser's name), a
// topic ("WWW_OpenURL", "WWW_Activate") and text items requested on it.
class Conversation {
public:
    virtual ~Conversation() = default;

    // The browser program behind the service. A DDE client finds the server
    // by its service name alone; elsewhere the program is needed to find the
    // running browser and to hand it a page.
    virtual void setProgram(const QString &program) = 0;

    // The process the launcher started for the browser, 0 for none. A
    // wrapper or launcher may run the browser under a name of its own; the
    // process keeps its id through a wrapper's exec, and a browser run as
    // its child descends from it, so where servers are found by their
    // processes, it and its descendants count as the browser.
    virtual void setStartedProcess(qint64 pid) = 0;

    // Closes any open conversation, then connects to `service` on `topic`.
    // True when the conversation is established.
    virtual bool open(const QString &service, const QString &topic) = 0;

    // Requests `item` on the open conversation and waits at most `timeoutMs`
    // for the reply. nullopt when there is none.
    virtual std::optional<QString> request(const QString &item, int timeoutMs) = 0;

    // Ends the conversation; service and topic are forgotten.
    virtual void close() = 0;
};

} // namespace qm
