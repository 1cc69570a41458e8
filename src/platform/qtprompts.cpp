#include "platform/qtprompts.h"

#include "platform/filefilter.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace qm {

QWidget *QtPrompts::dialogParent() const
{
    // Asked from inside a property dialog, the box belongs over that dialog.
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return m_parent;
}

ModalResult QtPrompts::messageBox(BoxIcon icon, const QString &caption, const QString &text,
                                  BoxButtons buttons)
{
    QMessageBox box(dialogParent());
    switch (icon) {
    case BoxIcon::Information: box.setIcon(QMessageBox::Information); break;
    case BoxIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case BoxIcon::Error: box.setIcon(QMessageBox::Critical); break;
    case BoxIcon::Question: box.setIcon(QMessageBox::Question); break;
    }
    box.setWindowTitle(caption);
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    box.setText(shown);
    switch (buttons) {
    case BoxButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case BoxButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case BoxButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok: return ModalResult::Ok;
    case QMessageBox::Yes: return ModalResult::Yes;
    case QMessageBox::No: return ModalResult::No;
    default: return ModalResult::Cancel;
    }
}

ModalResult QtPrompts::askIfSave()
{
    if (!m_askIfSave && m_makeAskIfSave)
        m_askIfSave = m_makeAskIfSave();
    if (!m_askIfSave)
        return ModalResult::Cancel;
    const int r = m_askIfSave->exec();
    switch (r) {
    case 6: return ModalResult::Yes;
    case 7: return ModalResult::No;
    default: return ModalResult::Cancel;
    }
}

std::optional<QString> QtPrompts::fileDialog(const FileDialogRequest &request)
{
    QFileDialog dialog(dialogParent(), request.caption);
    dialog.setAcceptMode(request.mode == FileDialogRequest::Mode::Save ? QFileDialog::AcceptSave
                                                                       : QFileDialog::AcceptOpen);
    // Any typed name comes back, also one that does not exist or exists in
    // another case: the program decides what such a name means.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    if (!request.filter.isEmpty()) {
        // "All Files (*.*)" shows every file, as on Windows, and still reads so.
        bool hideDetails = false;
        const QStringList filters = dialogFilters(request.filter, &hideDetails);
        dialog.setOption(QFileDialog::HideNameFilterDetails, hideDetails);
        dialog.setNameFilters(filters);
        if (!request.selectedFilter.isEmpty()) {
            const qsizetype at = request.filter.split(QLatin1String(";;"), Qt::SkipEmptyParts)
                                     .indexOf(request.selectedFilter);
            if (at >= 0 && at < filters.size())
                dialog.selectNameFilter(filters.at(at));
        }
    }
    if (!request.directory.isEmpty())
        dialog.setDirectory(request.directory);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<unsigned> QtPrompts::colorDialog(unsigned initial)
{
    const QColor start(int(initial & 0xFF), int((initial >> 8) & 0xFF), int((initial >> 16) & 0xFF));
    const QColor c = QColorDialog::getColor(start, dialogParent());
    if (!c.isValid())
        return std::nullopt;
    return unsigned(c.red()) | (unsigned(c.green()) << 8) | (unsigned(c.blue()) << 16);
}

ModalResult QtPrompts::execDialog(QDialog *dialog)
{
    const int r = dialog->exec();
    switch (r) {
    case 1: return ModalResult::Ok;
    case 6: return ModalResult::Yes;
    case 7: return ModalResult::No;
    default: return ModalResult::Cancel;
    }
}

} // namespace qm
