#include "imageview/tpmultiimage.h"

#include <QPaintEvent>
#include <QPainter>

TPMultiImage::TPMultiImage(QWidget *owner, const qm::ImageViewContext &context)
    : QFrame(owner)
    , m_loader(context)
{
    m_color = palette().color(QPalette::Button);
    setFrameStyle(QFrame::NoFrame);
    resize(105, 105);
}

TPMultiImage::~TPMultiImage() = default;

qm::ImageViewContext TPMultiImage::standardContext(qm::Prompts *prompts)
{
    return qm::standardImageViewContext(prompts);
}

int TPMultiImage::requestedDepth() const
{
    switch (m_readRes) {
    case lColorVga: return 0;
    case lMonoChrome: return 1;
    case lColor16: return 4;
    case lColor256: return 8;
    case lColorTrue: return 24;
    case lAutoMatic: break;
    }
    return qm::automaticDepth(qm::screenDepth());
}

void TPMultiImage::load()
{
    const bool changed = m_loader.load(m_name, requestedDepth(), m_dither);
    // A name of no known kind does not touch the picture, so the control
    // keeps its size. Every other load sets the picture (an unchanged file
    // included), and a control sized by its picture follows it.
    if (m_loader.outcome() != qm::PictureLoader::Outcome::NoMatch)
        applyAutoSize();
    if (changed)
        update();
}

QString TPMultiImage::ImageName()
{
    load();
    return m_loader.reportedName();
}

void TPMultiImage::setImageName(const QString &name)
{
    m_name = name;
    load();
}

bool TPMultiImage::Stretch() const { return m_stretch; }

void TPMultiImage::setStretch(bool on)
{
    m_stretch = on;
    if (on)
        m_stretchRatio = false;
    update();
}

bool TPMultiImage::StretchRatio() const { return m_stretchRatio; }

void TPMultiImage::setStretchRatio(bool on)
{
    m_stretchRatio = on;
    if (on)
        m_stretch = false;
    update();
}

bool TPMultiImage::Center() const { return m_center; }

void TPMultiImage::setCenter(bool on)
{
    m_center = on;
    update();
}

bool TPMultiImage::AutoSize() const { return m_autoSize; }

void TPMultiImage::setAutoSize(bool on)
{
    m_autoSize = on;
    applyAutoSize();
}

void TPMultiImage::applyAutoSize()
{
    const QImage &pic = m_loader.picture();
    if (m_autoSize && pic.width() > 0 && pic.height() > 0)
        resize(pic.size());
}

TPMultiImage::TBorderStyle TPMultiImage::BorderStyle() const { return m_border; }

void TPMultiImage::setBorderStyle(TBorderStyle style)
{
    m_border = style;
    if (style == bsSingle) {
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setLineWidth(1);
    } else {
        setFrameStyle(QFrame::NoFrame);
    }
    update();
}

QColor TPMultiImage::Color() const { return m_color; }

void TPMultiImage::setColor(const QColor &color)
{
    m_color = color;
    update();
}

void TPMultiImage::setPictureBackdrop(const QColor &color)
{
    if (m_backdrop == color)
        return;
    m_backdrop = color;
    update();
}

bool TPMultiImage::ImageDither() const { return m_dither; }
void TPMultiImage::setImageDither(bool on) { m_dither = on; }
TPMultiImage::TImageReadRes TPMultiImage::ImageReadRes() const { return m_readRes; }
void TPMultiImage::setImageReadRes(TImageReadRes res) { m_readRes = res; }
bool TPMultiImage::ImageLibPalette() const { return m_libPalette; }

void TPMultiImage::setImageLibPalette(bool on)
{
    m_libPalette = on;
    update();
}

bool TPMultiImage::hasPicture() const { return !m_loader.picture().isNull(); }
const QImage &TPMultiImage::Picture() const { return m_loader.picture(); }
const qm::PictureInfo &TPMultiImage::pictureInfo() const { return m_loader.info(); }

bool TPMultiImage::drawnByPlatform() const
{
    // Only the picture's type decides, as it always has: icons and
    // metafiles are the platform's own kinds of picture.
    const QString &type = m_loader.info().imageType;
    return !m_libPalette || type == QLatin1String("ICO") || type == QLatin1String("WMF");
}

QRect TPMultiImage::pictureRect() const
{
    const QImage &pic = m_loader.picture();
    if (pic.isNull())
        return QRect();
    const int cw = contentsRect().width(), ch = contentsRect().height();
    const int pw = pic.width(), ph = pic.height();

    if (drawnByPlatform()) {
        if (m_stretch)
            return QRect(0, 0, cw, ch);
        if (m_center) {
            // The platform centres in the control's outer size.
            return QRect((width() - pw) / 2, (height() - ph) / 2, pw, ph);
        }
        return QRect(0, 0, pw, ph);
    }

    if (m_stretch)
        return QRect(0, 0, cw, ch);
    if (m_stretchRatio) {
        // The largest size with the picture's proportions that fits.
        int w = cw, h = ch;
        if (qint64(pw) * ch > qint64(ph) * cw)
            h = int(qint64(ph) * cw / pw);
        else
            w = int(qint64(pw) * ch / ph);
        return QRect((cw - w) / 2, (ch - h) / 2, w, h);
    }
    if (m_center)
        return QRect((cw - pw) / 2, (ch - ph) / 2, pw, ph);
    return QRect(0, 0, pw, ph);
}

void TPMultiImage::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QRect client = contentsRect();
    painter.fillRect(client, m_color);

    const QImage &pic = m_loader.picture();
    const QRect target = pictureRect();
    if (pic.isNull())
        m_drawCache = DrawCache();
    if (!pic.isNull() && !target.isEmpty()) {
        // Decoded pictures are scaled by dropping or repeating pixels, as
        // COLORONCOLOR does; the platform smooths its own kinds of picture.
        const bool smooth = drawnByPlatform();
        DrawCache &cache = m_drawCache;
        if (cache.pixmap.isNull() || cache.imageKey != pic.cacheKey()
            || cache.size != target.size() || cache.smooth != smooth) {
            const QImage scaled = target.size() == pic.size()
                ? pic
                : pic.scaled(target.size(), Qt::IgnoreAspectRatio,
                             smooth ? Qt::SmoothTransformation : Qt::FastTransformation);
            cache.pixmap = QPixmap::fromImage(scaled);
            cache.imageKey = pic.cacheKey();
            cache.size = target.size();
            cache.smooth = smooth;
        }
        painter.save();
        painter.setClipRect(client);
        if (m_backdrop.isValid() && pic.hasAlphaChannel())
            painter.fillRect(target.translated(client.topLeft()), m_backdrop);
        painter.drawPixmap(target.topLeft() + client.topLeft(), cache.pixmap);
        painter.restore();
    }
    if (m_border != bsNone)
        drawFrame(&painter);
    Q_UNUSED(event);
}
