#pragma once

#include <QString>
#include <functional>

// Starts a program, optionally waiting for it to end.
//
// On Linux the command line is taken apart into the program and its
// arguments and started with QProcess::startDetached, never through a
// shell. The properties carry over as follows:
// - Priority: the started process gets the nice value of its class
//   (pcIdle 19, pcNormal unchanged, pcHigh -10, pcRealTime -20) where the
//   system allows it; raising a priority needs privileges, and without them
//   the process keeps the program's own priority.
// - WindowStyle: kept, but not passed on: an X11 or Wayland program chooses
//   how to show its first window, and there is no channel to tell it.
// - Wait: the launcher waits for the started process to end, handling the
//   program's events meanwhile (wRegular, which a request to quit the
//   program ends) or blocking (wSuspend).
// - Associate: when the program cannot be started, the document is handed
//   to the desktop's opener (xdg-open) with the arguments.
// - The new program's standard channels lead nowhere (null device), as a
//   program started in a console of its own does not write into ours.
class TExecFile {
public:
    enum TPriorityClass { pcNormal, pcIdle, pcHigh, pcRealTime };
    enum TWaitStyle { wRegular, wSuspend };
    enum TWindowStyle { wsNorm, wsMinimize, wsMaximize, wsHide, wsMinNoActivate, wsShowNoActivate };

    bool Associate = false;
    QString CommandLine;
    QString Parameters;
    TPriorityClass Priority = pcNormal;
    bool Wait = false;
    TWaitStyle WaitStyle = wRegular;
    TWindowStyle WindowStyle = wsNorm;
    // Called when the program cannot be started.
    std::function<void(TExecFile *sender)> OnFail;

    // Starts the program described by the properties. False when it could
    // not be started.
    bool Execute();

    // Results of the last start.
    int ErrorCode = 0;            // errno-style code of a failed start
    QString AssociatedProgram;    // the opener used through Associate
    bool Waiting = false;         // set while Execute waits
    qint64 ProcessId = 0;         // the started process

    // Nice value of a priority class; 0 leaves the priority as it is.
    static int niceValue(TPriorityClass priority);

private:
    bool start(const QString &program, const QStringList &arguments);
    void fail(int code);
    void waitForEnd();
};
