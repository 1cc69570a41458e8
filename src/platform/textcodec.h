#pragma once

#include <QByteArray>
#include <QString>

namespace qm {

// Text files are written in UTF-8. Reading takes UTF-8 and falls back to
// Windows-1252 for a file that is not valid UTF-8 (one made on Windows).
QString decode8Bit(const QByteArray &bytes);

// Windows-1252 to Unicode, for one byte string.
QString decodeWindows1252(const QByteArray &bytes);

bool isValidUtf8(const QByteArray &bytes);

// Unicode to Windows-1252. `ok` (when given) is false when a character has no
// place in the code page; such characters become '?'.
QByteArray encodeWindows1252(const QString &text, bool *ok = nullptr);

} // namespace qm
