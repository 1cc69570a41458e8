#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace qm {

// Modal results, numbered as the dialogs' modal results are.
enum class ModalResult { None = 0, Ok = 1, Cancel = 2, Yes = 6, No = 7 };

enum class BoxIcon { Information, Warning, Error, Question };

enum class BoxButtons { Ok, YesNo, YesNoCancel };

struct FileDialogRequest {
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    QString caption;
    QString directory;    // folder the dialog starts in; empty: the dialog's own choice
    QString fileName;     // prefilled name
    QString filter;       // Qt form: "Name (*.A *.B);;All Files (*)"
    QString selectedFilter; // the filter shown first; empty: the first of `filter`
    bool confirmOverwrite = false;
    // Files offered in a list of their own besides the folder (Open's recent
    // projects, newest first); one picked there is the answer.
    QStringList recent;
};

// Every modal interaction of the program goes through this interface, so the
// program shows real dialogs while tests script the answers.
class Prompts {
public:
    virtual ~Prompts() = default;

    // A message box: the text, an icon and one of the button sets.
    // Returns the button pressed (Ok for a box with only an OK button).
    virtual ModalResult messageBox(BoxIcon icon, const QString &caption, const QString &text,
                                   BoxButtons buttons) = 0;

    // The unsaved-changes question: Yes, No or Cancel.
    virtual ModalResult askIfSave() = 0;

    // An open or save file dialog. nullopt when the user cancels.
    virtual std::optional<QString> fileDialog(const FileDialogRequest &request) = 0;

    // The colour dialog, starting at `initial` (0x00BBGGRR). nullopt on Cancel.
    virtual std::optional<unsigned> colorDialog(unsigned initial) = 0;

    // Conveniences for the standard boxes.
    void information(const QString &text) { messageBox(BoxIcon::Information, QStringLiteral("Information"), text, BoxButtons::Ok); }
    void warning(const QString &text) { messageBox(BoxIcon::Warning, QStringLiteral("Warning"), text, BoxButtons::Ok); }
    void error(const QString &text) { messageBox(BoxIcon::Error, QStringLiteral("Error"), text, BoxButtons::Ok); }
};

} // namespace qm
