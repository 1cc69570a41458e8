#include "dialogs/splashartwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

#include <cmath>

namespace qm::splashart {

namespace {

const QColor SkyTop(0x0E, 0x17, 0x38);
const QColor SkyBottom(0x3A, 0x1E, 0x57);
const QColor Gold(0xFF, 0xE0, 0x8A);
const QColor GoldDeep(0xF0, 0xA8, 0x30);
const QColor PageWhite(0xF7, 0xF8, 0xFB);
const QColor PageEdge(0x9A, 0xA6, 0xBC);
const QColor Applet(0x10, 0x10, 0x14);
const QColor ButtonBlue(0x25, 0x7B, 0xF0);
const QColor ButtonBlueDark(0x1A, 0x5C, 0xC8);
const QColor ButtonHot(0xF8, 0xBE, 0x45);
const QColor ButtonHotDark(0xE0, 0x97, 0x22);
const QColor Ink(0x33, 0x41, 0x55);
const QColor BombBlack(0x1C, 0x1E, 0x26);
const QColor FuseBrown(0x8A, 0x6A, 0x3E);

// Where the fuse ends, on the splash picture; the spark of the first
// animation picture sits there.
constexpr QPointF FuseTip(36, 197);

QPainterPath roundedRect(const QRectF &r, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

QFont font(const char *family, int pixels, bool bold = false, bool italic = false)
{
    QFont f(QString::fromLatin1(family));
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

void drawSky(QPainter &p)
{
    QLinearGradient sky(0, 0, 0, PictureHeight);
    sky.setColorAt(0, SkyTop);
    sky.setColorAt(1, SkyBottom);
    p.fillRect(QRect(0, 0, PictureWidth, PictureHeight), sky);

    // Stars from a fixed sequence, so the picture is the same at every start.
    quint32 seed = 0x51A5u;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 90; ++i) {
        const qreal x = next() % PictureWidth;
        const qreal y = next() % 170;
        const qreal r = 0.4 + (next() % 10) / 10.0;
        // None behind the name and its line, where they would read as dots.
        if (QRectF(40, 20, 235, 78).contains(x, y))
            continue;
        p.setBrush(QColor(255, 255, 255, 90 + int(next() % 150)));
        p.drawEllipse(QPointF(x, y), r, r);
    }
    p.setBrush(Qt::NoBrush);
}

void drawTitle(QPainter &p)
{
    QPainterPath word;
    const QFont titleFont = font("Liberation Serif", 50, true, true);
    word.addText(0, 0, titleFont, QStringLiteral("Quillmap"));
    const QRectF box = word.boundingRect();
    word.translate((PictureWidth - box.width()) / 2 - box.left(), 66);

    p.fillPath(word.translated(2, 3), QColor(0, 0, 0, 140));
    QLinearGradient fill(0, 28, 0, 70);
    fill.setColorAt(0, Gold);
    fill.setColorAt(1, GoldDeep);
    p.fillPath(word, fill);
    p.setPen(QPen(QColor(0x7A, 0x4A, 0x10), 0.8));
    p.drawPath(word);

    p.setPen(QColor(0xC8, 0xD4, 0xF0));
    p.setFont(font("Liberation Sans", 13));
    p.drawText(QRectF(0, 76, PictureWidth, 18), Qt::AlignHCenter | Qt::AlignTop,
               QStringLiteral("rollover menus for your web pages"));
}

// A web page with a menu on it, and the mouse on its second button.
void drawPage(QPainter &p)
{
    const QRectF page(112, 112, 184, 186);
    p.fillPath(roundedRect(page.translated(3, 4), 6), QColor(0, 0, 0, 110));
    p.fillPath(roundedRect(page, 6), PageWhite);
    p.setPen(QPen(PageEdge, 1));
    p.drawPath(roundedRect(page.adjusted(0.5, 0.5, -0.5, -0.5), 6));

    // Browser bar.
    p.fillPath(roundedRect(QRectF(page.left() + 1, page.top() + 1, page.width() - 2, 14), 5), QColor(0xDC, 0xE3, 0xEE));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 3; ++i) {
        p.setBrush(QColor(0x9A, 0xA6, 0xBC));
        p.drawEllipse(QPointF(page.left() + 8 + i * 7, page.top() + 8), 2.2, 2.2);
    }
    p.setBrush(Qt::NoBrush);

    // The menu applet: Title, Blurb and three buttons on black.
    const QRectF applet(page.left() + 10, page.top() + 24, page.width() - 20, page.height() - 34);
    p.fillRect(applet, Applet);
    p.setPen(Qt::white);
    p.setFont(font("Liberation Serif", 15, true));
    p.drawText(QRectF(applet.left() + 8, applet.top() + 5, applet.width() - 16, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Our News"));
    p.setPen(QColor(0xD0, 0xD0, 0xD8));
    p.setFont(font("Liberation Serif", 10));
    p.drawText(QRectF(applet.left() + 8, applet.top() + 25, applet.width() - 16, 28), Qt::AlignLeft | Qt::TextWordWrap,
               QStringLiteral("What happened this week, and what comes next."));

    const char *const captions[] = {"Home", "News", "Contact"};
    for (int i = 0; i < 3; ++i) {
        const QRectF b(applet.left() + 14, applet.top() + 60 + i * 30, 110, 22);
        const bool hot = i == 1;
        p.fillPath(roundedRect(b, 5), hot ? ButtonHotDark : ButtonBlueDark);
        p.fillPath(roundedRect(b.adjusted(0, 0, 0, -2), 5), hot ? ButtonHot : ButtonBlue);
        p.setPen(hot ? Ink : Qt::white);
        p.setFont(font("Liberation Sans", 11, true));
        p.drawText(b.adjusted(0, 0, 0, -2), Qt::AlignCenter, QLatin1String(captions[i]));
    }

    // The mouse pointer on the lit button.
    QPainterPath arrow;
    arrow.moveTo(0, 0);
    arrow.lineTo(0, 16);
    arrow.lineTo(4, 12.5);
    arrow.lineTo(7, 19);
    arrow.lineTo(9.5, 18);
    arrow.lineTo(6.6, 11.6);
    arrow.lineTo(11.5, 11.5);
    arrow.closeSubpath();
    arrow.translate(applet.left() + 104, applet.top() + 98);
    p.fillPath(arrow, Qt::white);
    p.setPen(QPen(Qt::black, 1.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(arrow);
    p.setPen(Qt::NoPen);
}

// A large quill whose nib rests on the page's upper right corner.
void drawQuill(QPainter &p)
{
    p.save();
    p.translate(268, 126);
    p.rotate(-8);
    QPainterPath vane;
    vane.moveTo(4, -6);
    vane.cubicTo(-10, -40, 0, -90, 40, -118);
    vane.cubicTo(46, -80, 36, -40, 10, -10);
    vane.closeSubpath();
    QLinearGradient grad(QPointF(0, 0), QPointF(40, -118));
    grad.setColorAt(0, QColor(0xE8, 0xEE, 0xF8));
    grad.setColorAt(1, QColor(0xFF, 0xFF, 0xFF));
    p.fillPath(vane, grad);
    p.setPen(QPen(QColor(0xB8, 0xC4, 0xD8), 1));
    for (int i = 0; i < 9; ++i) {
        const qreal t = 0.12 + i * 0.09;
        const QPointF on(4 + 34 * t, -6 - 108 * t);
        p.drawLine(on, on + QPointF(-9 + 2 * t, -4));
        p.drawLine(on, on + QPointF(8 - 3 * t, 3));
    }
    p.setPen(QPen(QColor(0x8C, 0x98, 0xAE), 1.6, Qt::SolidLine, Qt::RoundCap));
    QPainterPath shaft;
    shaft.moveTo(0, 4);
    shaft.cubicTo(6, -30, 18, -80, 40, -118);
    p.drawPath(shaft);
    // Nib, with a drop of ink.
    p.setPen(Qt::NoPen);
    QPainterPath nib;
    nib.moveTo(-2, 2);
    nib.lineTo(3, 4);
    nib.lineTo(-1, 14);
    nib.closeSubpath();
    p.fillPath(nib, Ink);
    p.setBrush(Ink);
    p.drawEllipse(QPointF(-1.5, 15.5), 1.8, 1.8);
    p.setBrush(Qt::NoBrush);
    p.restore();
}

// The bomb at the lower left, its fuse curling up to FuseTip, not yet lit.
void drawBomb(QPainter &p)
{
    const QPointF centre(54, 284);
    const qreal r = 33;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawEllipse(QPointF(centre.x() + 4, centre.y() + r - 2), r * 0.9, 5);

    QRadialGradient body(centre + QPointF(-11, -12), r * 1.4);
    body.setColorAt(0, QColor(0x5A, 0x60, 0x72));
    body.setColorAt(0.45, BombBlack);
    body.setColorAt(1, QColor(0x08, 0x09, 0x0C));
    p.setBrush(body);
    p.drawEllipse(centre, r, r);
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawEllipse(centre + QPointF(-13, -14), 6, 4);

    // The cap the fuse comes out of.
    p.save();
    p.translate(centre + QPointF(19, -26));
    p.rotate(35);
    p.fillPath(roundedRect(QRectF(-9, -6, 18, 11), 2), QColor(0x4A, 0x50, 0x5E));
    p.fillPath(roundedRect(QRectF(-9, -6, 18, 3), 1.5), QColor(0x6E, 0x76, 0x88));
    p.restore();

    QPainterPath fuse;
    fuse.moveTo(centre + QPointF(22, -32));
    fuse.cubicTo(QPointF(86, 230), QPointF(70, 196), QPointF(54, 210));
    fuse.cubicTo(QPointF(44, 219), QPointF(30, 212), FuseTip);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(FuseBrown, 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(fuse);
    p.setPen(QPen(QColor(0xC8, 0xA8, 0x70), 1, Qt::DotLine, Qt::RoundCap));
    p.drawPath(fuse);
    p.setPen(Qt::NoPen);
}

void drawFooter(QPainter &p)
{
    p.setPen(QColor(0xA8, 0xB4, 0xD0));
    p.setFont(font("Liberation Sans", 10));
    p.drawText(QRectF(100, 306, PictureWidth - 110, 20), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("Version 1.1"));
    // A thin frame around the whole picture.
    p.setPen(QPen(QColor(255, 255, 255, 60), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, PictureWidth - 1, PictureHeight - 1));
}

// Points of a star around `centre`, alternating between the two radii.
QPainterPath star(const QPointF &centre, int points, qreal outerX, qreal outerY, qreal inner, qreal turn)
{
    QPainterPath path;
    for (int i = 0; i < points * 2; ++i) {
        const qreal a = turn + i * M_PI / points;
        // Every other tip a little shorter, so the burst looks torn.
        const qreal scale = i % 2 ? inner / outerX : (i % 4 == 0 ? 1.0 : 0.82);
        const QPointF pt(centre.x() + outerX * scale * std::cos(a), centre.y() + outerY * scale * std::sin(a));
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}

QImage transparentCanvas()
{
    QImage img(FuseWidth, FuseHeight, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

} // namespace

QImage splashPicture()
{
    QImage img(PictureWidth, PictureHeight, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    drawSky(p);
    drawTitle(p);
    drawPage(p);
    drawQuill(p);
    drawBomb(p);
    drawFooter(p);
    p.end();
    return img;
}

QImage fusePicture()
{
    QImage img = transparentCanvas();
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF tip = FuseTip - QPointF(FuseLeft, FuseTop);

    QRadialGradient glow(tip, 18);
    glow.setColorAt(0, QColor(255, 255, 230, 255));
    glow.setColorAt(0.25, QColor(255, 220, 90, 230));
    glow.setColorAt(0.6, QColor(255, 140, 30, 110));
    glow.setColorAt(1, QColor(255, 90, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(tip, 18, 18);

    // Sparks flying off the burning end.
    const qreal lengths[] = {15, 9, 13, 8, 16, 10, 12, 9, 14, 8};
    for (int i = 0; i < 10; ++i) {
        const qreal a = i * 2 * M_PI / 10 + 0.2;
        const QPointF dir(std::cos(a), std::sin(a));
        p.setPen(QPen(QColor(255, 235, 140), i % 2 ? 1.0 : 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(tip + dir * 5, tip + dir * lengths[i]);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 250, 210));
        p.drawEllipse(tip + dir * (lengths[i] + 3), 1.1, 1.1);
    }
    p.setBrush(Qt::white);
    p.drawEllipse(tip, 3, 3);
    p.end();
    return img;
}

QImage bangPicture()
{
    QImage img = transparentCanvas();
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QPointF centre(FuseWidth / 2.0, FuseHeight / 2.0);

    const QPainterPath outer = star(centre, 11, 40, 36, 24, 0.1);
    QRadialGradient fire(centre, 40);
    fire.setColorAt(0, QColor(255, 255, 220));
    fire.setColorAt(0.35, QColor(255, 214, 64));
    fire.setColorAt(0.75, QColor(248, 120, 30));
    fire.setColorAt(1, QColor(214, 40, 40));
    p.fillPath(outer, fire);
    p.setPen(QPen(QColor(0x9C, 0x1C, 0x1C), 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(outer);
    p.fillPath(star(centre, 9, 24, 21, 15, 0.35), QColor(255, 246, 170, 220));

    QPainterPath word;
    word.addText(0, 0, font("Liberation Sans", 19, true), QStringLiteral("BANG!"));
    const QRectF box = word.boundingRect();
    p.translate(centre);
    p.rotate(-9);
    word.translate(-box.center());
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(word);
    p.fillPath(word, QColor(0xB0, 0x14, 0x14));
    p.end();
    return img;
}

} // namespace qm::splashart
