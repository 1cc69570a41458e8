#pragma once

#include <QPushButton>

// A button of the command row: its glyph with the caption beside it. A
// caption too wide for one line beside the glyph takes two, so that every
// caption can be read at the window's smallest size in the desktop's font.
class CommandButton : public QPushButton {
    Q_OBJECT
public:
    CommandButton(const QIcon &icon, const QString &caption, QWidget *parent = nullptr);

    // Where the glyph and the caption are drawn, in the button's coordinates.
    QRect glyphRect() const;
    QRect captionRect() const;
    // Whether the caption takes two lines.
    bool captionWraps() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // Glyph and caption laid out in the button's contents.
    struct Layout {
        QRect glyph;
        QRect caption;
        int flags = 0;
    };
    Layout layOut() const;
};
