#pragma once

#include "preview/conversation.h"

namespace qm {

// The browser conversation on Linux, where browsers offer no DDE.
//
// "WWW_OpenURL" opens when a process of the current user runs the browser
// program: its executable is the browser file once links are resolved, its
// command names the browser file (wrappers that exec the real program under
// the name they were called by), its process name equals the service name
// without regard to case, or it is the process the launcher started for the
// browser or one of its descendants (a wrapper, snap or flatpak launcher
// that runs a program of another name). A request on it runs the browser program
// with the page's URL, which a running browser hands to its open window,
// and replies with the id of that process as the window number; it returns
// as soon as that process runs, well within any time-out.
// "WWW_Activate" opens and accepts its item; the browser brings its window
// forward itself when it is handed a page.
//
// Unlike the Windows DDE client, nothing is started when no browser
// answers: "service topic" run as a command would open a bogus page.
class LinuxConversation : public Conversation {
public:
    void setProgram(const QString &program) override;
    void setStartedProcess(qint64 pid) override;
    bool open(const QString &service, const QString &topic) override;
    std::optional<QString> request(const QString &item, int timeoutMs) override;
    void close() override;

    // The id of a process of the current user that runs the browser, or 0.
    qint64 runningBrowser(const QString &service) const;

    // The page named by an "WWW_OpenURL" item: its first field without its
    // quotes, as a file:// URL when it is a path.
    static QString urlOfItem(const QString &item);

private:
    QString m_program;
    // The started process, named by its id and start time, since an id
    // is given again once its process has ended.
    qint64 m_startedPid = 0;
    quint64 m_startedAt = 0;
    QString m_service;
    QString m_topic;
    bool m_open = false;
};

} // namespace qm
