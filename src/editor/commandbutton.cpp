#include "editor/commandbutton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace {

constexpr int kGlyphGap = 4;
// The smallest a glyph becomes to leave its caption room.
constexpr int kMinGlyph = 16;

} // namespace

CommandButton::CommandButton(const QIcon &icon, const QString &caption, QWidget *parent)
    : QPushButton(icon, caption, parent)
{
}

CommandButton::Layout CommandButton::layOut() const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRect contents = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    const QFontMetrics metrics = fontMetrics();

    Layout layout;
    layout.flags = Qt::AlignVCenter | Qt::AlignHCenter | Qt::TextShowMnemonic;
    int glyph = iconSize().width();
    auto room = [&] { return qMax(0, contents.width() - glyph - kGlyphGap); };
    // The width the caption takes in `width` pixels: one line, or two when
    // one is too wide (more when one word is wider than the room).
    auto captionWidth = [&](int width) {
        return metrics.boundingRect(QRect(0, 0, width, contents.height()), layout.flags, text()).width();
    };
    int width = metrics.horizontalAdvance(text());
    if (width > room()) {
        layout.flags |= Qt::TextWordWrap;
        width = captionWidth(room());
        if (width > room()) {
            // A word wider than the room beside the glyph: a smaller glyph
            // rather than a cut caption.
            glyph = qMax(kMinGlyph, contents.width() - kGlyphGap - width);
            width = qMin(captionWidth(room()), room());
        }
    }
    // Glyph and caption together are centred, as a push button centres them.
    const int block = glyph + kGlyphGap + width;
    const int left = contents.left() + qMax(0, (contents.width() - block) / 2);
    layout.glyph = QRect(left, contents.center().y() - glyph / 2 + 1, glyph, glyph);
    layout.caption = QRect(layout.glyph.right() + 1 + kGlyphGap, contents.top(), width, contents.height());
    return layout;
}

QRect CommandButton::glyphRect() const
{
    return layOut().glyph;
}

QRect CommandButton::captionRect() const
{
    const Layout layout = layOut();
    return fontMetrics().boundingRect(layout.caption, layout.flags, text());
}

bool CommandButton::captionWraps() const
{
    return layOut().flags & Qt::TextWordWrap;
}

void CommandButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    const Layout layout = layOut();
    icon().paint(&painter, layout.glyph, Qt::AlignCenter, isEnabled() ? QIcon::Normal : QIcon::Disabled);
    style()->drawItemText(&painter, layout.caption, layout.flags, option.palette, isEnabled(), text(),
                          QPalette::ButtonText);

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = style()->subElementRect(QStyle::SE_PushButtonFocusRect, &option, this);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}
