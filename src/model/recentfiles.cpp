#include "model/recentfiles.h"

#include "platform/desktoprecent.h"
#include "platform/fileops.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace qm {

namespace {

// Ten paths of at most 4096 bytes, with room to spare.
constexpr qint64 kMaxListBytes = 64 * 1024;

} // namespace

RecentFiles::RecentFiles(QString file, QString desktopList)
    : m_file(std::move(file))
    , m_desktopList(std::move(desktopList))
{
}

QStringList RecentFiles::list() const
{
    QFile f;
    QByteArray bytes;
    if (!openRegularFile(m_file, f, kMaxListBytes) || !readAtMost(f, kMaxListBytes, &bytes))
        return {};
    QStringList out;
    for (const QString &line : QString::fromUtf8(bytes).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (QDir::isAbsolutePath(line) && !out.contains(line) && out.size() < Max)
            out << line;
    }
    return out;
}

QStringList RecentFiles::existing() const
{
    QStringList out = list();
    out.removeIf([](const QString &path) { return !isFile(path); });
    return out;
}

bool RecentFiles::add(const QString &path)
{
    const QString full = QFileInfo(path).absoluteFilePath();
    // Other programs' use of the desktop's list is theirs to mend.
    if (!m_desktopList.isEmpty())
        noteDesktopRecent(m_desktopList, full, QDateTime::currentDateTimeUtc());
    QStringList paths = list();
    paths.removeAll(full);
    // A name with a line break in it cannot be one line of the list.
    if (!full.contains(QLatin1Char('\n')) && !full.contains(QLatin1Char('\r')))
        paths.prepend(full);
    while (paths.size() > Max)
        paths.removeLast();
    if (!QDir().mkpath(QFileInfo(m_file).absolutePath()))
        return false;
    QSaveFile out(m_file);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    out.write(paths.join(QLatin1Char('\n')).toUtf8() + '\n');
    return out.commit();
}

} // namespace qm
