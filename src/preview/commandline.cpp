#include "preview/commandline.h"

#include "platform/fileops.h"

#include <QFileInfo>
#include <QProcess>

namespace qm {

namespace {

QStringList argumentsOf(const QString &rest)
{
    const QString t = rest.trimmed();
    return t.isEmpty() ? QStringList() : QProcess::splitCommand(t);
}

} // namespace

SplitCommand splitCommandLine(const QString &commandLine)
{
    const QString line = commandLine.trimmed();
    if (line.isEmpty())
        return {};

    if (line.startsWith(QLatin1Char('"'))) {
        QList<qsizetype> closers;
        for (qsizetype i = 1; i < line.size(); ++i) {
            // A closing quote ends the line or is followed by a blank.
            if (line.at(i) == QLatin1Char('"') && (i + 1 == line.size() || line.at(i + 1).isSpace()))
                closers << i;
        }
        for (qsizetype k = closers.size() - 1; k >= 0; --k) {
            const qsizetype i = closers.at(k);
            const QString program = line.mid(1, i - 1);
            if (isFile(program))
                return {program, argumentsOf(line.mid(i + 1))};
        }
        const qsizetype first = line.indexOf(QLatin1Char('"'), 1);
        if (first < 0)
            return {line.mid(1), {}};
        return {line.mid(1, first - 1), argumentsOf(line.mid(first + 1))};
    }

    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line.at(i).isSpace() && isFile(line.left(i)))
            return {line.left(i), argumentsOf(line.mid(i + 1))};
    }
    if (isFile(line))
        return {line, {}};
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    if (blank < 0)
        return {line, {}};
    return {line.left(blank), argumentsOf(line.mid(blank + 1))};
}

QString unquoted(const QString &text)
{
    if (text.size() >= 2 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"')))
        return text.mid(1, text.size() - 2);
    return text;
}

} // namespace qm
