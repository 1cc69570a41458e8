#pragma once

#include "editor/createdonfirstuse.h"
#include "editor/dragmanager.h"
#include "editor/surfacecontroller.h"
#include "imageview/tpmultiimage.h"
#include "model/arrange.h"
#include "model/design.h"
#include "model/droppedfiles.h"
#include "model/designdocument.h"
#include "model/documentfiles.h"
#include "model/designsteps.h"
#include "model/linebreaker.h"
#include "platform/dialogprompts.h"
#include "platform/fileops.h"

#include <QList>
#include <memory>
#include <QPalette>
#include <QPointer>
#include <QWidget>
#include <optional>

class QAction;
class QFrame;
class QKeyEvent;
class QMenu;
class QPushButton;
class QTimer;
class QToolButton;
class QUndoStack;
class TButtonOptions;
class TCleanMyButton;
class DesignSurface;
class TDDEForm;
class HelpController;
class AreaEdit;
class PlaceReadout;
class TOptionsForm;
class TSplashForm;
class TTableForm;

namespace qm::dialogs {
struct DialogContext;
}

namespace qm {
class RecoveryStore;
class RecentFiles;
class Clipboard;
class Prompts;
class SoundPlayer;
}

// What the main window needs from the platform; tests give scripted prompts.
struct MainFormServices {
    qm::DialogPrompts *prompts = nullptr;
    qm::ImageViewContext images;
    qm::FileOps *files = nullptr;
    qm::Clipboard *clipboard = nullptr;
    qm::SoundPlayer *sound = nullptr;
    // False starts as "No Splash" would, whatever the settings say: for
    // tools and tests that build a main window without a person watching.
    bool splash = true;
    // Where unsaved designs are kept against a crash; none for tools and
    // most tests.
    qm::RecoveryStore *recovery = nullptr;
    // The projects last opened or saved, offered by the Open button.
    qm::RecentFiles *recent = nullptr;
};

// The main window. It shows the one open design (its DesignDocument) at real
// size on the design surface and dispatches every command; every change of
// the design is a step pushed onto the document, and the window follows the
// document's signals to show what changed.
class TMainForm : public QWidget, private qm::DocumentView {
    Q_OBJECT
    // The surface's mouse and keys; made first, as the window's fields of
    // its state refer to it.
    SurfaceController *m_surface;

public:
    explicit TMainForm(const MainFormServices &services, QWidget *parent = nullptr);
    ~TMainForm() override;

    // --- Start-up and reset -------------------------------------------------
    void FormCreate();
    void QuillmapInit();
    bool NewTable();
    int AddDefaultButton();

    // --- Document commands ---------------------------------------------------
    void NewButtonClick();
    void OpenButtonClick();
    void SaveButtonClick();
    void QuitButtonClick();
    // Writes the design to its file, or asks for a name first. False when
    // the design was not written.
    bool Save();
    // Asks for a file name and writes the design there. False when the user
    // cancelled or the file could not be written.
    bool SaveAs();
    void Open();
    // Open once the file is chosen: the file named on the command line
    // comes in here. A missing file gives Open's message.
    void openChosenFile(const QString &chosen);
    // Reads a project file into the freshly reset design.
    void readProjectFile(const QString &path);
    // False keeps the window open.
    bool FormCloseQuery();

    // --- Splash and help ------------------------------------------------------
    // The start-up timer: shows the splash, and about 3 s later the main
    // window in its place.
    void Timer1Timer();
    // Opens a file named at start-up as Open would, once the splash has
    // given way to the window (at once when there is no splash).
    // Shows the window at once unless the splash sequence will show it.
    void showAtStartUp();
    void openAtStartUp(const QString &path);
    void HelpButtonClick();
    // The help file, found in the program folder whatever the current
    // directory is.
    QString helpFilePath() const;
    HelpController *helpController() const { return m_help; }

    // --- Compile ----------------------------------------------------------------
    void CompileButtonClick(QObject *sender = nullptr);

