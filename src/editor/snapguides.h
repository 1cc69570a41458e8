#pragma once

#include <QList>
#include <QWidget>

// Thin lines across the design surface where a dragged control lies on the
// edge or centre of another, or on the surface's centre. It takes no mouse
// and shows only while a drag snaps.
class SnapGuides : public QWidget {
    Q_OBJECT
public:
    explicit SnapGuides(QWidget *canvas);

    // Lines at these x (top to bottom) and y (left to right); none hides it.
    void setLines(const QList<int> &xs, const QList<int> &ys);
    const QList<int> &xLines() const { return m_xs; }
    const QList<int> &yLines() const { return m_ys; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QList<int> m_xs;
    QList<int> m_ys;
};
