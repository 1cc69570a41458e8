#pragma once

#include <QString>
#include <QStringList>

// The program's command line: `quillmap [FILE]` starts the window, and
// `quillmap --compile FILE [-o OUT] [--runtime DIR]` builds the applet block
// of a project without a window and without a display.
namespace qm::commandline {

// Exit statuses of the command line.
inline constexpr int Failed = 1;     // the program's own message is on standard error
inline constexpr int WrongUsage = 2;

// True when the arguments ask for the command line (compiling, help,
// version, or an option only the command line knows), so that no window
// system is needed. Looked at before any application object exists.
bool wanted(int argc, char **argv);

// Runs the command line in a QGuiApplication of its own, on the offscreen
// platform; returns the exit status.
int run(int argc, char **argv);

struct WindowArguments {
    QString file;        // absolute; empty when none was named
    int exitCode = -1;   // set when the program should end at once
};

// The window's arguments (the application object has taken its own out):
// at most one project file. Wrong usage is reported on standard error.
WindowArguments windowArguments(const QStringList &arguments);

} // namespace qm::commandline
