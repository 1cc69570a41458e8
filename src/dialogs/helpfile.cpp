#include "dialogs/helpfile.h"

#include "platform/caseresolve.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace qm::help {

QString helpFilePath(const QString &programFolder)
{
    const QString wanted = QDir(programFolder).absoluteFilePath(QLatin1String(HelpFileName));
    const QString found = resolveCaseInsensitive(wanted);
    return found.isEmpty() ? wanted : QFileInfo(found).absoluteFilePath();
}

QString topicSection(const QString &page, const QString &anchor)
{
    const QRegularExpression anchorTag(QStringLiteral("<a\\s+name\\s*=\\s*\"%1\"")
                                           .arg(QRegularExpression::escape(anchor)),
                                       QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = anchorTag.match(page);
    if (!m.hasMatch())
        return QString();
    const qsizetype start = page.lastIndexOf(QLatin1String("<h2"), m.capturedStart(), Qt::CaseInsensitive);
    if (start < 0)
        return QString();
    static const QRegularExpression sectionEnd(QStringLiteral("<h2|</body"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch end = sectionEnd.match(page, m.capturedEnd());
    return page.mid(start, end.hasMatch() ? end.capturedStart() - start : -1).trimmed();
}

QString topicSummary(const QString &page, const QString &anchor)
{
    const QString section = topicSection(page, anchor);
    const qsizetype details = section.indexOf(QLatin1String("<h3"), 0, Qt::CaseInsensitive);
    return details < 0 ? section : section.left(details).trimmed();
}

QString readHelpFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}

} // namespace qm::help
