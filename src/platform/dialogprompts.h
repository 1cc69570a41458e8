#pragma once

#include "platform/prompts.h"

class QDialog;

namespace qm {

// The prompts of the widgets layer: the property dialogs run modally
// through them too, so that tests script them as they script the boxes.
class DialogPrompts : public Prompts {
public:
    // Runs a property dialog modally and returns its modal result.
    virtual ModalResult execDialog(QDialog *dialog) = 0;
};

} // namespace qm
