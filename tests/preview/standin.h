#pragma once

#include <QStringList>
#include <QTemporaryDir>

// A stand-in browser for the launcher's tests: a shell script that records
// the arguments of every start, one line per start with each argument in
// brackets. Started without arguments it stays running, as a browser
// started without a page does, until the test ends it; started with a page
// it hands the page over and ends.
//
// Its process name is its file name, unique to the test process, so that
// no other program's process passes for it.
class StandInBrowser {
public:
    // `folderName` is made inside a temporary folder (it may hold blanks
    // and double quotes).
    explicit StandInBrowser(const QString &folderName = QStringLiteral("browsers"));
    ~StandInBrowser();
    StandInBrowser(const StandInBrowser &) = delete;
    StandInBrowser &operator=(const StandInBrowser &) = delete;

    QString path() const { return m_path; }
    QString name() const { return m_name; }
    // One entry per start: "" for a start without arguments, "[a][b]" otherwise.
    QStringList starts() const;
    // Waits until `count` starts are recorded; false after `timeoutMs`.
    bool waitForStarts(int count, int timeoutMs = 5000) const;
    // Ids of the instances that stay running.
    QList<qint64> runningIds() const;
    // Starts an instance without arguments, as the user would have done
    // before Preview, and waits until it runs.
    bool startRunning();
    // Ends every instance that stays running and waits until they are gone.
    void stopAll();
    // A shell script of the given name in a folder of its own that stands
    // between the launcher and this browser, the way a wrapper, snap or
    // flatpak launcher does: `body` runs with %S standing for this
    // browser's path in single quotes. Returns the script's path.
    QString wrapper(const QString &name, const QString &body) const;

private:
    QTemporaryDir m_dir;
    QString m_path;
    QString m_name;
    QString m_log;
    QString m_pids;
    QString m_stop;
};
