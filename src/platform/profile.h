#pragma once

#include <QString>

namespace qm {

// Initialisation files ("[SECTION]" headers and key=value lines) with the
// semantics of the Windows profile functions: section and key names ignore
// case, the first match wins, values are trimmed, and writing one key keeps
// every other line and section of the file as it was.
namespace profile {

// The value of `key` in `section`, or `defaultValue` when the file, the
// section or the key is missing. A key present with an empty value gives the
// empty text. A value in one pair of matching double or single quotes comes
// back without them. At most bufferSize - 1 characters come back.
QString readString(const QString &fileName, const QString &section, const QString &key,
                   const QString &defaultValue, int bufferSize = 1024);

// The value read as an integer, decimal or hexadecimal with a "0x" prefix;
// `defaultValue` when the key is missing or its value is not a number.
int readInt(const QString &fileName, const QString &section, const QString &key, int defaultValue);

// Writes `key`=`value` into `section`, replacing the first line of that key
// or adding one (and the section when needed). Every other line keeps its
// bytes, line end included; new lines take the file's own line end. Returns
// false, with the system's reason in `error`, when the file cannot be written.
bool writeString(const QString &fileName, const QString &section, const QString &key,
                 const QString &value, QString *error = nullptr);

} // namespace profile
} // namespace qm
