// Files dropped from a file manager: pictures become buttons on the bare
// surface, the picture of the button they land on (Shift: its mouse-over
// picture) or the Blurb picture on the Blurb area; a project file opens.

#include "editor/areaedit.h"
#include "editor/designsurface.h"
#include "editor/tcleanmybutton.h"
#include "editor/tmainform.h"
#include "model/droppedfiles.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

using namespace qm::edit;

namespace {

qm::DroppedFiles droppedFiles(const QMimeData *mime)
{
    if (!mime || !mime->hasUrls())
        return {};
    QStringList paths;
    for (const QUrl &url : mime->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    return qm::sortDroppedFiles(paths);
}

} // namespace

void TMainForm::setUpDrops()
{
    Background->canvas()->setAcceptDrops(true);
    BlurbImage->setAcceptDrops(true);
}

bool TMainForm::fileDropEvent(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    // Only the surface and what lies on it take files.
    auto *widget = qobject_cast<QWidget *>(watched);
    QWidget *canvas = Background->canvas();
    if (!widget || (widget != canvas && !canvas->isAncestorOf(widget)))
        return false;
    auto *drop = static_cast<QDropEvent *>(event);
    const qm::DroppedFiles files = droppedFiles(drop->mimeData());
    // Anything else (text onto a text area) is the control's own.
    if (files.isEmpty())
        return false;
    drop->acceptProposedAction();
    if (type != QEvent::Drop)
        return true;
    const QPoint at = widget == canvas ? drop->position().toPoint() : widget->mapTo(canvas, drop->position().toPoint());
    const bool shift = drop->modifiers() & Qt::ShiftModifier;
    // After the drop has ended: the file manager is not held while a
    // question is open, and an opened design replaces the very controls the
    // drop went to.
    QTimer::singleShot(0, this, [this, files, at, shift, target = QPointer<QWidget>(widget)] {
        dropFiles(files, target, at, shift);
    });
    return true;
}

void TMainForm::dropFiles(const qm::DroppedFiles &files, QWidget *target, QPoint at, bool shift)
{
    if (!files.projects.isEmpty()) {
        m_files->openWithQuestion(files.projects.first());
        return;
    }
    finishGesture();
    const QString picture = files.pictures.first();
    const int button = int(ButtonControls.indexOf(qobject_cast<TCleanMyButton *>(target)));
    if (button >= 0) {
        flushSelection();
        const qm::ButtonData before = design().Buttons.at(button);
        m_document->push(new ButtonPropertiesStep(*m_document, button, before, qm::withPicture(before, picture, shift)));
        return;
    }
    if (target && design().ShowTitleAndBlurb && (target == BlurbImage || target == Blurb->viewport())) {
        const int selected = selectionIndex();
        flushSelection();
        if (selected >= 0) {
            qm::ButtonData edited = design().Buttons.at(selected);
            edited.MouseOverBlurbImage = picture;
            m_document->push(new ButtonPropertiesStep(*m_document, selected, design().Buttons.at(selected), edited));
        } else {
            qm::BackgroundData edited = design().background();
            edited.BlurbImageName = picture;
            edited.BlurbImagePath = picture.toUpper();
            applyBackgroundProperties(edited);
        }
        return;
    }
    addButtons(QStringLiteral("Drop Pictures"), qm::buttonsForPictures(design(), program(), files.pictures, at),
               QPoint(std::max(0, at.x()), std::max(0, at.y())));
}
