#include "platform/filefilter.h"

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

} // namespace qm
