#pragma once

#include "platform/dialogprompts.h"

#include <functional>

class QDialog;
class QWidget;

namespace qm {

// The program's prompts: Qt message boxes, file and colour dialogs, and the
// unsaved-changes question dialog.
class QtPrompts : public DialogPrompts {
public:
    explicit QtPrompts(QWidget *parent = nullptr) : m_parent(parent) {}

    void setParent(QWidget *parent) { m_parent = parent; }
    // The unsaved-changes question: a dialog that ends with 6 (Yes), 7 (No)
    // or 2 (Cancel).
    void setAskIfSave(QDialog *dialog) { m_askIfSave = dialog; }
    // The same, made when the question is first asked.
    void setAskIfSave(std::function<QDialog *()> create) { m_makeAskIfSave = std::move(create); }

    ModalResult messageBox(BoxIcon icon, const QString &caption, const QString &text,
                           BoxButtons buttons) override;
    ModalResult askIfSave() override;
    std::optional<QString> fileDialog(const FileDialogRequest &request) override;
    std::optional<unsigned> colorDialog(unsigned initial) override;
    ModalResult execDialog(QDialog *dialog) override;

private:
    QWidget *dialogParent() const;

    QWidget *m_parent = nullptr;
    QDialog *m_askIfSave = nullptr;
    std::function<QDialog *()> m_makeAskIfSave;
};

} // namespace qm
