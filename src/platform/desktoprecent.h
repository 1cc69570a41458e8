#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

namespace qm {

// The desktop's list of recently used files ($XDG_DATA_HOME/recently-used.xbel),
// which file managers and file dialogs of every toolkit show: `file` is
// entered in it, or brought up to date, as used by Quillmap now. The list
// is shared with every other program, so what it holds is copied through
// unchanged; a list that cannot be read as one is left alone.
bool noteDesktopRecent(const QString &listFile, const QString &file, const QDateTime &now);

// The list `xbel` with `file` entered (or an empty list when `xbel` is
// empty); nullopt when `xbel` is not well-formed.
std::optional<QByteArray> desktopRecentWith(const QByteArray &xbel, const QString &file, const QDateTime &now);

} // namespace qm
