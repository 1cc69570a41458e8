#include "dialogs/dialogparts.h"

#include "imageview/tpmultiimage.h"
#include "platform/filefilter.h"
#include "platform/paths.h"
#include "platform/prompts.h"

#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace qm::dialogs {

QString imageFilter()
{
    return qtFileFilter(QStringLiteral(
        "GIF Images (*.GIF)|*.GIF|JPEG Images (*.JPEG & *.JPG)|*.JPEG;*.JPG|PNG Files (*.PNG)|*.PNG|All Files (*.*)|*.*"));
}

QString soundFilter()
{
    return qtFileFilter(QStringLiteral("AU Files (*.AU)|*.AU|All Files (*.*)|*.*"));
}

QString anyFileFilter()
{
    return qtFileFilter(QStringLiteral("All Files (*.*)|*.*"));
}

std::optional<QString> FileChooserDialog::run(Prompts *prompts, const QString &rememberedFolder)
{
    if (!rememberedFolder.isEmpty())
        m_directory = rememberedFolder;
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Open;
    request.caption = QStringLiteral("Open");
    request.directory = m_directory;
    request.filter = m_filter;
    std::optional<QString> chosen = prompts->fileDialog(request);
    if (chosen)
        m_directory = folderPart(*chosen);
    return chosen;
}

TPMultiImage *makePreview(QWidget *parent, const ImageViewContext &context)
{
    auto *preview = new TPMultiImage(parent, context);
    preview->setBorderStyle(TPMultiImage::bsSingle);
    preview->setStretch(true);
    preview->setFocusPolicy(Qt::NoFocus);
    preview->setFixedSize(156, 65);
    preview->setImageName(fileNotFoundName());
    return preview;
}

QLabel *previewCaption(QWidget *parent)
{
    auto *label = new QLabel(QStringLiteral("Image\nPreview:"), parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    return label;
}

void setHelpContext(QWidget *page, int n)
{
    page->setProperty("helpContext", n);
    for (QWidget *w : page->findChildren<QWidget *>())
        w->setProperty("helpContext", n);
}

OkCancel makeOkCancel(QDialog *dialog)
{
    OkCancel b;
    b.ok = new QPushButton(QStringLiteral("OK"), dialog);
    b.ok->setObjectName(QStringLiteral("OKBtn"));
    b.ok->setDefault(true);
    b.ok->setAutoDefault(true);
    b.cancel = new QPushButton(QStringLiteral("Cancel"), dialog);
    b.cancel->setObjectName(QStringLiteral("CancelBtn"));
    b.cancel->setAutoDefault(false);
    QObject::connect(b.ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(b.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return b;
}

void centreOnScreen(QWidget *window)
{
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        window->move((area.width() - window->width()) / 2, (area.height() - window->height()) / 2);
    }
}

} // namespace qm::dialogs
