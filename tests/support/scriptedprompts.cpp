#include "scriptedprompts.h"

namespace qm {

ModalResult ScriptedPrompts::nextAnswer(const QString &what)
{
    if (answers.empty()) {
        unscripted += what + QLatin1Char('\n');
        qWarning("ScriptedPrompts: unscripted question: %s", qPrintable(what));
        return ModalResult::Cancel;
    }
    ModalResult r = answers.front();
    answers.pop_front();
    return r;
}

ModalResult ScriptedPrompts::messageBox(BoxIcon icon, const QString &caption, const QString &text,
                                        BoxButtons buttons)
{
    Record rec{Record::Kind::Message, icon, buttons, caption, text, {}};
    log.append(rec);
    if (buttons == BoxButtons::Ok)
        return ModalResult::Ok;
    return nextAnswer(text);
}

ModalResult ScriptedPrompts::askIfSave()
{
    log.append(Record{Record::Kind::AskIfSave, BoxIcon::Question, BoxButtons::YesNoCancel,
                      QStringLiteral("Quillmap"), QStringLiteral("The applet has changed,"), {}});
    return nextAnswer(QStringLiteral("unsaved-changes question"));
}

std::optional<QString> ScriptedPrompts::fileDialog(const FileDialogRequest &request)
{
    Record rec{Record::Kind::FileDialog, BoxIcon::Information, BoxButtons::Ok, request.caption, {}, request};
    log.append(rec);
    if (files.empty()) {
        unscripted += QStringLiteral("file dialog\n");
        qWarning("ScriptedPrompts: unscripted file dialog");
        return std::nullopt;
    }
    const bool accepted = files.front().has_value();
    const QString path = accepted ? *files.front() : QString();
    files.pop_front();
    if (!accepted)
        return std::nullopt;
    return path;
}

std::optional<unsigned> ScriptedPrompts::colorDialog(unsigned initial)
{
    log.append(Record{Record::Kind::ColorDialog, BoxIcon::Information, BoxButtons::Ok, {}, {}, {}, initial});
    if (colors.empty()) {
        unscripted += QStringLiteral("colour dialog\n");
        return std::nullopt;
    }
    auto r = colors.front();
    colors.pop_front();
    return r;
}

ModalResult ScriptedPrompts::execDialog(QDialog *dialog)
{
    log.append(Record{Record::Kind::Dialog, BoxIcon::Information, BoxButtons::Ok, {}, {}, {}});
    if (dialogs.empty()) {
        unscripted += QStringLiteral("property dialog\n");
        return ModalResult::Cancel;
    }
    auto handler = std::move(dialogs.front());
    dialogs.pop_front();
    return handler(dialog);
}

QStringList ScriptedPrompts::messages() const
{
    QStringList out;
    for (const Record &r : log)
        if (r.kind == Record::Kind::Message)
            out << r.text;
    return out;
}

int ScriptedPrompts::count(Record::Kind kind) const
{
    int n = 0;
    for (const Record &r : log)
        if (r.kind == kind)
            ++n;
    return n;
}

} // namespace qm
