#pragma once

#include "platform/prompts.h"

#include <QStringList>
#include <functional>

class QDialog;
class QWidget;

namespace qm {
class ScriptedPrompts;
}

namespace dialogtest {

// Scripts the next property dialog: `edit` sets its controls as a user would,
// and the dialog ends with `result`. The dialog must be of type D.
template <typename D>
void script(qm::ScriptedPrompts &prompts, std::function<void(D *)> edit,
            qm::ModalResult result = qm::ModalResult::Ok);

// The object names of the controls on `page` that Tab visits, in order.
QStringList tabStops(QWidget *page);

// Shows the dialog through the real prompts and presses `key` in `target`
// once it is up; returns the modal result (None when the key left the
// dialog open).
qm::ModalResult pressInRealDialog(QDialog *dialog, QWidget *target, int key);

// The texts of the labels, group boxes and buttons on the page.
QStringList captions(QWidget *page);

// Every widget on the page (the page included) whose help context is not n.
QStringList withoutHelpContext(QWidget *page, int n);

} // namespace dialogtest

#include "scriptedprompts.h"

template <typename D>
void dialogtest::script(qm::ScriptedPrompts &prompts, std::function<void(D *)> edit, qm::ModalResult result)
{
    prompts.dialogs.push_back([edit, result](QDialog *dialog) {
        D *d = qobject_cast<D *>(dialog);
        if (!d)
            return qm::ModalResult::None;
        if (edit)
            edit(d);
        return result;
    });
}
