#include "editor/artwork.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QtMath>

#include <algorithm>
#include <array>
#include <cmath>

namespace qm::artwork {

namespace {

// One palette for every glyph: slate for outlines and dark parts, white
// paper, and four accents.
const QColor Ink(0x33, 0x41, 0x55);
const QColor InkSoft(0x64, 0x74, 0x8B);
const QColor Track(0xB4, 0xC0, 0xCE);
const QColor Paper(0xFF, 0xFF, 0xFF);
const QColor PaperEdge(0x94, 0xA3, 0xB8);
const QColor PaperFold(0xD9, 0xE2, 0xEC);
const QColor Blue(0x25, 0x7B, 0xF0);
const QColor BlueDark(0x1A, 0x5C, 0xC8);
const QColor BlueLight(0xD6, 0xE6, 0xFD);
const QColor Green(0x22, 0xA8, 0x5A);
const QColor GreenDark(0x17, 0x80, 0x44);
const QColor Amber(0xF8, 0xBE, 0x45);
const QColor AmberDark(0xE0, 0x97, 0x22);
const QColor Red(0xE5, 0x48, 0x4D);
const QColor RedDark(0xBE, 0x31, 0x37);
const QColor RedLight(0xF6, 0xB2, 0xB5);
const QColor Wood(0xEC, 0xC9, 0x8E);
const QColor WoodDark(0xC9, 0x95, 0x52);
const QColor Pink(0xF2, 0x8B, 0xA6);

QPen roundPen(const QColor &c, qreal width)
{
    return QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QPainterPath roundedRect(qreal x, qreal y, qreal w, qreal h, qreal r)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(x, y, w, h), r, r);
    return path;
}

QPainterPath circle(qreal cx, qreal cy, qreal r)
{
    QPainterPath path;
    path.addEllipse(QPointF(cx, cy), r, r);
    return path;
}

QPainterPath polygon(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    return path;
}

// A round badge with a white rim, as used for the plus sign and the gear.
void badge(QPainter &p, qreal cx, qreal cy, qreal r, const QColor &c)
{
    p.fillPath(circle(cx, cy, r + 1.5), Paper);
    p.fillPath(circle(cx, cy, r), c);
}

// A gear of n teeth, filled, with a hole.
QPainterPath gear(qreal cx, qreal cy, qreal outer, qreal inner, qreal hole, int teeth)
{
    QPainterPath path;
    const int steps = teeth * 4;
    for (int i = 0; i < steps; ++i) {
        const qreal a = (i - 0.5) * 2 * M_PI / steps;
        const qreal r = (i % 4 == 0 || i % 4 == 1) ? outer : inner;
        const QPointF pt(cx + r * std::cos(a), cy + r * std::sin(a));
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    path.addEllipse(QPointF(cx, cy), hole, hole);
    path.setFillRule(Qt::OddEvenFill);
    return path;
}

// A small picture of a menu button: the thing the command row works on.
void menuButton(QPainter &p, qreal x, qreal y, qreal w, qreal h)
{
    p.fillPath(roundedRect(x, y, w, h, 4), BlueDark);
    p.fillPath(roundedRect(x, y, w, h - 1.5, 4), Blue);
    p.setPen(roundPen(Paper, 1.8));
    const qreal cy = y + (h - 1.5) / 2;
    p.drawLine(QPointF(x + 5, cy), QPointF(x + w * 0.6, cy));
}

void drawPreview(QPainter &p)
{
    // A browser window with an eye in it.
    p.fillPath(roundedRect(2, 4, 28, 24, 3.5), Blue);
    p.fillPath(roundedRect(4, 10, 24, 16, 1.5), Paper);
    for (int i = 0; i < 3; ++i)
        p.fillPath(circle(6.5 + i * 3.2, 7, 1.1), BlueLight);

    QPainterPath eye;
    eye.moveTo(7, 18);
    eye.cubicTo(10, 12.2, 22, 12.2, 25, 18);
    eye.cubicTo(22, 23.8, 10, 23.8, 7, 18);
    p.fillPath(eye, BlueLight);
    p.setPen(roundPen(Ink, 1.6));
    p.drawPath(eye);
    p.setPen(Qt::NoPen);
    p.fillPath(circle(16, 18, 3.6), Blue);
    p.fillPath(circle(16, 18, 1.7), Ink);
    p.fillPath(circle(17.2, 16.8, 0.8), Paper);
}

void drawPage(QPainter &p, qreal x, qreal y, qreal w, qreal h, qreal fold)
{
    QPainterPath page = polygon({{x, y}, {x + w - fold, y}, {x + w, y + fold}, {x + w, y + h}, {x, y + h}});
    p.fillPath(page, Paper);
    p.setPen(roundPen(PaperEdge, 1.5));
    p.drawPath(page);
    p.setPen(Qt::NoPen);
    QPainterPath dogEar = polygon({{x + w - fold, y}, {x + w - fold, y + fold}, {x + w, y + fold}});
    p.fillPath(dogEar, PaperFold);
    p.setPen(roundPen(PaperEdge, 1.5));
    p.drawPath(dogEar);
    p.setPen(Qt::NoPen);
}

void drawNew(QPainter &p)
{
    drawPage(p, 7.5, 3.5, 17, 25, 6);
    // A small spark: this page is brand new.
    QPainterPath star;
    const QPointF c(24.5, 23.5);
    for (int i = 0; i < 8; ++i) {
        const qreal a = i * M_PI / 4 - M_PI / 2;
        const qreal r = (i % 2 == 0) ? 6.0 : 1.8;
        const QPointF pt = c + QPointF(r * std::cos(a), r * std::sin(a));
        if (i == 0)
            star.moveTo(pt);
        else
            star.lineTo(pt);
    }
    star.closeSubpath();
    p.fillPath(circle(c.x(), c.y(), 4.2), Paper);
    p.fillPath(star, Amber);
    p.setPen(roundPen(AmberDark, 0.8));
    p.drawPath(star);
    p.setPen(Qt::NoPen);
}

void drawOpen(QPainter &p)
{
    // Back of the folder with its tab.
    QPainterPath back;
    back.moveTo(3, 8);
    back.quadTo(3, 6, 5, 6);
    back.lineTo(11.5, 6);
    back.lineTo(14, 8.5);
    back.lineTo(26, 8.5);
    back.quadTo(28, 8.5, 28, 10.5);
    back.lineTo(28, 27);
    back.lineTo(3, 27);
    back.closeSubpath();
    p.fillPath(back, AmberDark);
    // A sheet sticking out.
    p.fillPath(roundedRect(6.5, 11, 18, 12, 1), Paper);
    p.setPen(roundPen(Track, 1.2));
    p.drawLine(QPointF(9, 14.5), QPointF(22, 14.5));
    p.drawLine(QPointF(9, 17.5), QPointF(19, 17.5));
    p.setPen(Qt::NoPen);
    // The open front flap.
    QPainterPath front;
    front.moveTo(7, 15.5);
    front.lineTo(30, 15.5);
    front.quadTo(31.2, 15.5, 30.8, 16.7);
    front.lineTo(27.6, 26);
    front.quadTo(27.2, 27, 26, 27);
    front.lineTo(3, 27);
    front.lineTo(5.8, 16.4);
    front.quadTo(6, 15.5, 7, 15.5);
    front.closeSubpath();
    p.fillPath(front, Amber);
}

void drawSave(QPainter &p)
{
    // A floppy disk.
    QPainterPath body;
    body.moveTo(4, 6);
    body.quadTo(4, 4, 6, 4);
    body.lineTo(23.5, 4);
    body.lineTo(28, 8.5);
    body.lineTo(28, 26);
    body.quadTo(28, 28, 26, 28);
    body.lineTo(6, 28);
    body.quadTo(4, 28, 4, 26);
    body.closeSubpath();
    p.fillPath(body, Blue);
    // Metal shutter with its window.
    p.fillPath(roundedRect(9, 4, 13, 8.5, 1), BlueLight);
    p.fillPath(roundedRect(17, 5.5, 3, 5.5, 0.6), Blue);
    // Label.
    p.fillPath(roundedRect(8, 16, 16, 12, 1.2), Paper);
    p.setPen(roundPen(Track, 1.3));
    p.drawLine(QPointF(11, 20), QPointF(21, 20));
    p.drawLine(QPointF(11, 23.5), QPointF(18, 23.5));
    p.setPen(Qt::NoPen);
}

void drawCompile(QPainter &p)
{
    // A clipboard holding markup, with a gear: the block is built and
    // put on the clipboard.
    p.fillPath(roundedRect(4, 5, 21, 25, 2.5), InkSoft);
    p.fillPath(roundedRect(6.5, 8.5, 16, 19, 1), Paper);
    p.fillPath(roundedRect(9.5, 3, 10, 5.5, 1.5), Ink);
    p.fillPath(circle(14.5, 4.7, 1.1), InkSoft);

    p.setPen(roundPen(Blue, 1.8));
    p.drawPolyline(QPolygonF({QPointF(11.5, 13), QPointF(9, 16), QPointF(11.5, 19)}));
    p.drawPolyline(QPolygonF({QPointF(17.5, 13), QPointF(20, 16), QPointF(17.5, 19)}));
    p.drawLine(QPointF(15.6, 12.2), QPointF(13.4, 19.8));
    p.setPen(Qt::NoPen);

    p.fillPath(circle(24, 24, 8), Paper);
    p.fillPath(gear(24, 24, 6.6, 4.7, 2.1, 8), Green);
}

void drawOptions(QPainter &p)
{
    struct Slider { qreal y; qreal knob; QColor colour; };
    const Slider sliders[] = {{8, 11, Blue}, {16, 21, Green}, {24, 14, Amber}};
    for (const Slider &s : sliders) {
        p.setPen(roundPen(Track, 2.4));
        p.drawLine(QPointF(4.5, s.y), QPointF(27.5, s.y));
        p.setPen(roundPen(s.colour, 2.4));
        p.drawLine(QPointF(4.5, s.y), QPointF(s.knob, s.y));
        p.setPen(Qt::NoPen);
        p.fillPath(circle(s.knob, s.y, 4), Ink);
        p.fillPath(circle(s.knob, s.y, 2.4), Paper);
    }
}

void drawQuit(QPainter &p)
{
    // An open door with an arrow leaving through it.
    p.fillPath(roundedRect(4, 3, 17, 26, 1.5), InkSoft);
    p.fillPath(roundedRect(6.5, 5.5, 12, 23.5, 0.5), Ink);
    QPainterPath leaf = polygon({{6.5, 5.5}, {13.5, 8}, {13.5, 31}, {6.5, 29}});
    p.fillPath(leaf, Wood);
    p.fillPath(polygon({{6.5, 5.5}, {8, 6}, {8, 29.4}, {6.5, 29}}), WoodDark);
    p.fillPath(circle(11.8, 18.5, 1), WoodDark);

    p.setPen(roundPen(Red, 3.2));
    p.drawLine(QPointF(17, 16.5), QPointF(25, 16.5));
    p.setPen(Qt::NoPen);
    QPainterPath head = polygon({{23, 10.5}, {30.5, 16.5}, {23, 22.5}});
    p.setPen(roundPen(Red, 1.5));
    p.setBrush(Red);
    p.drawPath(head);
    p.setBrush(Qt::NoBrush);
    p.setPen(Qt::NoPen);
}

void drawHelp(QPainter &p)
{
    p.fillPath(circle(16, 16, 13.5), Blue);
    QPainterPath hook;
    hook.moveTo(11.6, 12.6);
    hook.arcTo(QRectF(11.6, 7.4, 8.8, 8.8), 180, -225);
    hook.quadTo(16, 16.4, 16, 18.6);
    p.setPen(roundPen(Paper, 3.2));
    p.drawPath(hook);
    p.setPen(Qt::NoPen);
    p.fillPath(circle(16, 23.6, 2), Paper);
}

void drawAddButton(QPainter &p)
{
    menuButton(p, 2, 6, 24, 14);
    badge(p, 23, 22, 7, Green);
    p.setPen(QPen(Paper, 2.4, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(23, 18), QPointF(23, 26));
    p.drawLine(QPointF(19, 22), QPointF(27, 22));
    p.setPen(Qt::NoPen);
}

void drawEditButton(QPainter &p)
{
    menuButton(p, 2, 6, 24, 14);
    // A pencil lying from the lower left to the upper right.
    p.save();
    p.translate(18, 20);
    p.rotate(-45);
    // Along x: tip at -13, eraser end at +10; width 7.
    const qreal half = 3.5;
    p.fillPath(polygon({{-13.5, 0}, {-7, -half}, {-7, half}}), Wood);
    p.fillPath(polygon({{-13.5, 0}, {-10.9, -1.4}, {-10.9, 1.4}}), Ink);
    p.fillRect(QRectF(-7, -half, 14, 2 * half), Amber);
    p.fillRect(QRectF(-7, 0.9, 14, half - 0.9), AmberDark);
    p.fillRect(QRectF(7, -half, 2.5, 2 * half), Track);
    QPainterPath eraser;
    eraser.addRoundedRect(QRectF(9.5, -half, 3.5, 2 * half), 1.2, 1.2);
    p.fillPath(eraser, Pink);
    p.restore();
}

void drawDeleteButton(QPainter &p)
{
    // A waste bin.
    p.fillPath(roundedRect(12.5, 3, 7, 4, 1.2), RedDark);
    p.fillPath(roundedRect(14.5, 4.6, 3, 2, 0.3), Paper);
    p.fillPath(roundedRect(6, 6.5, 20, 3.6, 1.4), RedDark);
    QPainterPath body;
    body.moveTo(8, 11.5);
    body.lineTo(24, 11.5);
    body.lineTo(22.6, 27.5);
    body.quadTo(22.4, 29, 21, 29);
    body.lineTo(11, 29);
    body.quadTo(9.6, 29, 9.4, 27.5);
    body.closeSubpath();
    p.fillPath(body, Red);
    p.setPen(roundPen(RedLight, 1.7));
    p.drawLine(QPointF(12.6, 14.5), QPointF(13, 25.8));
    p.drawLine(QPointF(16, 14.5), QPointF(16, 25.8));
    p.drawLine(QPointF(19.4, 14.5), QPointF(19, 25.8));
    p.setPen(Qt::NoPen);
}

void drawBackground(QPainter &p)
{
    // A painter's palette with a thumb hole and four dabs of paint.
    QPainterPath board;
    board.moveTo(16, 4);
    board.cubicTo(24.5, 4, 30, 9, 30, 15);
    board.cubicTo(30, 20, 26.5, 21.2, 23.6, 20.6);
    board.cubicTo(21.2, 20.1, 19.2, 21.2, 19.6, 23.6);
    board.cubicTo(20, 26, 20.6, 28, 16.6, 28);
    board.cubicTo(8, 28, 2, 22.6, 2, 16);
    board.cubicTo(2, 9.2, 8, 4, 16, 4);
    board.closeSubpath();
    board = board.subtracted(circle(11.5, 21.5, 2.6));
    p.fillPath(board, WoodDark);
    p.save();
    p.setClipPath(board);
    p.fillPath(board.translated(0, -1.2), Wood);
    p.restore();
    p.fillPath(circle(7.8, 14.6, 2.7), Blue);
    p.fillPath(circle(11, 8.8, 2.7), Red);
    p.fillPath(circle(17.6, 7.6, 2.7), Amber);
    p.fillPath(circle(23.8, 11, 2.7), Green);
}

QImage renderGlyph(Glyph g, int pixels)
{
    QImage img(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        paintGlyph(p, g, QRectF(0, 0, pixels, pixels));
    }
    return img.convertToFormat(QImage::Format_ARGB32);
}

// The feather of the logo, drawn into a box of the given height whose top
// left is the origin.
void drawFeather(QPainter &p, qreal h)
{
    p.save();
    p.scale(h / 36.0, h / 36.0);
    // Vane: a leaf bent from the lower left up to the upper right.
    QPainterPath vane;
    vane.moveTo(7, 29);
    vane.cubicTo(6, 18, 14, 6, 31, 2);
    vane.cubicTo(29, 13, 22, 24, 9.5, 27.5);
    vane.closeSubpath();
    QLinearGradient grad(QPointF(8, 28), QPointF(30, 3));
    grad.setColorAt(0, BlueDark);
    grad.setColorAt(1, QColor(0x4D, 0x9B, 0xFF));
    p.fillPath(vane, grad);
    // Barbs: notches cut into the vane by light lines.
    p.setPen(QPen(QColor(255, 255, 255, 150), 1.1, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(14.5, 20.2), QPointF(12, 15.5));
    p.drawLine(QPointF(19.8, 14.6), QPointF(18.2, 9.4));
    p.drawLine(QPointF(17, 22.5), QPointF(22.5, 20.4));
    // Shaft, ending in a nib with a drop of ink.
    p.setPen(QPen(Ink, 1.6, Qt::SolidLine, Qt::RoundCap));
    QPainterPath shaft;
    shaft.moveTo(4, 33);
    shaft.cubicTo(10, 24, 18, 13, 29, 4);
    p.drawPath(shaft);
    p.setPen(Qt::NoPen);
    p.fillPath(circle(3.2, 34, 1.6), Ink);
    p.restore();
}

QImage renderLogo()
{
    QImage img(LogoWidth, LogoHeight, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QFont word(QStringLiteral("Liberation Sans"));
    word.setPixelSize(27);
    word.setBold(true);
    word.setLetterSpacing(QFont::AbsoluteSpacing, -0.4);
    word.setStyleStrategy(QFont::PreferAntialias);
    QFont tag(QStringLiteral("Liberation Sans"));
    tag.setPixelSize(13);
    tag.setStyleStrategy(QFont::PreferAntialias);

    const QString first = QStringLiteral("Quill");
    const QString second = QStringLiteral("map");
    const QString tagLine = QStringLiteral("rollover menus for the web");
    const QFontMetricsF wm(word);
    const QFontMetricsF tm(tag);

    const qreal markW = 34;
    const qreal gapMark = 6;
    const qreal gapTag = 13;
    const qreal wordW = wm.horizontalAdvance(first) + wm.horizontalAdvance(second);
    const qreal total = markW + gapMark + wordW + gapTag + 1 + gapTag + tm.horizontalAdvance(tagLine);
    qreal x = std::round((LogoWidth - total) / 2);
    const qreal baseline = 29;

    p.save();
    p.translate(x, 2);
    drawFeather(p, 36);
    p.restore();
    x += markW + gapMark;

    p.setFont(word);
    p.setPen(Ink);
    p.drawText(QPointF(x, baseline), first);
    x += wm.horizontalAdvance(first);
    p.setPen(Blue);
    p.drawText(QPointF(x, baseline), second);
    x += wm.horizontalAdvance(second) + gapTag;

    p.fillRect(QRectF(std::round(x), 10, 1, 22), QColor(0x33, 0x41, 0x55, 90));
    x += 1 + gapTag;

    p.setFont(tag);
    p.setPen(InkSoft);
    p.drawText(QPointF(x, baseline - 0.5), tagLine);
    p.end();
    return img.convertToFormat(QImage::Format_ARGB32);
}

// The icon in a 64-unit box: a light tile with three menu buttons, the
// middle one lit as under the mouse, and the logo's feather writing them.
void drawAppIcon(QPainter &p)
{
    QLinearGradient tile(QPointF(0, 4), QPointF(0, 60));
    tile.setColorAt(0, Paper);
    tile.setColorAt(1, BlueLight);
    p.setPen(roundPen(PaperEdge, 1.5));
    p.setBrush(tile);
    p.drawPath(roundedRect(3.75, 3.75, 56.5, 56.5, 13));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::NoBrush);
    menuButton(p, 10, 13, 31, 10);
    p.fillPath(roundedRect(10, 27, 31, 10, 4), AmberDark);
    p.fillPath(roundedRect(10, 27, 31, 8.5, 4), Amber);
    p.setPen(roundPen(Ink, 1.8));
    p.drawLine(QPointF(15, 31.25), QPointF(28.6, 31.25));
    p.setPen(Qt::NoPen);
    menuButton(p, 10, 41, 31, 10);
    p.save();
    p.translate(22, 8);
    drawFeather(p, 44);
    p.restore();
}

} // namespace

QImage appIcon(int pixels)
{
    QImage img(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(pixels / 64.0, pixels / 64.0);
        drawAppIcon(p);
    }
    return img.convertToFormat(QImage::Format_ARGB32);
}

void paintGlyph(QPainter &p, Glyph g, const QRectF &target)
{
    const qreal side = std::min(target.width(), target.height());
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.translate(target.x() + (target.width() - side) / 2, target.y() + (target.height() - side) / 2);
    p.scale(side / GlyphSize, side / GlyphSize);
    switch (g) {
    case Preview: drawPreview(p); break;
    case New: drawNew(p); break;
    case Open: drawOpen(p); break;
    case Save: drawSave(p); break;
    case Compile: drawCompile(p); break;
    case Options: drawOptions(p); break;
    case Quit: drawQuit(p); break;
    case Help: drawHelp(p); break;
    case AddButton: drawAddButton(p); break;
    case EditButton: drawEditButton(p); break;
    case DeleteButton: drawDeleteButton(p); break;
    case Background: drawBackground(p); break;
    }
    p.restore();
}

QImage glyphImage(Glyph g, qreal ratio)
{
    QImage img = renderGlyph(g, qRound(GlyphSize * ratio));
    img.setDevicePixelRatio(ratio);
    return img;
}

QImage logo()
{
    static const QImage cached = renderLogo();
    return cached;
}

const char *glyphCaption(Glyph g)
{
    switch (g) {
    case Preview: return "Preview";
    case New: return "New";
    case Open: return "Open";
    case Save: return "Save";
    case Compile: return "Compile";
    case Options: return "Options";
    case Quit: return "Quit";
    case Help: return "Help";
    case AddButton: return "Add Button";
    case EditButton: return "Edit Button";
    case DeleteButton: return "Delete Button";
    case Background: return "Background";
    }
    return "";
}

} // namespace qm::artwork
