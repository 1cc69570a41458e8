#pragma once

#include <QScrollArea>

// The design surface: a scroll box whose contents show the design at its real
// pixel size. Its canvas is the parent of the buttons, the text areas and the
// Blurb picture; scroll bars appear when the design reaches past the visible
// area.
class TDesignSurface : public QScrollArea {
    Q_OBJECT
public:
    explicit TDesignSurface(QWidget *parent = nullptr);

    QWidget *canvas() const { return m_canvas; }

    void setSurfaceColor(const QColor &color);
    QColor surfaceColor() const;
    void setFontColor(const QColor &color);

    // Grows or shrinks the canvas to the visible area or to the design's
    // extent, whichever is larger.
    void updateExtent();

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_canvas;
};
