#pragma once

#include "imageview/tpmultiimage.h"

// A button of the design: an image view that shows its default picture
// stretched to its rectangle. Its Tag is its index in the button list, where
// the main window keeps its fields.
class TMyButton : public TPMultiImage {
    Q_OBJECT
public:
    TMyButton(QWidget *owner, const qm::ImageViewContext &context);

    int Tag = 0;
};

class TCleanMyButton : public TMyButton {
    Q_OBJECT
public:
    using TMyButton::TMyButton;

    // Buttons read from a project file open their properties on a double click.
    bool EditOnDoubleClick = false;

    // Selected together with the selection: a dashed outline on the picture,
    // which moves with the button.
    void setAlsoSelected(bool also);
    bool isAlsoSelected() const { return m_also; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_also = false;
};
