// The main window's document commands: New, Open, Save, Save As and Quit
// (the document's file commands do the work, and the window shows the
// designs they read), and the commands that build the applet block
// (Compile, Preview) or edit the settings (Options).

#include "editor/tmainform.h"
#include "model/recentfiles.h"

#include "model/projectlock.h"

#include "compile/appletblock.h"
#include "compile/linkcheck.h"
#include "model/designsteps.h"
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

#include <QToolButton>
#include <QMenu>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QUndoStack>
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

void TMainForm::flushSelection()
{
    // Selecting the selection again stores what was typed into its texts.
    m_document->select(m_document->selection());
}

bool TMainForm::Save()
{
    return m_files->save();
}

bool TMainForm::SaveAs()
{
    return m_files->saveAs();
}

void TMainForm::Open()
{
    m_files->open();
}

void TMainForm::openChosenFile(const QString &chosen)
{
    m_files->openChosenFile(chosen);
}

void TMainForm::readProjectFile(const QString &path)
{
    m_files->readProjectFile(path);
}

bool TMainForm::FormCloseQuery()
{
    return m_files->closeQuery();
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

void TMainForm::offerRecovery()
{
    m_files->offerRecovery();
}

void TMainForm::autosave()
{
    m_files->autosave();
}

// --- Showing the document's design -----------------------------------------------------

void TMainForm::setCaption(const QString &caption)
{
    setWindowTitle(caption);
    // The caption names the file after every save and every read of one.
    if (m_services.recent && !design().FileName.isEmpty())
        m_services.recent->add(design().FileDir + design().FileName);
}

void TMainForm::setUpRecent()
{
    if (!m_services.recent)
        return;
    auto *menu = new QMenu(OpenButton);
    menu->setObjectName(QStringLiteral("RecentMenu"));
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { showRecent(menu); });
    OpenButton->setMenu(menu);
    OpenButton->setPopupMode(QToolButton::DelayedPopup);
    OpenButton->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(OpenButton, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { OpenButton->menu()->exec(OpenButton->mapToGlobal(at)); });
    OpenButton->setToolTip(QStringLiteral("Open a project (hold or right-click for the recent ones)"));
}

void TMainForm::showRecent(QMenu *menu)
{
    menu->clear();
    int n = 0;
    for (const QString &path : m_services.recent->existing()) {
        // A "&" in a name is no shortcut key of the menu.
        QString shown = path;
        shown.replace(QLatin1Char('&'), QLatin1String("&&"));
        QAction *a = menu->addAction(QStringLiteral("&%1 %2").arg(++n % 10).arg(shown));
        connect(a, &QAction::triggered, this, [this, path] { m_files->openWithQuestion(path); });
    }
    if (!n)
        menu->addAction(QStringLiteral("No recent projects"))->setEnabled(false);
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

    setWindowTitle(m_files->caption());
    HighlightTable();
}

qm::Design TMainForm::designAsShown() const
{
    qm::Design d = design();
    const int selected = selectionIndex();
    if (selected >= 0 && selected < d.Buttons.size()) {
        d.Buttons[selected].TitleText = Title->text();
        d.Buttons[selected].BlurbText = Blurb->text();
    } else {
        d.BgTitleText = Title->text();
        d.BgBlurbText = Blurb->text();
    }
    return d;
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
            m_services.clipboard->setText(qm::pastedText(HTML));
        const qm::ModalResult answer = prompts()->messageBox(
            qm::BoxIcon::Information, QStringLiteral("Information"), qm::runtimeCopyQuestion(design().FileDir),
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
        checkPageLinks(true);
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
    // What Preview shows from its own folder, the project's page may miss online.
    if (qm::runPreview(design(), program(), env) && !design().FileNameUpper.isEmpty() && !design().FileDirUpper.isEmpty())
        checkPageLinks(false);
}

void TMainForm::checkPageLinks(bool mend)
{
    const QList<qm::LinkProblem> problems = qm::checkLinks(design(), program().AppDir, mend);
    if (problems.isEmpty())
        return;
    const QString message = qm::linkProblemsMessage(design(), problems);
    if (!mend || !qm::canMendLinks(problems) || !m_services.files) {
        prompts()->warning(message);
        return;
    }
    const qm::ModalResult answer = prompts()->messageBox(
        qm::BoxIcon::Warning, QStringLiteral("Warning"),
        message + QLatin1String("\n\n") + qm::linkMendQuestion(problems),
        qm::BoxButtons::YesNo);
    if (answer != qm::ModalResult::Yes)
        return;
    QStringList failed;
    const qm::Design mended = qm::mendedLinks(design(), problems, *m_services.files, &failed);
    // One click, one step to undo.
    document().undoStack()->beginMacro(QStringLiteral("Mend the page's files"));
    for (int i = 0; i < mended.Buttons.size(); ++i) {
        if (mended.Buttons.at(i) != design().Buttons.at(i))
            document().push(new qm::edit::ButtonPropertiesStep(document(), i, design().Buttons.at(i), mended.Buttons.at(i)));
    }
    if (mended.background() != design().background())
        document().push(new qm::edit::BackgroundPropertiesStep(document(), design().background(), mended.background()));
    document().undoStack()->endMacro();
    if (!failed.isEmpty())
        prompts()->warning(QLatin1String("These files could not be copied beside the page:\n") + failed.join(QLatin1Char('\n')));
    if (BuildCompileString(false) && m_services.clipboard)
        m_services.clipboard->setText(qm::pastedText(HTML));
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
    if (qm::FileOps *files = m_services.files)
        env.isFile = [files](const QString &path) { return files->exists(path); };

    const std::optional<qm::AppletBlock> block = qm::buildAppletBlock(design(), preview, env);
    if (!block)
        return false;
    HTML = block->html;
    m_skippedSounds = block->skipped;
    if (!preview && block->soundFound)
        prompts()->information(qm::soundsCopiedMessage(design()));
    if (!preview && !block->scriptLinks.isEmpty())
        prompts()->warning(qm::scriptLinksMessage(block->scriptLinks));
    return true;
}
