// The image view's loading rules without a widget: extensions, reported
// names, failure boxes, the picture store, and the ImageMagick decoder.

#include "imageview/magickdecoder.h"
#include "imageview/pictureloader.h"
#include "scriptedprompts.h"
#include "testsupport.h"

#include <QDateTime>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTest>
#include <QThread>
#include <QtEndian>

#include <signal.h>
#include <thread>

#include <stdexcept>

using qm::DecoderFormat;
using qm::PictureLoader;

namespace {

// Records every call; succeeds with a small solid picture, fails with a
// message, or throws.
class FakeDecoder : public qm::ImageDecoder {
public:
    enum class Mode { Succeed, Fail, Throw };
    struct Call {
        QString file;
        DecoderFormat format;
        int depth;
        bool dither;
    };

    qm::DecodeResult decode(const QString &fileName, DecoderFormat format, int depth,
                            bool dither) override
    {
        calls.append({fileName, format, depth, dither});
        qm::DecodeResult r;
        if (mode == Mode::Throw)
            throw std::runtime_error("decoder crashed");
        if (mode == Mode::Fail) {
            r.errorText = QStringLiteral("bad header");
            return r;
        }
        r.ok = true;
        r.image = qmtest::solidImage(8, 4, qRgb(10, 20, 30));
        r.info.imageType = QStringLiteral("FAKE");
        r.info.width = 8;
        r.info.height = 4;
        return r;
    }

    Mode mode = Mode::Succeed;
    QList<Call> calls;
};

int distinctColours(const QImage &image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return int(colours.size());
}

QImage gradient(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(x * 255 / (w - 1), y * 255 / (h - 1), (x + y) % 256));
    return img;
}

// A PNG whose header claims a size, with its checksum right, and no data.
QByteArray pngClaiming(quint32 width, quint32 height)
{
    QByteArray chunk("IHDR");
    chunk += QByteArray(13, '\0');
    qToBigEndian(width, chunk.data() + 4);
    qToBigEndian(height, chunk.data() + 8);
    chunk[12] = 8;   // bit depth
    chunk[13] = 2;   // RGB
    quint32 crc = 0xffffffffu;
    for (const char c : chunk) {
        crc ^= quint8(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1)));
    }
    QByteArray png("\x89PNG\r\n\x1a\n\0\0\0\x0d", 12);
    png += chunk;
    png += QByteArray(4, '\0');
    qToBigEndian(~crc, png.data() + png.size() - 4);
    return png + QByteArray("\0\0\0\0IEND\xae\x42\x60\x82", 12);
}

qint64 statusValue(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return -1;
}

// The process's peak resident memory, and resetting it to the present.
qint64 peakMemory() { return statusValue("VmHWM:"); }
qint64 resetPeakMemory()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
    return peakMemory();
}

// What the decoder could leave in the temporary folder.
QStringList leftInTemp()
{
    return QDir(QDir::tempPath()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
}

bool setModified(const QString &path, const QDateTime &when)
{
    QFile f(path);
    return f.open(QIODevice::ReadWrite) && f.setFileTime(when, QFileDevice::FileModificationTime);
}

} // namespace

class TestPictureLoader : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    FakeDecoder m_fake;
    qm::ScriptedPrompts m_prompts;
    qm::ImageViewContext m_context;

    QString path(const QString &name) const { return m_dir.filePath(name); }
    // A picture of 1000 x 1000 random pixels, whose reduction to 16 dithered
    // colours keeps the decoder busy for a good part of a second.
    QString noise()
    {
        QImage image(1000, 1000, QImage::Format_RGB32);
        quint32 x = 12345;
        for (int y = 0; y < image.height(); ++y) {
            auto *line = reinterpret_cast<quint32 *>(image.scanLine(y));
            for (int i = 0; i < image.width(); ++i)
                line[i] = 0xff000000u | ((x = x * 1664525u + 1013904223u) >> 8);
        }
        return path("noise.png", image, "png");
    }
    QString path(const QString &name, const QImage &image, const QString &format)
    {
        const QString p = path(name);
        if (!qmtest::writePicture(p, image, format))
            qFatal("cannot write %s", qPrintable(p));
        return p;
    }
    QString touch(const QString &name, const QByteArray &bytes = "picture")
    {
        const QString p = path(name);
        if (!qmtest::writeBytes(p, bytes))
            qFatal("cannot write %s", qPrintable(p));
        return p;
    }

