// The main window's document commands: New, Open, Save, Save As and Quit,
// the project file's reading and writing, and the commands that build the
// applet block (Compile, Preview) or edit the settings (Options).

#include "editor/tmainform.h"

#include "model/projectlock.h"

#include "compile/appletblock.h"
#include "compile/runtimefiles.h"
#include "dialogs/toptionsform.h"
#include "dialogs/ttableform.h"
#include "editor/tcleanmybutton.h"
#include "editor/designsurface.h"
#include "editor/areaedit.h"
#include "model/projectfile.h"
#include "model/projectload.h"
#include "platform/caseresolve.h"
#include "platform/clipboard.h"
#include "platform/fileops.h"
#include "platform/filefilter.h"
#include "platform/prompts.h"
#include "preview/previewcommand.h"
#include "preview/tddeform.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFrame>
#include <QPushButton>

// --- Document commands ---------------------------------------------------------

void TMainForm::NewButtonClick()
{
    if (NewTable())
        AddDefaultButton();
}

void TMainForm::QuitButtonClick()
{
    close();
}

void TMainForm::OpenButtonClick()
{
    Open();
}

void TMainForm::SaveButtonClick()
{
    // Save always asks for the name, also for a design that has a file.
    SaveAs();
}

namespace {

const char *const kProjectFilter = "Quillmap Files (*.QMF)|*.QMF|All Files (*.*)|*.*";

QString fileCaption(const qm::Design &d)
{
    return d.FileDirUpper + d.FileNameUpper + QLatin1String(" - Quillmap");
}

} // namespace

void TMainForm::setFileNames(const QString &path)
{
    qm::setProjectFileNames(design(), path);
}

void TMainForm::flushSelection()
{
    if (SelectedButton)
        HighlightButton(SelectedButton);
    else
        HighlightTable();
}

bool TMainForm::Save()
{
    if (design().FileNameUpper.isEmpty() || design().FileDirUpper.isEmpty())
        return SaveAs();

    flushSelection();

    const QList<qm::StoredValue> values = qm::storedValues(design(), lineBreaker());
    const QByteArray bytes = qm::projectBytes(values);

    const QString path = design().FileDir + design().FileName;
    // A file another program has open is not written over; this window's
    // claim moves to the new file only once it is written.
    std::unique_ptr<qm::ProjectLock> lock;
    if (!lockProject(path, lock))
        return false;
    // Only a file that Open reads back as this design replaces the old one.
    if (const std::optional<QString> field = qm::fieldNotReadBack(bytes, values, design())) {
        prompts()->warning(QLatin1String("Error saving ") + path + QLatin1String(": the ") + *field
                           + QLatin1String(" cannot be stored in a project file. The file was not changed."));
        return false;
    }
    QString reason;
    if (!qm::writeFileAtomically(path, bytes, &reason)) {
        // The old file is intact; the design stays unsaved.
        prompts()->warning(QLatin1String("Error saving ") + path + QLatin1String(": ") + reason);
        return false;
    }
    if (lock)
        m_projectLock = std::move(lock);
    setWindowTitle(fileCaption(design()));
    markSaved();
    if (!SelectedButton)
        HighlightTable();
    return true;
}

bool TMainForm::SaveAs()
{
    qm::FileDialogRequest request;
    request.mode = qm::FileDialogRequest::Mode::Save;
    request.caption = QStringLiteral("Save As");
    request.filter = qm::qtFileFilter(QString::fromLatin1(kProjectFilter));
    request.confirmOverwrite = true;
    if (!design().FileName.isEmpty())
        request.fileName = design().FileName;
    if (!design().FileDir.isEmpty())
        request.directory = design().FileDir;
    const std::optional<QString> chosen = prompts()->fileDialog(request);
    if (!chosen)
        return false;

    // A Save As that fails changes nothing, its file name included: the
    // next Save offers the file the design belongs to, not the one that
    // could not be written.
    const QStringList before{design().FileName, design().FileNameUpper, design().FileDir, design().FileDirUpper};
    setFileNames(*chosen);
    if (!design().FileName.contains(QLatin1Char('.'))) {
        design().FileName += QLatin1String(".qmf");
        design().FileNameUpper += QLatin1String(".qmf");
    }
    if (!Save()) {
        design().FileName = before[0];
        design().FileNameUpper = before[1];
        design().FileDir = before[2];
        design().FileDirUpper = before[3];
        return false;
    }
    markSaved();
    return true;
}

void TMainForm::Open()
{
    if (!isSaved()) {
        const qm::ModalResult answer = prompts()->askIfSave();
        if (answer == qm::ModalResult::Yes) {
            if (!Save())
                return;
        } else if (answer != qm::ModalResult::No) {
            return;
        }
    }

    qm::FileDialogRequest request;
    request.mode = qm::FileDialogRequest::Mode::Open;
    request.caption = QStringLiteral("Open");
    request.filter = qm::qtFileFilter(QString::fromLatin1(kProjectFilter));
    // The name is offered in upper case; file names here keep their case, so
    // the dialog gets the name of the file on disk that it stands for.
    if (!design().FileNameUpper.isEmpty()) {
        const QString found = qm::resolveCaseInsensitive(design().FileDir + design().FileNameUpper);
        request.fileName = found.isEmpty() ? design().FileNameUpper : qm::fileNamePart(found);
    }
    if (!design().FileDirUpper.isEmpty())
        request.directory = design().FileDir;
    const std::optional<QString> chosen = prompts()->fileDialog(request);
    if (!chosen)
        return;
    openChosenFile(*chosen);
}

