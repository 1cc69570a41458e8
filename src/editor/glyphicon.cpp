#include "editor/glyphicon.h"

#include <QApplication>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include <array>

namespace qm::artwork {

namespace {

class GlyphIconEngine final : public QIconEngine {
public:
    explicit GlyphIconEngine(Glyph glyph) : m_glyph(glyph) {}

    QIconEngine *clone() const override { return new GlyphIconEngine(*this); }
    QString key() const override { return QStringLiteral("quillmap-glyph"); }
    bool isNull() override { return false; }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        return {QSize(GlyphSize, GlyphSize)};
    }

    // A square glyph fills the largest square inside the requested size.
    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const int side = qMin(size.width(), size.height());
        return QSize(side, side);
    }

    // size is in device pixels: QIcon asks for a picture of the pixels it
    // will show and sets the pixel ratio on it itself.
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State) override
    {
        const int pixels = qMin(size.width(), size.height());
        if (pixels <= 0)
            return QPixmap();
        const quint64 key = (quint64(pixels) << 8) | quint64(mode);
        auto found = m_drawn.constFind(key);
        if (found != m_drawn.constEnd())
            return *found;
        QImage image = glyphImage(m_glyph, qreal(pixels) / GlyphSize);
        image.setDevicePixelRatio(1.0);
        QPixmap pixmap = QPixmap::fromImage(std::move(image));
        if (mode != QIcon::Normal && qobject_cast<QApplication *>(QCoreApplication::instance())) {
            // Disabled and selected glyphs look as the style makes them
            // from the normal one, as they would for any other icon.
            QStyleOption option;
            option.palette = QApplication::palette();
            pixmap = QApplication::style()->generatedIconPixmap(mode, pixmap, &option);
        }
        m_drawn.insert(key, pixmap);
        return pixmap;
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        // Drawn into a rectangle of its size in device-independent pixels,
        // the picture's pixels meet the device's one to one.
        const QPixmap drawn = pixmap(rect.size() * ratio, mode, state);
        const QSize shown = (QSizeF(drawn.size()) / ratio).toSize();
        painter->drawPixmap(QRect(rect.x() + (rect.width() - shown.width()) / 2,
                                  rect.y() + (rect.height() - shown.height()) / 2, shown.width(),
                                  shown.height()),
                            drawn);
    }

private:
    Glyph m_glyph;
    QHash<quint64, QPixmap> m_drawn;
};

} // namespace

QIcon toolGlyph(Glyph g)
{
    static std::array<QIcon, GlyphCount> icons;
    if (g < 0 || g >= GlyphCount)
        return QIcon();
    QIcon &icon = icons[g];
    if (icon.isNull())
        icon = QIcon(new GlyphIconEngine(g));
    return icon;
}

} // namespace qm::artwork
