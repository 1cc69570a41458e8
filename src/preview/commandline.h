#pragma once

#include <QString>
#include <QStringList>

namespace qm {

// A command line taken apart into the program to run and its arguments, so
// that the program is started directly and never through a shell.
struct SplitCommand {
    QString program;
    QStringList arguments;
};

// Takes apart a command line of the Windows kind: the program comes first,
// in double quotes when its path holds blanks, and the arguments follow.
// A quoted program path may itself hold double quotes (a folder named
// `my "best" browser`): of the closing quotes the one after which the path
// names an existing file wins, the last such one first; failing that the
// first closing quote ends the program. An unquoted program ends at the
// first blank after which the text names an existing file, else at the
// first blank. The arguments are split at blanks, double quotes grouping.
SplitCommand splitCommandLine(const QString &commandLine);

// The text between a pair of enclosing double quotes, or the text itself.
QString unquoted(const QString &text);

} // namespace qm
