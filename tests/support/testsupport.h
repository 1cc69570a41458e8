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

// The value of one parameter line of an applet block ("<missing>" when the
// block has no such parameter).
QString paramValue(const QString &html, const QString &name);

} // namespace qmtest

namespace qmtest {

// A small file system of the test's own (a tmpfs mounted on a temporary
// folder), which the test can fill up to see how writes fail on a full disk.
// Mounting needs root; when it is not possible, whyNot() says why, so the
// test can skip with a visible reason.
class SmallFileSystem {
public:
    explicit SmallFileSystem(qint64 bytes = 256 * 1024);
    ~SmallFileSystem();
    SmallFileSystem(const SmallFileSystem &) = delete;
    SmallFileSystem &operator=(const SmallFileSystem &) = delete;

    bool isMounted() const { return m_mounted; }
    QString whyNot() const { return m_whyNot; }
    QString path() const { return m_dir.path(); }
    QString file(const QString &relative) const { return m_dir.path() + QLatin1Char('/') + relative; }

    // Takes up every free byte with a filler file. False when the file
    // system still had room afterwards.
    bool fill();
    // Frees the space again.
    void unfill();

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_whyNot;
};

} // namespace qmtest
