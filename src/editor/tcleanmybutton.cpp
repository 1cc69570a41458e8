#include "editor/tcleanmybutton.h"

#include "dialogs/helpcontext.h"

TMyButton::TMyButton(QWidget *owner, const qm::ImageViewContext &context)
    : TPMultiImage(owner, context)
{
    setStretch(true);
    setAutoSize(false);
    setMouseTracking(true);
    qm::help::setContext(this, 400);
}
