// The image view control: what it reports, where it draws, and that reads
// of its name stay cheap.

#include "imageview/magickdecoder.h"
#include "imageview/tpmultiimage.h"
#include "scriptedprompts.h"
#include "testsupport.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The real decoder, counted.
class CountingDecoder : public qm::ImageDecoder {
public:
    qm::DecodeResult decode(const QString &fileName, qm::DecoderFormat format, int depth,
                            bool dither) override
    {
        ++calls;
        lastDepth = depth;
        return qm::MagickDecoder::instance().decode(fileName, format, depth, dither);
    }
    int calls = 0;
    int lastDepth = -1;
};

const QRgb Red = qRgb(220, 30, 30);
const QRgb Blue = qRgb(30, 30, 220);
const QColor Fill(10, 200, 10);

bool near(QRgb a, QRgb b)
{
    return qAbs(qRed(a) - qRed(b)) <= 6 && qAbs(qGreen(a) - qGreen(b)) <= 6
        && qAbs(qBlue(a) - qBlue(b)) <= 6;
}

QImage shot(TPMultiImage &view)
{
    return view.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestTPMultiImage : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    CountingDecoder m_decoder;
    qm::ScriptedPrompts m_prompts;
    qm::ImageViewContext m_context;

    QString picture(const QString &name, int w, int h, QRgb colour = Red)
    {
        const QString p = m_dir.filePath(name);
        if (!qmtest::writePicture(p, qmtest::solidImage(w, h, colour)))
            qFatal("cannot write %s", qPrintable(p));
        return p;
    }

    std::unique_ptr<TPMultiImage> view(int w = 100, int h = 60)
    {
        auto v = std::make_unique<TPMultiImage>(nullptr, m_context);
        v->resize(w, h);
        v->setColor(Fill);
        return v;
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_decoder = CountingDecoder();
        m_prompts = qm::ScriptedPrompts();
        m_context = {&m_decoder, &m_prompts, std::make_shared<qm::PictureStore>()};
    }

    void defaults()
    {
        TPMultiImage v(nullptr, TPMultiImage::standardContext(&m_prompts));
        QCOMPARE(v.size(), QSize(105, 105));
        QVERIFY(!v.Stretch());
        QVERIFY(!v.StretchRatio());
        QVERIFY(!v.Center());
        QVERIFY(!v.AutoSize());
        QCOMPARE(v.BorderStyle(), TPMultiImage::bsNone);
        QCOMPARE(v.contentsRect(), v.rect());
        QCOMPARE(v.Color(), v.palette().color(QPalette::Button));
        QVERIFY(v.ImageDither());
        QCOMPARE(v.ImageReadRes(), TPMultiImage::lAutoMatic);
        QVERIFY(!v.hasPicture());
        QCOMPARE(v.ImageName(), QStringLiteral("file not found"));
    }

    void mixedCaseGifReadsBackUpperCaseAndShows()
    {
        const QString file = picture("Button.gif", 100, 60);
        auto v = view();
        const QString mixed = m_dir.filePath("bUTTON.Gif");
        v->setImageName(mixed);
        QCOMPARE(v->ImageName(), mixed.toUpper());
        QVERIFY(v->hasPicture());
        QCOMPARE(v->pictureInfo().imageType, QStringLiteral("GIF"));
        QVERIFY(near(shot(*v).pixel(50, 30), Red));
        QVERIFY(m_prompts.log.isEmpty());
        Q_UNUSED(file);
    }

    // A PNG's transparent and half-transparent pixels over the fill colour,
    // or, on the design surface, over the design's background.
    void transparentPixelsShowTheBackdrop()
    {
        QImage image(100, 60, QImage::Format_ARGB32);
        image.fill(qRgba(0, 0, 0, 0));
        for (int x = 50; x < 100; ++x)
            for (int y = 0; y < 60; ++y)
                image.setPixel(x, y, qRgba(220, 30, 30, 128));
        const QString file = m_dir.filePath("clear.png");
        QVERIFY(image.save(file));
        auto v = view();
        v->setStretch(true);
        v->setImageName(file);
        QVERIFY(v->hasPicture());
        QVERIFY(near(shot(*v).pixel(10, 30), Fill.rgb()));
        const QColor surface(0, 0, 200);
        v->setPictureBackdrop(surface);
        const QImage drawn = shot(*v);
        QVERIFY(near(drawn.pixel(10, 30), surface.rgb()));
        QVERIFY(near(drawn.pixel(75, 30), qRgb(110, 15, 115)));
    }

    void missingFileDrawsOnlyTheFill()
    {
        auto v = view();
        v->setImageName(picture("there.gif", 100, 60));
        QVERIFY(v->hasPicture());
        v->setImageName(m_dir.filePath("absent.gif"));
        QCOMPARE(v->ImageName(), QStringLiteral("file not found"));
        QVERIFY(!v->hasPicture());
        QVERIFY(v->pictureRect().isEmpty());
        const QImage img = shot(*v);
        for (int y = 0; y < img.height(); y += 7)
            for (int x = 0; x < img.width(); x += 7)
                QCOMPARE(img.pixel(x, y), Fill.rgb());
    }

    void readsShareAndSkipUnchangedFiles()
    {
        const QString file = picture("default.gif", 156, 65);
        auto a = view();
        auto b = view();
        a->setImageName(file);
        b->setImageName(file.toUpper());
        for (int i = 0; i < 100; ++i) {
            a->ImageName();
            b->ImageName();
        }
        QCOMPARE(m_decoder.calls, 1);
        QCOMPARE(a->Picture().cacheKey(), b->Picture().cacheKey());

        // Replaced on disk: both views show the new content at their next
        // read, decoded once.
        picture("default.gif", 120, 40, Blue);
        QCOMPARE(a->ImageName(), file.toUpper());
        b->ImageName();
        QCOMPARE(m_decoder.calls, 2);
        QCOMPARE(b->Picture().size(), QSize(120, 40));
    }

    void centredPictureDrawnAtOffset()
    {
        auto v = view(100, 60);
        v->setCenter(true);
        v->setImageName(picture("small.png", 40, 20));
        QCOMPARE(v->pictureRect(), QRect(30, 20, 40, 20));
        const QImage img = shot(*v);
        QVERIFY(near(img.pixel(30, 20), Red));
        QVERIFY(near(img.pixel(69, 39), Red));
        QCOMPARE(img.pixel(29, 20), Fill.rgb());
        QCOMPARE(img.pixel(70, 39), Fill.rgb());
        QCOMPARE(img.pixel(30, 19), Fill.rgb());

        // Larger than the control: negative offsets, truncated toward zero.
        v->resize(35, 15);
        QCOMPARE(v->pictureRect(), QRect(-2, -2, 40, 20));
        v->setCenter(false);
        QCOMPARE(v->pictureRect(), QRect(0, 0, 40, 20));
    }

    void stretchScalesWithoutSmoothing()
    {
        QImage twoPixels(2, 1, QImage::Format_RGB32);
        twoPixels.setPixel(0, 0, qRgb(255, 0, 0));
        twoPixels.setPixel(1, 0, qRgb(0, 0, 255));
        const QString file = m_dir.filePath("two.png");
        QVERIFY(qmtest::writePicture(file, twoPixels));
        auto v = view(100, 60);
        v->setStretch(true);
        v->setImageName(file);
        QCOMPARE(v->pictureRect(), QRect(0, 0, 100, 60));
        const QImage img = shot(*v);
        QCOMPARE(img.pixel(49, 30), qRgb(255, 0, 0));
        QCOMPARE(img.pixel(50, 30), qRgb(0, 0, 255));
        QCOMPARE(img.pixel(0, 59), qRgb(255, 0, 0));
        QCOMPARE(img.pixel(99, 0), qRgb(0, 0, 255));
    }

    void stretchRatioKeepsProportionsCentred()
    {
        auto v = view(100, 100);
        v->setStretchRatio(true);
        v->setImageName(picture("wide.png", 40, 20));
        QCOMPARE(v->pictureRect(), QRect(0, 25, 100, 50));
        v->resize(100, 30);
        QCOMPARE(v->pictureRect(), QRect(20, 0, 60, 30));
        const QImage img = shot(*v);
        QCOMPARE(img.pixel(19, 15), Fill.rgb());
        QVERIFY(near(img.pixel(20, 15), Red));
    }

    void stretchFlagsClearEachOther()
    {
        auto v = view();
        v->setStretchRatio(true);
        v->setStretch(true);
        QVERIFY(v->Stretch());
        QVERIFY(!v->StretchRatio());
        v->setStretchRatio(true);
        QVERIFY(v->StretchRatio());
        QVERIFY(!v->Stretch());
        // Turning one off leaves the other as it is.
        v->setStretch(false);
        QVERIFY(v->StretchRatio());
    }

    void singleBorderNarrowsClientArea()
    {
        auto v = view(100, 60);
        v->setBorderStyle(TPMultiImage::bsSingle);
        QCOMPARE(v->contentsRect(), QRect(1, 1, 98, 58));
        v->setCenter(true);
        v->setImageName(picture("small.png", 40, 20));
        QCOMPARE(v->pictureRect(), QRect(29, 19, 40, 20));
        const QImage img = shot(*v);
        QVERIFY(img.pixel(0, 0) != Fill.rgb());
        QVERIFY(img.pixel(99, 59) != Fill.rgb());
        QCOMPARE(img.pixel(1, 1), Fill.rgb());
        QVERIFY(near(img.pixel(30, 20), Red));
        QCOMPARE(img.pixel(29, 20), Fill.rgb());

        v->setBorderStyle(TPMultiImage::bsNone);
        QCOMPARE(v->contentsRect(), v->rect());
    }

    void autoSizeFollowsPicture()
    {
        auto v = view(100, 60);
        v->setImageName(picture("a.png", 40, 20));
        QCOMPARE(v->size(), QSize(100, 60));
        v->setAutoSize(true);
        QCOMPARE(v->size(), QSize(40, 20));
        v->setImageName(picture("b.png", 64, 48));
        QCOMPARE(v->size(), QSize(64, 48));
        // No picture: the size stays.
        v->setImageName(m_dir.filePath("none.png"));
        QCOMPARE(v->size(), QSize(64, 48));
        v->setAutoSize(false);
        v->setImageName(picture("a.png", 40, 20));
        QCOMPARE(v->size(), QSize(64, 48));
    }

    void readResolutionSetsDepth()
    {
        const QString file = picture("grad.png", 8, 8);
        auto v = view();
        const std::pair<TPMultiImage::TImageReadRes, int> modes[] = {
            {TPMultiImage::lColorVga, 0}, {TPMultiImage::lMonoChrome, 1},
            {TPMultiImage::lColor16, 4},  {TPMultiImage::lColor256, 8},
            {TPMultiImage::lColorTrue, 24},
            {TPMultiImage::lAutoMatic, qm::automaticDepth(qm::screenDepth())}};
        for (const auto &[mode, depth] : modes) {
            v->setImageReadRes(mode);
            v->setImageName(file);
            QCOMPARE(m_decoder.lastDepth, depth);
        }
        // The colour reduction itself is the decoder's; see its own tests.
        v->setImageReadRes(TPMultiImage::lColor256);
        v->ImageName();
        QCOMPARE(v->Picture().format(), QImage::Format_Indexed8);
    }

    void iconCentresInOuterSize()
    {
        QImage icon(10, 10, QImage::Format_ARGB32);
        icon.fill(qRgba(0, 0, 255, 255));
        const QString file = m_dir.filePath("tool.ico");
        QVERIFY(icon.save(file, "ICO"));
        auto v = view(30, 30);
        v->setBorderStyle(TPMultiImage::bsSingle);
        v->setCenter(true);
        v->setImageName(file);
        QCOMPARE(v->ImageName(), QStringLiteral("Non TIF, JPeg, BMP, GIF, PNG or PCX Image"));
        // The platform centres in the outer 30 x 30, not the 28 x 28 client area.
        QCOMPARE(v->pictureRect(), QRect(10, 10, 10, 10));
        v->setStretch(true);
        QCOMPARE(v->pictureRect(), QRect(0, 0, 28, 28));
    }
};

QTEST_MAIN(TestTPMultiImage)
#include "tst_tpmultiimage.moc"
