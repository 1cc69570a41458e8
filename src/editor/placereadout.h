#pragma once

#include <QLabel>
#include <QPointer>

class QScrollArea;

// The place and size of what is moved, resized or selected on the design
// surface ("Button 2: 150, 150  156 x 65"), in the surface's lower right
// corner. It lies over the surface's view, not on the design: it never
// scrolls with it, takes no mouse and is no part of what the design shows.
class PlaceReadout : public QLabel {
    Q_OBJECT
public:
    explicit PlaceReadout(QScrollArea *surface);

    // Shows `name` at the control's place, and follows its moves and resizes
    // until another is shown; none hides the readout.
    void follow(QWidget *control, const QString &name);
    // The control followed: a move or resize of it (seen by the window's
    // event filter) calls this.
    void update(QWidget *control);
    QWidget *followed() const { return m_control; }

private:
    void place();

    QScrollArea *m_surface;
    QPointer<QWidget> m_control;
    QString m_name;
};
