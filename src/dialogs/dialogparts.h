#pragma once

// Pieces the property dialogs share: the image previews, the open-file
// dialogs with the folder they start in, help contexts and placement.

#include "imageview/pictureloader.h"
#include "platform/dialogprompts.h"

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QWidget;
class TPMultiImage;

namespace qm {
class LimitedTextEdit;
class Prompts;
}

namespace qm::dialogs {

// What a property dialog needs of the program: the prompts, the loading of
// its previews' pictures and, for the chooser that makes paths relative to
// the project, the project's file name and the Save As that gives it one.
struct DialogContext {
    DialogPrompts *prompts = nullptr;
    ImageViewContext images;
    // The project's file name; empty while the design was never saved.
    std::function<QString()> projectFileName;
    // The folder of the project's file; empty while the design was never saved.
    std::function<QString()> projectFolder;
    // Runs Save As; true when the user accepted its file dialog.
    std::function<bool()> saveAs;
};

// Filters of the open-file dialogs, in Qt's form.
QString imageFilter();
QString soundFilter();
QString anyFileFilter();

// One open-file dialog, used by one or more choosers. A saved design's
// choosers open in the project's folder, or in the folder last used for that
// kind of file when it lies within the project's (the site's picture folder).
// Otherwise the chooser's own remembered folder, else the one the dialog was
// last picked from (so a chooser used for the first time opens where another
// chooser of the same dialog was used last); the first of all in the user's
// home (never where the program happens to run).
class FileChooserDialog {
public:
    explicit FileChooserDialog(QString filter) : m_filter(std::move(filter)) {}

    // Runs the dialog. The chosen full file name, or nothing on Cancel.
    std::optional<QString> run(Prompts *prompts, const QString &rememberedFolder, const DialogContext &context);

    QString directory() const { return m_directory; }

private:
    QString m_filter;
    QString m_directory;
};

// An image preview: the picture stretched to the preview's size, "file not
// found" until it is first given a name.
TPMultiImage *makePreview(QWidget *parent, const ImageViewContext &context);

// The two-line caption beside a preview.
QLabel *previewCaption(QWidget *parent);

// Gives a page and every control on it the help context `n`.
void setHelpContext(QWidget *page, int n);

// A caption for a field; clicking it focuses the field.
QLabel *fieldLabel(const QString &text, QWidget *parent, QWidget *buddy);

// Makes a text field one-line: it never holds a line break, which would
// split its value in the project or settings file. Text that brings line
// breaks (pasted, dropped or set) keeps its part up to its first break; what
// the field held around it stays.
void makeOneLine(QLineEdit *field);

// The text a one-line field keeps of `text` inserted before position
// `cursor` (the end of the insertion), and the cursor after it.
QString withoutLineBreaks(const QString &text, int *cursor);

// A multi-line text box `lines` lines high; Tab leaves it, Enter starts a
// new line.
qm::LimitedTextEdit *makeTextBox(QWidget *parent, const QString &name, int lines);

// Places a window in the middle of the primary screen.
void centreOnScreen(QWidget *window);

} // namespace qm::dialogs

// A property dialog: its pages, "OK" (default, answers Enter, result 1) and
// "Cancel" (answers Escape, result 2).
class PropertyDialog : public QDialog {
    Q_OBJECT
public:
    PropertyDialog(QWidget *parent, const QString &name, const QString &caption);

    QTabWidget *PageControl1 = nullptr;
    QPushButton *OKBtn = nullptr;
    QPushButton *CancelBtn = nullptr;

public slots:
    void reject() override;

protected:
    // Adds a page; the page and every control on it get the help context.
    // The tab bar and the dialog's own buttons take the shown page's.
    void addPage(QWidget *page, const QString &caption, int helpContext);

private:
    void followPage(int index);
};
