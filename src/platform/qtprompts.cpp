#include "platform/qtprompts.h"

#include "platform/filefilter.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>

namespace qm {

namespace {

// A list of recent files under the dialog's folder view: a click shows the
// file in its folder, a double-click or Enter opens it at once. Only Qt's
// own dialog can carry it; a desktop's dialog has its own recent place, which
// the program's projects are entered in.
void addRecentList(QFileDialog &dialog, const QStringList &recent, QString *picked)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto *grid = qobject_cast<QGridLayout *>(dialog.layout());
    if (!grid)
        return;
    auto *list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("recentList"));
    for (const QString &path : recent) {
        const QFileInfo info(path);
        auto *item = new QListWidgetItem(
            QStringLiteral("%1 \u2014 %2").arg(info.fileName(), QDir::toNativeSeparators(info.absolutePath())), list);
        item->setData(Qt::UserRole, path);
        item->setToolTip(path);
    }
    list->setMaximumHeight(list->sizeHintForRow(0) * 5 + 2 * list->frameWidth());
    auto *label = new QLabel(QStringLiteral("&Recent projects:"), &dialog);
    label->setBuddy(list);
    const int row = grid->rowCount();
    grid->addWidget(label, row, 0, 1, -1);
    grid->addWidget(list, row + 1, 0, 1, -1);
    QObject::connect(list, &QListWidget::itemClicked, &dialog,
                     [&dialog](QListWidgetItem *item) { dialog.selectFile(item->data(Qt::UserRole).toString()); });
    QObject::connect(list, &QListWidget::itemActivated, &dialog, [&dialog, picked](QListWidgetItem *item) {
        *picked = item->data(Qt::UserRole).toString();
        static_cast<QDialog &>(dialog).done(QDialog::Accepted);
    });
}

} // namespace

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
    QString picked;
    // Only for opening: picked in a Save dialog, a project would be written over.
    if (!request.recent.isEmpty() && request.mode == FileDialogRequest::Mode::Open)
        addRecentList(dialog, request.recent, &picked);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    if (!picked.isEmpty())
        return picked;
    if (dialog.selectedFiles().isEmpty())
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
