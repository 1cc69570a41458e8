#include "editor/placereadout.h"

#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>

PlaceReadout::PlaceReadout(QScrollArea *surface)
    : QLabel(surface->viewport())
    , m_surface(surface)
{
    setObjectName(QStringLiteral("PlaceReadout"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // The window's own colours, readable on any surface colour (the view's
    // palette carries the design's colours, which it would otherwise take).
    // (Each role set one by one: a palette set whole, with no role of its
    // own, would still follow the view's.)
    QPalette own = QApplication::palette();
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::WindowText})
        own.setColor(role, own.color(role));
    setPalette(own);
    setAutoFillBackground(true);
    setMargin(2);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    hide();
}

void PlaceReadout::follow(QWidget *control, const QString &name)
{
    m_control = control;
    m_name = name;
    update(control);
}

void PlaceReadout::update(QWidget *control)
{
    if (control != m_control)
        return;
    if (!m_control || m_control->isHidden()) {
        hide();
        return;
    }
    const QRect r = m_control->geometry();
    setText(QStringLiteral("%1: %2, %3  %4 \u00d7 %5").arg(m_name).arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()));
    adjustSize();
    place();
    show();
    raise();
}

void PlaceReadout::place()
{
    const QWidget *view = m_surface->viewport();
    move(view->width() - width() - 4, view->height() - height() - 4);
}
