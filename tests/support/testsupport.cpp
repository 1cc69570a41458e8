#include "testsupport.h"

#include <Magick++.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace qmtest {

ProgramFolder::ProgramFolder()
{
    QDir root(m_dir.path());
    for (const char *sub : {"images", "sound", "java", "tmp", "help"})
        root.mkpath(QLatin1String(sub));
    // Encoding a GIF costs a colour reduction; make each picture once per run.
    static const QByteArray defaultGif = encodedPicture(solidImage(156, 65, qRgb(40, 80, 160)), QStringLiteral("GIF"));
    static const QByteArray mouseGif = encodedPicture(solidImage(156, 65, qRgb(200, 120, 40)), QStringLiteral("GIF"));
    writeBytes(file(QStringLiteral("images/default.gif")), defaultGif);
    writeBytes(file(QStringLiteral("images/mouse.gif")), mouseGif);
    writeBytes(file(QStringLiteral("sound/click.au")), QByteArray(".snd\0\0\0\x18", 8) + QByteArray(64, '\0'));
}

QImage solidImage(int width, int height, QRgb color)
{
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(color);
    return img;
}

QByteArray encodedPicture(const QImage &image, const QString &format)
{
    QString fmt = format.toUpper();
    if (fmt == QLatin1String("JPG") || fmt == QLatin1String("JPE"))
        fmt = QStringLiteral("JPEG");
    if (fmt == QLatin1String("TIF"))
        fmt = QStringLiteral("TIFF");
    QByteArray png;
    QBuffer buf(&png);
    buf.open(QIODevice::WriteOnly);
    if (!image.save(&buf, "PNG"))
        return {};
    try {
        Magick::Blob in(png.constData(), size_t(png.size()));
        Magick::Image img;
        img.read(in);
        img.magick(fmt.toStdString());
        Magick::Blob out;
        img.write(&out);
        return QByteArray(static_cast<const char *>(out.data()), qsizetype(out.length()));
    } catch (const std::exception &) {
        return {};
    }
}

bool writePicture(const QString &fileName, const QImage &image, const QString &format)
{
    const QString fmt = format.isEmpty() ? QFileInfo(fileName).suffix() : format;
    const QByteArray bytes = encodedPicture(image, fmt);
    return !bytes.isEmpty() && writeBytes(fileName, bytes);
}

bool writeBytes(const QString &fileName, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    QFile f(fileName);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(bytes) == bytes.size();
}

QString paramValue(const QString &html, const QString &name)
{
    const QString open = "<param name=\"" + name + "\" value=\"";
    const qsizetype at = html.indexOf(open);
    if (at < 0)
        return "<missing>";
    const qsizetype start = at + open.size();
    return html.mid(start, html.indexOf("\">", start) - start);
}

QByteArray readBytes(const QString &fileName)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

} // namespace qmtest

#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace qmtest {

SmallFileSystem::SmallFileSystem(qint64 bytes)
{
    if (!m_dir.isValid()) {
        m_whyNot = QStringLiteral("no temporary folder");
        return;
    }
    if (::geteuid() != 0) {
        m_whyNot = QStringLiteral("mounting a small tmpfs needs root");
        return;
    }
    const QByteArray options = "size=" + QByteArray::number(bytes);
    if (::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0, options.constData()) != 0) {
        m_whyNot = QStringLiteral("mount tmpfs failed: ") + QString::fromLocal8Bit(std::strerror(errno));
        return;
    }
    m_mounted = true;
}

SmallFileSystem::~SmallFileSystem()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
}

bool SmallFileSystem::fill()
{
    QFile filler(file(QStringLiteral(".filler")));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return false;
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size()) {
    }
    // The last partial block.
    while (filler.write(block.constData(), 1) == 1) {
    }
    filler.close();
    struct statvfs st;
    if (::statvfs(QFile::encodeName(path()).constData(), &st) != 0)
        return false;
    return st.f_bavail == 0;
}

void SmallFileSystem::unfill()
{
    QFile::remove(file(QStringLiteral(".filler")));
}

} // namespace qmtest
