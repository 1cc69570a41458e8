#include "editor/tcleanmybutton.h"

TMyButton::TMyButton(QWidget *owner, const qm::ImageViewContext &context)
    : TPMultiImage(owner, context)
{
    setStretch(true);
    setAutoSize(false);
    setMouseTracking(true);
}