    // --- Preview and Options -------------------------------------------------------
    void PreviewButtonClick(QObject *sender = nullptr);
    // Writes the preview page (HTML inside it) to FileDir + FileName.
    bool WritePreviewFile(QString *reason = nullptr);
    void OptionsButtonClick(QObject *sender = nullptr);

    // --- Selection ------------------------------------------------------------
    void HighlightButton(QObject *obj);
    void HighlightTable(QObject *sender = nullptr);
    void ToggleBlurb();
    void ColorBLurbImage();

    // --- Buttons -----------------------------------------------------------------
    void AddButtonClick(QObject *sender);
    void DeleteButtonClick(QObject *sender = nullptr);
    void EditButtonClick(QObject *sender = nullptr);
    void SetURL1Click(QObject *sender = nullptr);
    void EditField1Click(QObject *sender = nullptr);
    void BackgroundButtonClick(QObject *sender = nullptr);
    void SetDimensions1Click(QObject *sender = nullptr);
    // Edits the selected button in the button properties dialog.
    void ButtonDimensions1Click();
    void Move1Click(QObject *sender = nullptr);
    void MoveField1Click(QObject *sender = nullptr);

    // --- Several buttons (tmainform_arrange.cpp) ----------------------------------------
    // Shift+click: the button joins the selection, or leaves it. False when
    // `button` is none of the design's.
    bool extendSelection(QWidget *button);
    void DuplicateClick();
    void CopyClick();
    void CutClick();
    // Where the copied buttons were, or with their top-left corner at `at`.
    void PasteClick(std::optional<QPoint> at = std::nullopt);
    void ArrangeClick(qm::Arrangement how);

    // --- Files dropped onto the surface (tmainform_drops.cpp) -----------------------
    // Does what dropping `files` onto `target` (a button, the Blurb area or
    // the surface, at `at` in surface coordinates) does; `shift` gives a
    // button its mouse-over picture.
    void dropFiles(const qm::DroppedFiles &files, QWidget *target, QPoint at, bool shift);

