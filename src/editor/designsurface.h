#pragma once

#include <QScrollArea>

// The design surface: a scroll box whose contents show the design at its real
// pixel size. Its canvas is the parent of the buttons, the text areas and the
// Blurb picture; scroll bars appear when the design reaches past the visible
// area.
class DesignSurface : public QScrollArea {
    Q_OBJECT
public:
    explicit DesignSurface(QWidget *parent = nullptr);

    QWidget *canvas() const { return m_canvas; }

    void setSurfaceColor(const QColor &color);
    QColor surfaceColor() const;
    void setFontColor(const QColor &color);

    // Grows or shrinks the canvas to the visible area or to the design's
    // extent, whichever is larger. Moves, resizes and visibility changes of
    // the controls on the surface ask for it once the current batch of
    // changes is done; a caller that needs the extent at once calls this.
    void updateExtent();
    // How many times the extent has been computed (each pass looks at every
    // control on the surface).
    int extentPasses() const { return m_extentPasses; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void scheduleExtent();

    QWidget *m_canvas;
    bool m_extentPending = false;
    int m_extentPasses = 0;
};
