#include "platform/filefilter.h"

#include <QRegularExpression>
#include <QStringList>

namespace qm {

QString qtFileFilter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString text = parts.at(i).trimmed();
        const qsizetype paren = text.lastIndexOf(QLatin1Char('('));
        if (paren > 0 && text.endsWith(QLatin1Char(')')))
            text = text.left(paren).trimmed();
        QString patterns = parts.at(i + 1);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        out << text + QLatin1String(" (") + patterns + QLatin1Char(')');
    }
    return out.join(QLatin1String(";;"));
}

QStringList dialogFilters(const QString &qtFilter, bool *hideDetails)
{
    const QStringList filters = qtFilter.split(QLatin1String(";;"), Qt::SkipEmptyParts);
    // "Text (patterns)", as Qt reads a filter; without parentheses the whole
    // filter is its patterns.
    static const QRegularExpression withPatterns(QStringLiteral("^(.*)\\(([^()]*)\\)\\s*$"));
    QList<QStringList> patterns;
    bool anyFile = false;
    for (const QString &f : filters) {
        const QRegularExpressionMatch m = withPatterns.match(f);
        QStringList p = (m.hasMatch() ? m.captured(2) : f).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (QString &one : p) {
            if (one == QLatin1String("*.*")) {
                one = QStringLiteral("*");
                anyFile = true;
            }
        }
        patterns << p;
    }
    *hideDetails = anyFile;
    if (!anyFile)
        return filters;
    QStringList out;
    for (qsizetype i = 0; i < filters.size(); ++i)
        out << filters.at(i).trimmed() + QLatin1String(" (") + patterns.at(i).join(QLatin1Char(' ')) + QLatin1Char(')');
    return out;
}

} // namespace qm