private slots:
    void initTestCase()
    {
        // A temporary folder of this test's own, so that what the decoder
        // leaves there is told apart from other programs' files.
        QVERIFY(QDir(m_dir.path()).mkdir("tmp"));
        qputenv("TMPDIR", QFile::encodeName(path("tmp")));
    }

    void init()
    {
        QVERIFY(m_dir.isValid());
        m_fake = FakeDecoder();
        m_prompts = qm::ScriptedPrompts();
        m_context = {&m_fake, &m_prompts, std::make_shared<qm::PictureStore>()};
    }

    void extensionChoosesDecoder_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("failure");
        QTest::newRow("bmp") << "a.bmp" << int(DecoderFormat::Bmp) << "Reading bmp file failed";
        QTest::newRow("thb") << "a.THB" << int(DecoderFormat::Bmp) << "Reading bmp file failed";
        QTest::newRow("thj") << "a.thj" << int(DecoderFormat::Jpeg) << "Reading jpg file failed";
        QTest::newRow("jpg") << "a.Jpg" << int(DecoderFormat::Jpeg) << "Reading jpg file failed";
        QTest::newRow("jpeg") << "a.jpeg" << int(DecoderFormat::Jpeg) << "Reading jpg file failed";
        QTest::newRow("jpe") << "a.jpe" << int(DecoderFormat::Jpeg) << "Reading jpg file failed";
        QTest::newRow("png") << "a.png" << int(DecoderFormat::Png) << "Reading png file failed";
        QTest::newRow("gif") << "a.gif" << int(DecoderFormat::Gif) << "Reading gif file failed";
        QTest::newRow("tif") << "a.tif" << int(DecoderFormat::Tiff) << "Reading tif file failed";
        QTest::newRow("tiff cut to .TIF") << "a.tiff" << int(DecoderFormat::Tiff) << "Reading tif file failed";
        QTest::newRow("pcx") << "a.pcx" << int(DecoderFormat::Pcx) << "Reading pcx file failed";
        QTest::newRow("dot in folder") << "d.gif/a.pcx" << int(DecoderFormat::Pcx) << "Reading pcx file failed";
        QTest::newRow("unknown") << "a.xyz" << -1 << "";
        QTest::newRow("no extension") << "plain" << -1 << "";
        QTest::newRow("message kind") << "a.scm" << -1 << "";
    }

    void extensionChoosesDecoder()
    {
        QFETCH(QString, name);
        QFETCH(int, format);
        QFETCH(QString, failure);
        const QString file = touch(name);
        PictureLoader loader(m_context);
        loader.load(file, 24, true);
        QCOMPARE(loader.reportedName(), file.toUpper());
        if (format < 0) {
            QVERIFY(m_fake.calls.isEmpty());
            QCOMPARE(loader.outcome(), PictureLoader::Outcome::NoMatch);
            return;
        }
        QCOMPARE(m_fake.calls.size(), 1);
        QCOMPARE(int(m_fake.calls[0].format), format);
        QCOMPARE(m_fake.calls[0].file, file);
        QCOMPARE(loader.outcome(), PictureLoader::Outcome::Decoded);
        QCOMPARE(loader.picture().size(), QSize(8, 4));

        // A new version that fails: the decoder's text, then the format's.
        m_fake.mode = FakeDecoder::Mode::Fail;
        touch(name, "another version");
        loader.load(file, 24, true);
        QCOMPARE(m_prompts.messages(), QStringList({"bad header", failure}));
        QCOMPARE(m_prompts.log[0].icon, qm::BoxIcon::Error);
        QCOMPARE(m_prompts.log[1].icon, qm::BoxIcon::Information);
    }

    void missingFileEmptiesPicture()
    {
        PictureLoader loader(m_context);
        loader.load(touch("here.gif"), 24, true);
        QVERIFY(!loader.picture().isNull());

        QVERIFY(loader.load(path("gone.gif"), 24, true));
        QCOMPARE(loader.reportedName(), QStringLiteral("file not found"));
        QVERIFY(loader.picture().isNull());
        QCOMPARE(loader.info().imageType, QStringLiteral("ERR"));
        QCOMPARE(loader.info().width, -1);
        QCOMPARE(loader.info().height, -1);

        // An empty name and a folder count as missing too; none says a word.
        loader.load(QString(), 24, true);
        QCOMPARE(loader.reportedName(), QStringLiteral("file not found"));
        QVERIFY(QDir(m_dir.path()).mkpath("folder.gif"));
        loader.load(path("folder.gif"), 24, true);
        QCOMPARE(loader.reportedName(), QStringLiteral("file not found"));
        // The existence test comes before the extension test.
        loader.load(path("gone.xyz"), 24, true);
        QCOMPARE(loader.reportedName(), QStringLiteral("file not found"));
        QVERIFY(m_prompts.log.isEmpty());
        QCOMPARE(m_fake.calls.size(), 1);
    }

    void unknownExtensionKeepsPicture()
    {
        PictureLoader loader(m_context);
        loader.load(touch("a.gif"), 24, true);
        const qint64 shown = loader.picture().cacheKey();
        const QString other = touch("Notes.Txt");
        QVERIFY(!loader.load(other, 24, true));
        QCOMPARE(loader.picture().cacheKey(), shown);
        QCOMPARE(loader.info().imageType, QStringLiteral("FAKE"));
        QCOMPARE(loader.reportedName(), other.toUpper());

        // Back to the picture's own file: nothing to decode, and it reports
        // a decoded picture again.
        loader.load(path("a.gif"), 24, true);
        QCOMPARE(loader.outcome(), PictureLoader::Outcome::Decoded);
        QCOMPARE(m_fake.calls.size(), 1);
    }

    void failureBoxesOncePerVersion()
    {
        m_fake.mode = FakeDecoder::Mode::Fail;
        const QString file = touch("broken.gif", "GIF89a");
        PictureLoader first(m_context);
        first.load(file, 24, true);
        QCOMPARE(first.outcome(), PictureLoader::Outcome::Failed);
        QVERIFY(first.picture().isNull());
        QCOMPARE(first.reportedName(), file.toUpper());
        QCOMPARE(m_prompts.messages(),
                 QStringList({"bad header", "Reading gif file failed"}));

        // Reads of the name, and other views of the same file, stay quiet.
        for (int i = 0; i < 5; ++i)
            first.load(file, 24, true);
        PictureLoader second(m_context);
        second.load(file.toUpper(), 24, true);
        QVERIFY(second.picture().isNull());
        QCOMPARE(m_prompts.log.size(), 2);
        QCOMPARE(m_fake.calls.size(), 1);

        // A new version of the file is tried and reported anew.
        qmtest::writeBytes(file, "GIF89a still broken");
        first.load(file, 24, true);
        QCOMPARE(m_fake.calls.size(), 2);
        QCOMPARE(m_prompts.log.size(), 4);
    }

    void failureReportedOnceEvenWhenStoreForgets()
    {
        // A store with room for one entry forgets each failure at the next.
        m_context.store = std::make_shared<qm::PictureStore>(1024);
        m_fake.mode = FakeDecoder::Mode::Fail;
        const QString a = touch("a.png"), b = touch("b.png");
        PictureLoader view1(m_context), view2(m_context);
        for (int i = 0; i < 3; ++i) {
            view1.load(a, 24, true);
            view2.load(b, 24, true);
            PictureLoader(m_context).load(a, 24, true);
        }
        QVERIFY(m_fake.calls.size() > 2);
        QCOMPARE(m_prompts.messages(), QStringList({"bad header", "Reading png file failed",
                                                    "bad header", "Reading png file failed"}));
    }

    void faultEmptiesPictureAndIsNotRemembered()
    {
        PictureLoader loader(m_context);
        loader.load(touch("good.gif"), 24, true);
        QVERIFY(!loader.picture().isNull());
        m_fake.mode = FakeDecoder::Mode::Throw;
        const QString file = touch("crash.png");
        QVERIFY(loader.load(file, 24, true));
        QCOMPARE(loader.outcome(), PictureLoader::Outcome::Faulted);
        QVERIFY(loader.picture().isNull());
        QCOMPARE(loader.reportedName(), file.toUpper());
        QVERIFY(m_prompts.log.isEmpty());
        // A fault is not a verdict on the file: the next read tries again.
        m_fake.mode = FakeDecoder::Mode::Succeed;
        loader.load(file, 24, true);
        QCOMPARE(loader.outcome(), PictureLoader::Outcome::Decoded);
        QVERIFY(!loader.picture().isNull());
    }

    void unchangedFileIsNotDecodedAgain()
    {
        const QString file = touch("pic.gif", "12345");
        PictureLoader loader(m_context);
        PictureLoader other(m_context);
        loader.load(file, 24, true);
        const qint64 shown = loader.picture().cacheKey();
        for (int i = 0; i < 50; ++i)
            QVERIFY(!loader.load(file, 24, true));
        other.load(file.toUpper(), 24, true);
        QCOMPARE(m_fake.calls.size(), 1);
        QCOMPARE(loader.picture().cacheKey(), shown);
        QCOMPARE(other.picture().cacheKey(), shown);
        QCOMPARE(other.reportedName(), file.toUpper());

        // Other decoding parameters are another picture.
        loader.load(file, 8, true);
        loader.load(file, 8, false);
        QCOMPARE(m_fake.calls.size(), 3);
        QCOMPARE(m_fake.calls[2].depth, 8);
        QCOMPARE(m_fake.calls[2].dither, false);

        QCOMPARE(m_context.store->size(), 3);

        // A new size is a new version; the store lets go of the old one.
        qmtest::writeBytes(file, "123456");
        QVERIFY(loader.load(file, 24, true));
        QCOMPARE(m_fake.calls.size(), 4);
        QCOMPARE(m_context.store->size(), 1);

        // So is the same size with another modification time.
        qmtest::writeBytes(file, "abcdef");
        QVERIFY(setModified(file, QDateTime::currentDateTime().addSecs(3600)));
        loader.load(file, 24, true);
        QCOMPARE(m_fake.calls.size(), 5);
        loader.load(file, 24, true);
        QCOMPARE(m_fake.calls.size(), 5);
    }

    void shownPicturesStayAndTheOthersGoBeyondTheBudget()
    {
        // Room for three pictures (each counts at least a kilobyte).
        m_context.store = std::make_shared<qm::PictureStore>(3 * 1024);
        QList<QString> files;
        for (const char *name : {"budget/a.gif", "budget/b.gif", "budget/c.gif", "budget/d.gif", "budget/e.gif"})
            files << touch(name);
        std::vector<std::unique_ptr<PictureLoader>> views;
        for (int i = 0; i < 4; ++i) {
            views.push_back(std::make_unique<PictureLoader>(m_context));
            views.back()->load(files[i], 24, true);
        }
        // Four pictures shown: all stay, over the budget.
        QCOMPARE(m_context.store->size(), 4);
        QVERIFY(m_context.store->bytesHeld() > m_context.store->budget());

        // A mouse-over picture in place of a: a is shown no more, and the
        // store lets it go; taking it back decodes it again.
        views[0]->load(files[4], 24, true);
        QCOMPARE(m_fake.calls.size(), 5);
        views[0]->load(files[0], 24, true);
        QCOMPARE(m_fake.calls.size(), 6);
        for (int i = 1; i < 4; ++i)
            QVERIFY(!views[i]->load(files[i], 24, true));
        QCOMPARE(m_fake.calls.size(), 6);

        // With room for the design's pictures, mouse-over and back decode
        // nothing, however often.
        m_context.store = std::make_shared<qm::PictureStore>();
        m_fake.calls.clear();
        PictureLoader button(m_context);
        for (int i = 0; i < 5; ++i) {
            button.load(files[0], 24, true);
            button.load(files[4], 24, true);
        }
        QCOMPARE(m_fake.calls.size(), 2);
        // The default room holds the three 12-megapixel buttons' six pictures.
        QVERIFY(qm::PictureStore::defaultBudgetBytes() >= qint64(6) * 12'000'000 * 4);
    }

    void nameResolvedOnlyWhenRememberedPathFails()
    {
        const QString file = touch("Images/Default.gif");
        const QString upper = file.toUpper();
        PictureLoader loader(m_context);
        loader.load(upper, 24, true);
        QCOMPARE(loader.outcome(), PictureLoader::Outcome::Decoded);
        QCOMPARE(m_fake.calls[0].file, file);
        QCOMPARE(loader.reportedName(), upper);
        QCOMPARE(m_context.store->resolutions(), 1);
        for (int i = 0; i < 20; ++i)
            loader.load(upper, 24, true);
        QCOMPARE(m_context.store->resolutions(), 1);

        // The file moves to another spelling: the remembered path fails, the
        // name is looked up again and found.
        QVERIFY(QFile::rename(file, path("Images/DEFAULT.gif")));
        loader.load(upper, 24, true);
        QCOMPARE(m_context.store->resolutions(), 2);
        QCOMPARE(loader.outcome(), PictureLoader::Outcome::Decoded);
        QCOMPARE(m_fake.calls.last().file, path("Images/DEFAULT.gif"));
    }

    void exactNameWinsOverAnEarlierMatchOfAnotherCase()
    {
        const QString other = touch("Images/IMG.GIF");
        const QString exact = path("Images/img.gif");
        PictureLoader loader(m_context);
        loader.load(exact, 24, true);
        QCOMPARE(m_fake.calls.last().file, other);
        // The file of exactly that name appears beside the one found before.
        touch("Images/img.gif");
        loader.load(exact, 24, true);
        QCOMPARE(loader.outcome(), PictureLoader::Outcome::Decoded);
        QCOMPARE(m_fake.calls.last().file, exact);
        QCOMPARE(loader.reportedName(), exact.toUpper());
    }

    void missingFileIsNotSearchedForWhileItsFolderIsUnchanged()
    {
        touch("Images/Other.gif");
        const QString missing = path("Images/Mouse.gif").toUpper();
        const QString missingFolder = path("Art/Mouse.gif").toUpper();
        // Folder times count only once the folder has been quiet a moment.
        QTest::qWait(250);
        PictureLoader loader(m_context);
        PictureLoader other(m_context);
        for (int i = 0; i < 20; ++i) {
            loader.load(missing, 24, true);
            other.load(missingFolder, 24, true);
        }
        QCOMPARE(loader.outcome(), PictureLoader::Outcome::Missing);
        QCOMPARE(loader.reportedName(), QStringLiteral("file not found"));
        QCOMPARE(other.outcome(), PictureLoader::Outcome::Missing);
        QCOMPARE(m_context.store->resolutions(), 2);

        // The file appears: its folder changed, so it is found at once.
        touch("Images/mouse.GIF");
        loader.load(missing, 24, true);
        QCOMPARE(loader.outcome(), PictureLoader::Outcome::Decoded);
        // So does a missing folder and its file.
        touch("art/mouse.gif");
        other.load(missingFolder, 24, true);
        QCOMPARE(other.outcome(), PictureLoader::Outcome::Decoded);
    }

    void resolvesUpperCasedAbsolutePathWithRealDecoder()
    {
        qmtest::ProgramFolder program;
        QVERIFY(program.isValid());
        m_context.decoder = &qm::MagickDecoder::instance();
        PictureLoader loader(m_context);
        const QString upper = program.file("images/default.gif").toUpper();
        loader.load(upper, 24, true);
        QCOMPARE(loader.outcome(), PictureLoader::Outcome::Decoded);
        QCOMPARE(loader.reportedName(), upper);
        QCOMPARE(loader.picture().size(), QSize(156, 65));
        QCOMPARE(loader.info().imageType, QStringLiteral("GIF"));
        QCOMPARE(loader.info().width, 156);
        QCOMPARE(qRed(loader.picture().pixel(10, 10)), 40);
    }

    void iconsAndMetafilesAreThePlatformsPictures()
    {
        const QString reported = QStringLiteral("Non TIF, JPeg, BMP, GIF, PNG or PCX Image");
        QVERIFY(qmtest::solidImage(16, 16, qRgb(0, 200, 0)).save(path("App.ico"), "ICO"));
        PictureLoader loader(m_context);
        loader.load(path("App.ico"), 24, true);
        QCOMPARE(loader.reportedName(), reported);
        QCOMPARE(loader.outcome(), PictureLoader::Outcome::Platform);
        QCOMPARE(loader.info().imageType, QStringLiteral("ICO"));
        QCOMPARE(loader.info().width, 16);
        QCOMPARE(loader.picture().size(), QSize(16, 16));

        // Not an icon at all: no picture and no boxes.
        loader.load(touch("bad.ICO", "not an icon"), 24, true);
        QVERIFY(loader.picture().isNull());
        QCOMPARE(loader.reportedName(), reported);
        QVERIFY(m_fake.calls.isEmpty());

        loader.load(touch("chart.wmf"), 4, true);
        QCOMPARE(m_fake.calls.size(), 1);
        QCOMPARE(m_fake.calls[0].format, DecoderFormat::Wmf);
        QCOMPARE(loader.info().imageType, QStringLiteral("WMF"));
        QCOMPARE(loader.reportedName(), reported);
        QVERIFY(!loader.picture().isNull());
        QVERIFY(m_prompts.log.isEmpty());
    }

    void bitmapResource()
    {
        PictureLoader loader(m_context);
        // No file needed: the name only says which resource.
        loader.load(QStringLiteral("C:/NOWHERE/LOGO.RES"), 24, true);
        QCOMPARE(loader.outcome(), PictureLoader::Outcome::Decoded);
        QCOMPARE(loader.reportedName(), QStringLiteral("C:/NOWHERE/LOGO.RES"));
        QCOMPARE(loader.info().imageType, QStringLiteral("RES"));
        QCOMPARE(loader.picture().size(), QSize(4, 2));
        QCOMPARE(loader.picture().pixel(0, 0), qRgb(255, 0, 0));
        QCOMPARE(loader.picture().pixel(3, 1), qRgb(0, 0, 255));

        // A missing resource shows only the information box, once.
        loader.load(QStringLiteral("nothing.res"), 24, true);
        loader.load(QStringLiteral("nothing.res"), 24, true);
        QVERIFY(loader.picture().isNull());
        QCOMPARE(m_prompts.messages(), QStringList({"Reading resource file failed"}));
        QVERIFY(m_fake.calls.isEmpty());
    }

    void automaticDepthFollowsScreen_data()
    {
        QTest::addColumn<int>("screen");
        QTest::addColumn<int>("depth");
        QTest::newRow("1") << 1 << 4;
        QTest::newRow("4") << 4 << 4;
        QTest::newRow("8") << 8 << 8;
        QTest::newRow("15") << 15 << 8;
        QTest::newRow("16") << 16 << 24;
        QTest::newRow("32") << 32 << 24;
    }

    void automaticDepthFollowsScreen()
    {
        QFETCH(int, screen);
        QFETCH(int, depth);
        QCOMPARE(qm::automaticDepth(screen), depth);
        // Without a screen (no GUI application here) true colour is asked for.
        QCOMPARE(qm::screenDepth(), 24);
    }

    // --- the ImageMagick decoder ---------------------------------------

    void magickDecodesEveryFormat_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("format");
        QTest::newRow("gif") << "p.gif" << int(DecoderFormat::Gif);
        QTest::newRow("png") << "p.png" << int(DecoderFormat::Png);
        QTest::newRow("bmp") << "p.bmp" << int(DecoderFormat::Bmp);
        QTest::newRow("pcx") << "p.pcx" << int(DecoderFormat::Pcx);
        QTest::newRow("tif") << "p.tif" << int(DecoderFormat::Tiff);
        QTest::newRow("jpeg") << "p.jpeg" << int(DecoderFormat::Jpeg);
        QTest::newRow("brackets") << "p[0].gif" << int(DecoderFormat::Gif);
    }

    void magickDecodesEveryFormat()
    {
        QFETCH(QString, name);
        QFETCH(int, format);
        const QString file = path(name);
        QVERIFY(qmtest::writePicture(file, qmtest::solidImage(40, 20, qRgb(200, 40, 40))));
        qm::MagickDecoder decoder;
        const qm::DecodeResult r = decoder.decode(file, DecoderFormat(format), 24, true);
        QVERIFY2(r.ok, qPrintable(r.errorText));
        QCOMPARE(r.image.size(), QSize(40, 20));
        QCOMPARE(r.info.width, 40);
        QCOMPARE(r.info.height, 20);
        QVERIFY(!r.info.imageType.isEmpty());
        const QRgb px = r.image.pixel(20, 10);
        QVERIFY2(qAbs(qRed(px) - 200) <= 8 && qAbs(qGreen(px) - 40) <= 8 && qAbs(qBlue(px) - 40) <= 8,
                 qPrintable(QString::number(px, 16)));
    }

    void magickDecodesOnlyTheNamedFormat()
    {
        // A PNG under a .gif name is not a GIF.
        const QString file = path("disguised.gif");
        QVERIFY(qmtest::writePicture(file, qmtest::solidImage(10, 10, qRgb(1, 2, 3)), QStringLiteral("PNG")));
        qm::MagickDecoder decoder;
        qm::DecodeResult r = decoder.decode(file, DecoderFormat::Gif, 24, true);
        QVERIFY(!r.ok);
        QVERIFY(r.image.isNull());
        QVERIFY(!r.errorText.isEmpty());
        QVERIFY2(!r.errorText.contains(QLatin1String(" @ ")), qPrintable(r.errorText));

        r = decoder.decode(touch("empty.gif", QByteArray()), DecoderFormat::Gif, 24, true);
        QVERIFY(!r.ok);
        QVERIFY(!r.errorText.isEmpty());
    }

    void magickSaysAPictureCutShortIsDamaged()
    {
        // A download that did not finish: the header, then half the data.
        const QString whole = path("whole.png");
        QVERIFY(qmtest::writePicture(whole, gradient(200, 100)));
        const QByteArray bytes = qmtest::readBytes(whole);
        const QString cut = touch("cut.png", bytes.left(bytes.size() / 2));
        const qm::DecodeResult r = qm::MagickDecoder().decode(cut, DecoderFormat::Png, 24, true);
        QVERIFY(!r.ok);
        QVERIFY2(r.errorText.contains(QLatin1String("damaged or incomplete")), qPrintable(r.errorText));
    }

    // Hostile pictures: each fails (or, mutated, may decode) within 2 s, with
    // the editor's memory under 100 MB more, nothing left in the temporary
    // folder, and a decoder that serves the next picture.
    void magickSurvivesHostileFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("expect");   // a pattern the failure matches; empty: may decode
        QTest::addColumn<int>("depth");
        QTest::addColumn<int>("timeLimit");
        const auto row = [](const char *name, const QString &file, DecoderFormat format, const char *expect,
                            int depth = 24, int timeLimit = qm::MagickDecoder::DefaultTimeLimitMs) {
            QTest::newRow(name) << file << int(format) << QString(expect) << depth << timeLimit;
        };
        const auto corpus = [](const char *name) { return QFINDTESTDATA(QString("hostile/") + name); };
        // 160-byte metafiles that kept ImageMagick busy for minutes, at
        // hundreds of megabytes; a deflated TIFF of 124 KB.
        row("wmf of 549 s", corpus("hang-549s.wmf"), DecoderFormat::Wmf, "too large|too long");
        row("wmf of 11 s", corpus("slow-11s.wmf"), DecoderFormat::Wmf, "too large|too long");
        row("wmf of 7 s", corpus("slow-7s.wmf"), DecoderFormat::Wmf, "too large|too long");
        // Found by fuzzing the decoder: 58 s of ImageMagick within all its limits.
        row("wmf of 58 s", corpus("slow-58s.wmf"), DecoderFormat::Wmf, "too long");
        row("tiff of 16000 x 8000", corpus("big-16000x8000.tif"), DecoderFormat::Tiff, "too large");

        // Headers that claim 65535 x 65535 pixels, and a strip of 1 x 1,000,000.
        QByteArray gif("GIF89a\xff\xff\xff\xff\x80\x00\x00\x00\x00\x00\xff\xff\xff"
                       "!\xf9\x04\x01\x00\x00\x00\x00,\x00\x00\x00\x00\xff\xff\xff\xff"
                       "\x00\x02\x02\x44\x01\x00;", 43);
        row("gif of 65535²", touch("huge.gif", gif), DecoderFormat::Gif, "too large");
        row("png of 65535²", touch("huge.png", pngClaiming(65535, 65535)), DecoderFormat::Png, "too large|damaged");
        row("png of 1 x 1000000", touch("strip.png", pngClaiming(1, 1000000)), DecoderFormat::Png, "too large|damaged");
        QByteArray bmp = qmtest::readBytes(path("src.bmp", gradient(8, 8), "bmp"));
        qToLittleEndian<qint32>(65535, bmp.data() + 18);
        qToLittleEndian<qint32>(65535, bmp.data() + 22);
        row("bmp of 65535²", touch("huge.bmp", bmp), DecoderFormat::Bmp, "too large");
        QByteArray pcx = qmtest::readBytes(path("src.pcx", gradient(8, 8), "pcx"));
        qToLittleEndian<quint16>(65534, pcx.data() + 8);
        qToLittleEndian<quint16>(65534, pcx.data() + 10);
        row("pcx of 65535²", touch("huge.pcx", pcx), DecoderFormat::Pcx, "too large|damaged|insufficient");

        const std::pair<const char *, DecoderFormat> formats[] = {
            {"gif", DecoderFormat::Gif}, {"png", DecoderFormat::Png}, {"jpeg", DecoderFormat::Jpeg},
            {"bmp", DecoderFormat::Bmp}, {"tif", DecoderFormat::Tiff}, {"pcx", DecoderFormat::Pcx}};
        for (const auto &[suffix, format] : formats) {
            const QByteArray whole = qmtest::readBytes(path(QString("whole.") + suffix, gradient(120, 80), suffix));
            QByteArray mutated = whole;
            for (qsizetype i = 10; i < mutated.size(); i += 13)
                mutated[i] = char(mutated[i] ^ 0x5a);
            row(qPrintable(QString("%1 cut short").arg(suffix)),
                touch(QString("cut.") + suffix, whole.left(whole.size() / 3)), format, "");
            row(qPrintable(QString("%1 mutated").arg(suffix)), touch(QString("mutated.") + suffix, mutated), format, "");
        }

        row("svg as gif",
            touch("svg.gif", "<svg xmlns='http://www.w3.org/2000/svg' width='9' height='9'>"
                             "<image href='/etc/passwd'/></svg>"),
            DecoderFormat::Gif, ".");
        row("mvg as gif",
            touch("mvg.gif", "push graphic-context\nviewbox 0 0 9 9\nimage over 0,0 0,0 'msl:/etc/passwd'\n"
                             "pop graphic-context\n"),
            DecoderFormat::Gif, ".");
        const QString zero = path("zero.gif");
        QFile::link(QStringLiteral("/dev/zero"), zero);
        row("link to /dev/zero", zero, DecoderFormat::Gif, "regular");
        // A real picture whose reduction to 16 colours takes longer than the
        // limit: the decode is given up, and the process that ran it ended.
        row("past the time limit", noise(), DecoderFormat::Png, "too long", 4, 100);
    }

    void magickSurvivesHostileFiles()
    {
        QFETCH(QString, file);
        QFETCH(int, format);
        QFETCH(QString, expect);
        QFETCH(int, depth);
        QFETCH(int, timeLimit);
        const QStringList before = leftInTemp();
        qint64 peakBefore = 0;
        {
            qm::MagickDecoder decoder;
            const QString good = path("good.png", gradient(30, 20), "png");
            QVERIFY(decoder.decode(good, DecoderFormat::Png, 24, true).ok);   // set up, and warm
            decoder.setTimeLimit(timeLimit);
            peakBefore = resetPeakMemory();
            QElapsedTimer clock;
            clock.start();
            const qm::DecodeResult r = decoder.decode(file, DecoderFormat(format), depth, true);
            QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
            QVERIFY2(peakMemory() - peakBefore < 100 * 1024 * 1024, qPrintable(QString::number(peakMemory() - peakBefore)));
            if (!expect.isEmpty()) {
                QVERIFY(!r.ok);
                QVERIFY2(r.errorText.contains(QRegularExpression(expect)), qPrintable(r.errorText));
            }
            QVERIFY(r.ok || !r.errorText.isEmpty());
            const qm::DecodeResult next = decoder.decode(good, DecoderFormat::Png, 24, true);
            QVERIFY2(next.ok, qPrintable(next.errorText));
            QCOMPARE(next.image.size(), QSize(30, 20));
        }
        QCOMPARE(leftInTemp(), before);
    }

    void magickOutlivesItsProcess()
    {
        // The decoder process dies in the middle of a picture: that picture
        // fails, the next one is served by a new process.
        qm::MagickDecoder decoder;
        const QString good = path("good.png", gradient(30, 20), "png");
        QVERIFY(decoder.decode(good, DecoderFormat::Png, 24, true).ok);
        const qint64 pid = decoder.processId();
        QVERIFY(pid > 0);
        std::thread killer([pid] {
            QThread::msleep(100);
            ::kill(pid_t(pid), SIGSEGV);   // in the middle of the colour reduction
        });
        QElapsedTimer clock;
        clock.start();
        const qm::DecodeResult r = decoder.decode(noise(), DecoderFormat::Png, 4, true);
        killer.join();
        QVERIFY(clock.elapsed() < 1200);
        QVERIFY(!r.ok);
        QVERIFY2(r.errorText.contains("stopped"), qPrintable(r.errorText));
        QVERIFY(decoder.decode(good, DecoderFormat::Png, 24, true).ok);
        QCOMPARE(decoder.starts(), 2);
        QVERIFY(decoder.processId() != pid);

        // Killed while at rest (the system short of memory, a user's kill):
        // the next picture is no fault of its own and is decoded by a new one.
        const qint64 second = decoder.processId();
        QVERIFY(::kill(pid_t(second), SIGKILL) == 0);
        QTRY_COMPARE(decoder.processId(), 0);
        const qm::DecodeResult after = decoder.decode(good, DecoderFormat::Png, 24, true);
        QVERIFY2(after.ok, qPrintable(after.errorText));
        QCOMPARE(decoder.starts(), 3);
    }

    void magickReducesColoursBelowTrueColour()
    {
        const QString file = path("gradient.png");
        QVERIFY(qmtest::writePicture(file, gradient(64, 64)));
        qm::MagickDecoder decoder;

        const qm::DecodeResult full = decoder.decode(file, DecoderFormat::Png, 24, true);
        QVERIFY(full.ok);
        QVERIFY(full.image.format() != QImage::Format_Indexed8);
        QVERIFY(distinctColours(full.image) > 256);

        const qm::DecodeResult c256 = decoder.decode(file, DecoderFormat::Png, 8, true);
        QVERIFY(c256.ok);
        QCOMPARE(c256.image.format(), QImage::Format_Indexed8);
        QVERIFY(c256.image.colorCount() <= 256);
        QCOMPARE(c256.info.bitsPerPixel, 8);

        const qm::DecodeResult c16 = decoder.decode(file, DecoderFormat::Png, 4, false);
        QVERIFY(distinctColours(c16.image) <= 16 && distinctColours(c16.image) > 2);
        QVERIFY(distinctColours(decoder.decode(file, DecoderFormat::Png, 0, false).image) <= 16);
        QVERIFY(distinctColours(decoder.decode(file, DecoderFormat::Png, 1, true).image) <= 2);

        // The dither flag is honoured: dithering changes the pixels.
        const qm::DecodeResult c16d = decoder.decode(file, DecoderFormat::Png, 4, true);
        QVERIFY(distinctColours(c16d.image) <= 16);
        QVERIFY(c16d.image.convertToFormat(QImage::Format_RGB32)
                != c16.image.convertToFormat(QImage::Format_RGB32));
    }

    void magickKeepsTransparency()
    {
        QImage img(10, 10, QImage::Format_ARGB32);
        img.fill(Qt::transparent);
        img.setPixel(5, 5, qRgba(255, 0, 0, 255));
        QVERIFY(qmtest::writePicture(path("hole.png"), img));
        qm::MagickDecoder decoder;
        const qm::DecodeResult r = decoder.decode(path("hole.png"), DecoderFormat::Png, 24, true);
        QVERIFY(r.ok);
        QCOMPARE(qAlpha(r.image.pixel(0, 0)), 0);
        QCOMPARE(r.image.pixel(5, 5), qRgba(255, 0, 0, 255));
    }

    void readPictureFileRefusesNonRegularFiles()
    {
        QByteArray bytes;
        QString error;
        QVERIFY(!qm::readPictureFile(m_dir.path(), &bytes, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!qm::readPictureFile(QStringLiteral("/dev/zero"), &bytes, &error));
        QVERIFY(qm::readPictureFile(touch("ok.gif", "abc"), &bytes, &error));
        QCOMPARE(bytes, QByteArray("abc"));
    }
};

QTEST_GUILESS_MAIN(TestPictureLoader)
#include "tst_pictureloader.moc"
