#pragma once

#include "platform/dialogprompts.h"

#include <QList>
#include <deque>
#include <functional>

namespace qm {

// A Prompts implementation for tests: every question is answered from a
// script, every interaction is recorded, and an unscripted question fails
// loudly instead of waiting for a person.
class ScriptedPrompts : public DialogPrompts {
public:
    struct Record {
        enum class Kind { Message, AskIfSave, FileDialog, ColorDialog, Dialog };
        Kind kind;
        BoxIcon icon = BoxIcon::Information;
        BoxButtons buttons = BoxButtons::Ok;
        QString caption;
        QString text;
        FileDialogRequest file;
        unsigned color = 0;   // the colour a colour dialog started with
    };

    ModalResult messageBox(BoxIcon icon, const QString &caption, const QString &text,
                           BoxButtons buttons) override;
    ModalResult askIfSave() override;
    std::optional<QString> fileDialog(const FileDialogRequest &request) override;
    std::optional<unsigned> colorDialog(unsigned initial) override;
    ModalResult execDialog(QDialog *dialog) override;

    // Answers for questions (Yes/No boxes and the unsaved-changes question), in order.
    std::deque<ModalResult> answers;
    // Answers for file dialogs: a path, or nullopt for Cancel.
    std::deque<std::optional<QString>> files;
    // Answers for colour dialogs.
    std::deque<std::optional<unsigned>> colors;
    // Handlers for property dialogs: each gets the dialog and returns its result.
    std::deque<std::function<ModalResult(QDialog *)>> dialogs;

    QList<Record> log;

    // Texts of all message boxes shown so far.
    QStringList messages() const;
    // Number of interactions of one kind.
    int count(Record::Kind kind) const;
    // True when every scripted answer has been used.
    bool exhausted() const { return answers.empty() && files.empty() && colors.empty() && dialogs.empty(); }
    // Set when something was asked that the script did not answer.
    QString unscripted;

private:
    ModalResult nextAnswer(const QString &what);
};

} // namespace qm