void TMainForm::openChosenFile(const QString &chosen)
{
    QString message;
    const QString path = qm::findProjectFile(chosen, &message);
    if (path.isEmpty()) {
        prompts()->warning(message);
        return;
    }

    // Another program editing the file is asked about before anything of
    // the design shown is let go.
    std::unique_ptr<qm::ProjectLock> lock;
    if (!mayOpen(path, lock))
        return;
    // Asks a second time when the design is still unsaved ("No" above).
    if (!NewTable())
        return;
    readProjectFile(path);
    if (!design().FileName.isEmpty())
        m_projectLock = std::move(lock);
}

void TMainForm::readProjectFile(const QString &path)
{
    QString message;
    if (!m_document->open(path, &message)) {
        // Nothing read from the file survives: a fresh, untitled design.
        prompts()->warning(message);
        markSaved();
        NewTable();
        AddDefaultButton();
        HighlightTable();
        markSaved();
        return;
    }

    showOpenedDesign();
}

void TMainForm::showOpenedDesign()
{
    // Every picture of the design is looked up by its upper-cased name; the
    // folders they lie in are listed once for all of them.
    const qm::CaseResolveScope listedOnce;
    pushDesignToControls();
    if (design().ShowTitleAndBlurb) {
        Title->show();
        Blurb->show();
    } else {
        Title->hide();
        Blurb->hide();
    }
    BlurbImage->hide();
    Title->setText(design().BgTitleText);
    Blurb->setText(design().BgBlurbText);
    BlurbImage->setImageName(design().BlurbImageName.toUpper());

    // A control that is shown asks to be drawn on its own, and the first
    // drawing after thousands of such requests looks at every pair of
    // buttons. The new buttons' requests are dropped and the surface is
    // drawn once instead, buttons and all (requests made before stay).
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateLater);
    for (int i = 0; i < design().Buttons.size(); ++i) {
        TCleanMyButton *b = createButtonControl(i);
        b->EditOnDoubleClick = m_document->editsOnDoubleClick(i);
        b->setImageName(design().Buttons.at(i).DefImagePath);
        b->show();
        ButtonControls.append(b);
    }
    QCoreApplication::removePostedEvents(nullptr, QEvent::UpdateLater);
    Background->canvas()->update();
    ButtonBevel->lower();
    Background->updateExtent();

    setWindowTitle(fileCaption(design()));
    HighlightTable();
}

bool TMainForm::FormCloseQuery()
{
    if (isSaved())
        return true;
    switch (prompts()->askIfSave()) {
    case qm::ModalResult::Yes:
        return SaveAs();
    case qm::ModalResult::No:
        return true;
    default:
        return false;
    }
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

// --- Compile ------------------------------------------------------------------------

void TMainForm::CompileButtonClick(QObject *)
{
    auto hasFile = [this] { return !design().FileNameUpper.isEmpty() && !design().FileDirUpper.isEmpty(); };
    bool go = true;
    if (!hasFile()) {
        prompts()->information(QStringLiteral(
            "Please save the current file, so that Quillmap can work out all the relative paths in relation to it."));
        go = Save() && hasFile();
    }
    if (go && !design().ShowTitleAndBlurb && design().Buttons.isEmpty()) {
        prompts()->information(QStringLiteral("There are no Buttons!"));
        go = false;
    }
    if (go && BuildCompileString(false)) {
        if (m_services.clipboard)
            m_services.clipboard->setText(HTML);
        const qm::ModalResult answer = prompts()->messageBox(
            qm::BoxIcon::Information, QStringLiteral("Information"),
            QLatin1String("Applet Code copied to Clipboard!\r\nCopy class files to ") + design().FileDirUpper
                + QLatin1String(" ?"),
            qm::BoxButtons::YesNo);
        QList<qm::SkippedCopy> skipped = m_skippedSounds;
        if (answer == qm::ModalResult::Yes && m_services.files) {
            // A missing or protected file is skipped; the others are still copied.
            skipped += qm::copyEach(*m_services.files, qm::runtimeCopies(program().AppDir, design().FileDir),
                                    qm::CopyKind::Durable)
                           .skipped;
        }
        if (!skipped.isEmpty())
            prompts()->warning(qm::skippedCopiesMessage(skipped));
        Save();
    }

    if (SelectedButton) {
        EditButton->setEnabled(true);
        DeleteButton->setEnabled(true);
    } else {
        HighlightTable();
    }
}

// --- Preview and Options ------------------------------------------------------------

void TMainForm::PreviewButtonClick(QObject *)
{
    qm::PreviewEnv env;
    env.prompts = prompts();
    env.files = m_services.files;
    env.launcher = DDEForm;
    env.buildBlock = [this] { return BuildCompileString(true); };
    env.writePage = [this](QString *reason) { return WritePreviewFile(reason); };
    qm::runPreview(design(), program(), env);
}

bool TMainForm::WritePreviewFile(QString *reason)
{
    return qm::writePreviewPage(design().FileDir + design().FileName, HTML, reason);
}

void TMainForm::OptionsButtonClick(QObject *)
{
    OptionsForm->editSettings(program());
}

// --- Applet block ---------------------------------------------------------------------------

bool TMainForm::BuildCompileString(bool preview)
{
    // What was typed into the selection is part of the block.
    flushSelection();

    qm::AppletBuildEnv env;
    env.lines = &lineBreaker();
    env.files = m_services.files;
    env.surfaceSize = Background->size();

    const std::optional<qm::AppletBlock> block = qm::buildAppletBlock(design(), preview, env);
    if (!block)
        return false;
    HTML = block->html;
    m_skippedSounds = block->skipped;
    if (!preview && block->soundFound)
        prompts()->information(qm::soundsCopiedMessage(design()));
    return true;
}
