#pragma once

#include <QImage>
#include <QString>
#include <QTemporaryDir>

namespace qmtest {

// A throw-away program folder with the layout the program expects
// (images/, sound/, java/, tmp/, help/), default pictures and sound included.
class ProgramFolder {
public:
    ProgramFolder();
    QString path() const { return m_dir.path(); }
    QString file(const QString &relative) const { return m_dir.path() + QLatin1Char('/') + relative; }
    bool isValid() const { return m_dir.isValid(); }

private:
    QTemporaryDir m_dir;
};

// Writes a picture file in the format its extension names (through ImageMagick,
// so GIF and PCX work as well as the formats Qt writes). Returns false on failure.
bool writePicture(const QString &fileName, const QImage &image, const QString &format = QString());

// The picture encoded in a format ImageMagick names ("GIF", "JPEG", "PCX" ...).
QByteArray encodedPicture(const QImage &image, const QString &format);

// A solid picture of the given size and colour.
QImage solidImage(int width, int height, QRgb color);

// Writes raw bytes to a file, creating folders as needed.
bool writeBytes(const QString &fileName, const QByteArray &bytes);

QByteArray readBytes(const QString &fileName);

} // namespace qmtest
