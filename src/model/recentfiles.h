#pragma once

#include <QString>
#include <QStringList>

namespace qm {

// The projects last opened or saved, newest first, kept in a file of their
// own (one full path per line) so that every run offers them.
class RecentFiles {
public:
    static constexpr int Max = 10;

    // With `desktopList`, each project added is entered in the desktop's
    // list of recently used files as well.
    explicit RecentFiles(QString file, QString desktopList = QString());

    // The list as kept; a file that is unreadable, too large or no regular
    // file gives none.
    QStringList list() const;
    // Those of the list that are still files (moved or deleted ones are not
    // offered).
    QStringList existing() const;
    // Puts `path` first (once) and keeps the newest Max. False when the list
    // could not be written; the program goes on without it.
    bool add(const QString &path);

private:
    QString m_file;
    QString m_desktopList;
};

} // namespace qm
