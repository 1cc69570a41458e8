#pragma once

#include "platform/paths.h"
#include "preview/conversation.h"

#include <QObject>
#include <QString>
#include <memory>

class QTimer;
class TExecFile;

namespace qm {
class Prompts;
}

// The browser launcher: opens a page in the user's browser. It asks the
// running browser first ("WWW_OpenURL", then "WWW_Activate"); when none
// answers it starts the browser and retries every 2000 ms until one does.
// A browser that has not answered 10 s after it was started gets the page
// by being run with its URL, once, which hands it to a running browser or
// opens it in a new one, and the retries end; when the browser cannot be
// started, or that run fails, a message says it could not be reached.
// Created once at start-up, never shown.
class TDDEForm : public QObject {
    Q_OBJECT
public:
    // With the platform's own conversation.
    explicit TDDEForm(QObject *parent = nullptr);
    TDDEForm(std::unique_ptr<qm::Conversation> conversation, QObject *parent = nullptr);
    ~TDDEForm() override;

    // Opens `url` in the browser named by `browser` (both as Preview passes
    // them: full file names in double quotes).
    void OpenURL(const QString &browser, const QString &url);
    // The retry timer's handler.
    void Timer1Timer();

    // Replaces the conversation (tests script one).
    void setConversation(std::unique_ptr<qm::Conversation> conversation);
    // Where the launcher says that the browser could not be reached.
    void setPrompts(qm::Prompts *prompts) { m_prompts = prompts; }

    qm::Conversation *DdeClientConv1 = nullptr;
    TExecFile *ExecFile1 = nullptr;
    QTimer *Timer1 = nullptr;
    // Single shot, started with the browser: when it fires while the
    // retries still run, the page is handed over with the URL.
    QTimer *HandOverTimer = nullptr;

    // Service derived from the browser command by the last OpenURL, and the
    // URL the retry timer opens.
    QString BrowserService;
    QString PendingURL;

    // Paths of the browser command are taken apart in this style.
    qm::PathStyle pathStyle = qm::NativePathStyle;

private:
    void sendURL();
    void handOver();
    void notReached(const QString &browser);

    std::unique_ptr<qm::Conversation> m_conversation;
    std::unique_ptr<TExecFile> m_execFile;
    qm::Prompts *m_prompts = nullptr;
    QString m_browser; // the browser command of the last start
};

namespace qm {

// The browser's service name for a browser command: its bare file name
// without extension (the extension's cut takes a closing quote with it; one
// left over when the name has no extension goes as well), and "IEXPLORE"
// for any case of "IE20".
QString browserServiceName(const QString &browserCommand, PathStyle style = NativePathStyle);

// The window number in a browser's reply: leading blanks skipped, decimal
// digits up to the first other character; 0 when there are none.
qint64 windowNumberOf(const std::optional<QString> &reply);

// The item that asks a browser to open `url`.
QString openURLItem(const QString &url);

// How long a started browser has to answer before it is handed the page
// with the URL, in milliseconds.
inline constexpr int HandOverDelay = 10000;

} // namespace qm
