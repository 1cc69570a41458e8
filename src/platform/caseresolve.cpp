#include "platform/caseresolve.h"

#include <QDir>
#include <QFileInfo>

namespace qm {

QString resolveCaseInsensitive(const QString &path, QString *deepestFolder)
{
    if (deepestFolder)
        deepestFolder->clear();
    if (path.isEmpty())
        return QString();
    if (QFileInfo::exists(path))
        return path;

    const bool absolute = path.startsWith(QLatin1Char('/'));
    QString current = absolute ? QStringLiteral("/") : QString();
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        const QString base = current.isEmpty() ? QStringLiteral(".") : current;
        auto join = [&](const QString &name) {
            if (current.isEmpty())
                return name;
            return current.endsWith(QLatin1Char('/')) ? current + name : current + QLatin1Char('/') + name;
        };
        QString exact = join(part);
        if (part == QLatin1String(".") || part == QLatin1String("..") || QFileInfo::exists(exact)) {
            current = exact;
            continue;
        }
        const QStringList entries = QDir(base).entryList(
            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
        // The program upper-cases names with the full case mapping, which
        // turns "ß" into "SS" and "ﬁ" into "FI"; case folding alone would
        // not lead such a name back to its file.
        const QString partUpper = part.toUpper();
        QString found;
        for (const QString &entry : entries) {
            if (entry.compare(part, Qt::CaseInsensitive) == 0 || entry.toUpper() == partUpper) {
                found = entry;
                break;
            }
        }
        if (found.isEmpty()) {
            if (deepestFolder && QFileInfo(base).isDir())
                *deepestFolder = QFileInfo(base).absoluteFilePath();
            return QString();
        }
        current = join(found);
    }
    return QFileInfo::exists(current) ? current : QString();
}

} // namespace qm
