#include "compile/pathconv.h"

namespace qm {

QString BackToForwardSlash(const QString &path)
{
    QString out = path;
    out.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return out;
}

QString AbsoluteToRelative(const QString &projectPath, const QString &filePath, PathStyle style)
{
    QString p = projectPath;
    QString f = filePath;
    if (f.isEmpty())
        return QString();
    if (p.size() < 2 || f.size() < 2)
        return f;

    // Windows paths must share the drive ("C:") or the share prefix; POSIX
    // paths only need to both be absolute.
    const int head = style == PathStyle::Windows ? 2 : 1;
    if (p.left(head) != f.left(head))
        return f;

    const QChar sep = separator(style);

    // Strip the folders both paths share, whole folders only.
    qsizetype i = 0;
    while (i < p.size() && i < f.size() && p.at(i) == f.at(i)) {
        if (p.at(i) == sep) {
            p.remove(0, i + 1);
            f.remove(0, i + 1);
            i = 0;
            continue;
        }
        ++i;
    }

    // Climb out of the project's remaining folders.
    const QString up = style == PathStyle::Windows ? QStringLiteral("..\\") : QStringLiteral("../");
    qsizetype s;
    while ((s = p.indexOf(sep)) >= 0) {
        f.prepend(up);
        p.remove(0, s + 1);
    }
    return f;
}

QString relativeUrl(const QString &projectPath, const QString &filePath, PathStyle style)
{
    return BackToForwardSlash(AbsoluteToRelative(projectPath, filePath, style));
}

QString doubleDensityName(const QString &path, PathStyle style)
{
    const qsizetype nameStart = path.lastIndexOf(separator(style)) + 1;
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    // A dot that starts the name (".gif") is no extension's.
    if (dot <= nameStart)
        return path + QLatin1String("@2x");
    return path.left(dot) + QLatin1String("@2x") + path.mid(dot);
}

} // namespace qm