    // --- Moving and resizing ------------------------------------------------------
    // Mouse handlers; X, Y are relative to the client area of the control
    // that receives the event (Sender).
    void ButtonMouseDown(QObject *Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void MemoMouseDown(QObject *Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void BlurbImageMouseDown(QObject *Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void BackgroundMouseDown(QObject *Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void ResizeMouseUp(QObject *Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void ResizeMouseMove(QObject *Sender, Qt::KeyboardModifiers Shift, int X, int Y);
    void BlurbImageMouseMove(QObject *Sender, Qt::KeyboardModifiers Shift, int X, int Y);
    // Drag-and-drop handlers; X, Y are relative to the target (Sender).
    void BackgroundDragOver(QObject *Sender, QObject *Source, int X, int Y, TDragState State, bool &Accept);
    void MemoDragOver(QObject *Sender, QObject *Source, int X, int Y, TDragState State, bool &Accept);
    void ButtonDragOver(QObject *Sender, QObject *Source, int X, int Y, TDragState State, bool &Accept);
    void BlurbImageDragOver(QObject *Sender, QObject *Source, int X, int Y, TDragState State, bool &Accept);
    void FormDragOver(QObject *Sender, QObject *Source, int X, int Y, TDragState State, bool &Accept);
    void MouseOnEndDrag(QObject *Sender, QObject *Target, int X, int Y);
    void ButtonDragDrop(QObject *Sender, QObject *Source, int X, int Y);
    DragManager *dragManager() const;

    // --- Mouse-over ------------------------------------------------------------------
    void ButtonMouseOver(QObject *Sender, Qt::KeyboardModifiers Shift, int X, int Y);
    void BackgroundAndMemoMouseMove(QObject *Sender, Qt::KeyboardModifiers Shift, int X, int Y);
    void ResetLastMouseOverButton(QObject *Sender);

    // --- Applet block ------------------------------------------------------------
    // Builds the applet element of the design into HTML: the Compile form
    // (preview false) or the Preview form. False when there was nothing to
    // build from; HTML then keeps the previous block.
    bool BuildCompileString(bool preview);
    QString HTML;
    // Names every file the page beside the project would not get online; at
    // Compile (mend) offers to take the names on disk and to copy files from
    // outside the page's folder beside it, as steps, and builds again.
    void checkPageLinks(bool mend);

    // --- Layout ----------------------------------------------------------------
    void FormResize();
    // Where FormPaint draws the logo, in client coordinates.
    QPoint logoPosition() const;

    // --- The document -----------------------------------------------------------------
    qm::DesignDocument &document() { return *m_document; }
    qm::Design &design() { return m_document->design(); }
    const qm::Design &design() const { return m_document->design(); }
    qm::ProgramSetup &program() { return m_document->program(); }
    const qm::ProgramSetup &program() const { return m_document->program(); }
    // The design as it was last saved or opened: the history's clean state.
    bool isSaved() const { return m_document->isSaved(); }

    // --- Undo and redo -------------------------------------------------------------
    QUndoStack *undoStack() const { return m_document->undoStack(); }
    // A move or resize in progress ends first.
    void Undo();
    void Redo();
    // The selected button's index, or -1 with the background selected.
    int selectionIndex() const;

    // --- Model and controls ------------------------------------------------------
    // The fields of a button control.
    qm::ButtonData &buttonData(const TCleanMyButton *button);
    // Puts the design's values into the controls that show them.
    void pushDesignToControls();
    void pushButtonToControl(int index);
    void setBackgroundColor(qm::TColor color);
    void setTextColor(qm::TColor color);
    // The Title's and Blurb's colour of one role.
    void setAreaColor(QPalette::ColorRole role, const QColor &color);
    // Breaks texts into lines as the Title and Blurb areas do.
    const qm::LineBreaker &lineBreaker() const;

    qm::DialogPrompts *prompts() const { return m_services.prompts; }
    const qm::ImageViewContext &imageContext() const { return m_services.images; }

    // --- Editor state ------------------------------------------------------------
    QList<TCleanMyButton *> ButtonControls;
    TCleanMyButton *SelectedButton = nullptr;
    // The surface controller's state, under the window's names.
    TCleanMyButton *&LastMouseOverButton;
    int &MouseOverState;
    QString &ResizeDirection;
    bool &DragOverFlag;
    int &ResizeMargin;
    int &MinResizeWidth;
    int &MinResizeHeight;
    int &DragStartX;
    int &DragStartY;
    QPointer<QWidget> &PressedTextControl;
    bool &Resizing;
    QPointer<QWidget> &ResizedControl;
    SurfaceController &surface() { return *m_surface; }

    // --- Controls --------------------------------------------------------------
    QToolButton *SpeedButton1 = nullptr;
    QToolButton *NewButton = nullptr;
    QToolButton *OpenButton = nullptr;
    QToolButton *SaveButton = nullptr;
    QToolButton *CompileButton = nullptr;
    QToolButton *OptionsButton = nullptr;
    QToolButton *QuitButton = nullptr;
    QToolButton *HelpButton = nullptr;
    QPushButton *AddButton = nullptr;
    QPushButton *EditButton = nullptr;
    QPushButton *DeleteButton = nullptr;
    QPushButton *BackgroundButton = nullptr;
    DesignSurface *Background = nullptr;
    QFrame *ButtonBevel = nullptr;
    AreaEdit *Title = nullptr;
    AreaEdit *Blurb = nullptr;
    TPMultiImage *BlurbImage = nullptr;
    // Where the selection or what is being moved lies, and its size.
    PlaceReadout *Readout = nullptr;

    QMenu *ButtMenu = nullptr;
    QAction *Move1 = nullptr;
    QAction *Remove1 = nullptr;
    QAction *SetURL1 = nullptr;
    QMenu *TextMenu = nullptr;
    QAction *MoveField1 = nullptr;
    QAction *EditField1 = nullptr;
    QMenu *BackgroundMenu = nullptr;
    QAction *AddButton1 = nullptr;
    QAction *SetDimensions1 = nullptr;
    QMenu *Arrange1 = nullptr;

    QTimer *Timer1 = nullptr;
    QPointer<TSplashForm> SplashForm;

    // --- Windows the main window owns ------------------------------------------------
    TDDEForm *DDEForm = nullptr;
    // The dialogs are made once, at their first use, and keep the state of
    // their controls from one use to the next.
    CreatedOnFirstUse<TOptionsForm> OptionsForm;
    CreatedOnFirstUse<TButtonOptions> ButtonOptions;
    CreatedOnFirstUse<TTableForm> TableForm;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // What the property dialogs need of the window, for their first use.
    qm::dialogs::DialogContext dialogContext();

    // Following the document (tmainform_steps.cpp).
    void setUpSteps();
    void selectionChanging(int from, int to);
    void selectionChanged(int selection);
    // The background's values in the controls that show them: colours,
    // fonts, the areas' places and the Blurb picture's fitting.
    void pushBackgroundToControls();
    // Shows which areas the design uses and the selection's texts and Blurb
    // picture in them, storing nothing back.
    void showSelection();
    void reloadButtonPicture(int index);
    void buttonInserted(int index);
    void buttonRemoved(int index);
    void buttonChanged(int index);
    void areaMoved(qm::TextArea area);
    void textChanged(int owner, qm::TextArea area);
    // A save or an open: the design as it is now is the saved one.
    void markSaved();
    // Typing in an area, one step per session.
    void areaEdited(AreaEdit *area, const QString &before);
    // Ends a drag or resize in progress, with its step.
    void finishGesture();
    // Applies what a property dialog handed back as one step.
    void applyButtonProperties(int index, const qm::ButtonData &edited);
    void applyBackgroundProperties(const qm::BackgroundData &edited);

    // The shortcuts every editor has (tmainform_keys.cpp).
    void setUpKeys();
    // The commands on several buttons, their menus and keys.
    void setUpArrange();
    void setUpDrops();
    // The Open button's list of recent projects (held down or right-clicked).
    void setUpRecent();
    void showRecent(QMenu *menu);
    void setUpReadout();
    // Takes drags of files onto the surface's controls; false for others.
    bool fileDropEvent(QObject *watched, QEvent *event);
    // The readout follows the selection, and any control the mouse moves.
    void followInReadout(QWidget *control);
    void watchForReadout(QObject *watched, QEvent *event);
    void showAlsoSelected();
    // The selected buttons' values, with what was typed into the selection.
    QList<qm::ButtonData> selectedButtonData();
    // One step that adds the buttons, selected.
    void addButtons(const QString &step, QList<qm::ButtonData> buttons, std::optional<QPoint> at);
    // One step that removes the buttons.
    void removeButtons(const QString &step, QList<int> doomed);

    // Selecting the selection again stores what was typed into its texts.
    void flushSelection();
    void createControls();
    void createMenus();
    // Gives every control and menu item its help context.
    void assignHelpContexts();
    // The splash mode this start-up follows.
    QString startUpSplashState() const;
    TCleanMyButton *createButtonControl(int index);
    // Stores what the areas show into the texts of `owner`.
    void writeBackMemoTexts(int owner);

    MainFormServices m_services;
    qm::DesignDocument *m_document = nullptr;
    // The file to open when the splash ends.
    QString m_startUpFile;

    // --- Recovery of unsaved designs ------------------------------------------------
public:
    // Offers back the design of a run that did not end cleanly; once the
    // window is up.
    void offerRecovery();
    // Writes the unsaved design to the recovery file now (the timer's job).
    void autosave();
    QTimer *autosaveTimer() const { return m_files->autosaveTimer(); }
    qm::DocumentFiles &files() { return *m_files; }

private:
    // Showing the designs the file commands make and read.
    void discardShownDesign() override;
    void showNewDesign() override;
    void showOpenedDesign() override;
    void setCaption(const QString &caption) override;
    qm::Design designAsShown() const override;

    qm::DocumentFiles *m_files = nullptr;
    // Sound files the last build did not copy, for Compile to name.
    QList<qm::SkippedCopy> m_skippedSounds;
    HelpController *m_help = nullptr;

    // Typing merges into one step until the selection or the focus changes.
    int m_typingSession = 0;
    // Where the surface's menu was opened, for its Paste Here.
    QPoint m_pastePoint;
};

using qm::fromQColor;
using qm::toQColor;
