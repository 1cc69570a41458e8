#include "platform/paths.h"

namespace qm {

QChar separator(PathStyle style)
{
    return style == PathStyle::Windows ? QLatin1Char('\\') : QLatin1Char('/');
}

qsizetype lastDelimiter(const QString &path, PathStyle style)
{
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        const QChar c = path.at(i);
        if (style == PathStyle::Windows) {
            if (c == QLatin1Char('\\') || c == QLatin1Char(':'))
                return i;
        } else if (c == QLatin1Char('/')) {
            return i;
        }
    }
    return -1;
}

QString fileNamePart(const QString &path, PathStyle style)
{
    return path.mid(lastDelimiter(path, style) + 1);
}

QString folderPart(const QString &path, PathStyle style)
{
    return path.left(lastDelimiter(path, style) + 1);
}

QString fileExtension(const QString &path, PathStyle style)
{
    const qsizetype delim = lastDelimiter(path, style);
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot <= delim)
        return QString();
    return path.mid(dot);
}

QString programPath(const QString &appDir, const QString &relative)
{
    return appDir + QLatin1Char('/') + relative;
}

} // namespace qm
