#include "compile/appletblock.h"
#include "compile/pathconv.h"
#include "editor/tcleanmybutton.h"
#include "editor/areaedit.h"
#include "mainformfixture.h"
#include "model/projectfile.h"
#include "model/projectlock.h"
#include "dialogs/taskifsave.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLockFile>
#include <QProcess>
#include <QRegularExpression>
#include <QPushButton>
#include <QRandomGenerator>
#include <QToolButton>
#include <QtTest>

using namespace qm;
using Kind = ScriptedPrompts::Record::Kind;

namespace {

// The applet's eight files and the script runtime.
const char *const kRuntime[] = {"loadall.class", "header.class", "buttbox.class", "mbutt.class", "quillmap.class",
                                "mainarea.class", "quillmap.zip", "quillmap.cab", "quillmap.js"};

QString clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

} // namespace

class TestDocuments : public QObject {
    Q_OBJECT
private slots:
    void init();
    void unsavedChangesQuestion();
    void saveAsNamesTheFile();
    void saveAlwaysShowsTheDialog();
    void savedDesignOpensWithEveryValue();
    void quitAsksOnlyAboutChanges();
    void openAsksTwiceAfterNo();
    void openWithYesWritesTitledDesignFirst();
    void openOfAMissingFile();
    void corruptFileGivesAFreshUntitledDesign();
    void damagedFilesNeverLeaveAPartDesign();
    void failedSaveKeepsTheDesignAndTheFile();
    void saveOntoAFullDiskKeepsTheProject();
    void textThatCannotBeStoredKeepsTheOldFile();
    void oneEditorPerFile_data();
    void oneEditorPerFile();
    void compileUnsavedDesign();
    void compileCopiesTheRuntimeOnYes();
    void compileWithNothingToCompile();
    void compileCancelledSaveTouchesNothing();
    void compileWithoutRuntimeFolder();
};

void TestDocuments::init()
{
    QGuiApplication::clipboard()->setText("untouched");
}

void TestDocuments::unsavedChangesQuestion()
{
    TAskIfSave dialog;
    QCOMPARE(dialog.windowTitle(), QString("Quillmap"));
    QStringList texts;
    for (QLabel *label : dialog.findChildren<QLabel *>())
        texts << label->text();
    QVERIFY(texts.contains("The applet has changed,\nDo You want to save changes?"));
    QCOMPARE(dialog.YesBtn->text(), QString("Yes"));
    QCOMPARE(dialog.NoBtn->text(), QString("No"));
    QCOMPARE(dialog.CancelBtn->text(), QString("Cancel"));
    QVERIFY(!(dialog.windowFlags() & Qt::WindowCloseButtonHint));
    const QList<QPair<QPushButton *, int>> buttons = {{dialog.YesBtn, 6}, {dialog.NoBtn, 7}, {dialog.CancelBtn, 2}};
    for (const auto &[button, result] : buttons) {
        dialog.open();
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), result);
    }
}

void TestDocuments::saveAsNamesTheFile()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    QTemporaryDir dir;
    m.document().markUnsaved();
    f.prompts.files = {dir.filePath("menu")};
    QVERIFY(m.SaveAs());
    QCOMPARE(m.design().FileName, QString("menu.qmf"));
    QCOMPARE(m.design().FileNameUpper, QString("MENU.qmf"));
    QCOMPARE(m.design().FileDir, dir.path() + "/");
    QCOMPARE(m.design().FileDirUpper, (dir.path() + "/").toUpper());
    // The caption names the file as it is on disk.
    QCOMPARE(m.windowTitle(), dir.path() + "/menu.qmf - Quillmap");
    QVERIFY(m.isSaved());
    QVERIFY(QFile::exists(dir.filePath("menu.qmf")));
    const auto &request = f.prompts.log.last().file;
    QCOMPARE(request.mode, FileDialogRequest::Mode::Save);
    QVERIFY(request.confirmOverwrite);
    QCOMPARE(request.filter, QString("Quillmap Files (*.QMF);;All Files (*.*)"));

    f.prompts.files = {dir.filePath("my.menu")};
    QVERIFY(m.SaveAs());
    QCOMPARE(m.design().FileName, QString("my.menu"));
    QCOMPARE(m.design().FileNameUpper, QString("MY.MENU"));
    QVERIFY(QFile::exists(dir.filePath("my.menu")));

    // Cancel changes nothing.
    f.prompts.files = {std::nullopt};
    QVERIFY(!m.SaveAs());
    QCOMPARE(m.design().FileName, QString("my.menu"));
}

void TestDocuments::saveAlwaysShowsTheDialog()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    QTemporaryDir dir;
    f.prompts.files = {dir.filePath("first.qmf"), std::nullopt};
    m.SaveButtonClick();
    QCOMPARE(m.design().FileName, QString("first.qmf"));
    m.SaveButton->click();
    QCOMPARE(f.prompts.count(Kind::FileDialog), 2);
    const auto &request = f.prompts.log.last().file;
    QCOMPARE(request.fileName, QString("first.qmf"));
    QCOMPARE(request.directory, dir.path() + "/");
}

void TestDocuments::savedDesignOpensWithEveryValue()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    QTemporaryDir dir;
    m.AddButtonClick(m.AddButton);
    m.design().Buttons[1].Left = 20;
    m.design().Buttons[1].Top = 30;
    m.design().Buttons[1].URLRelative = true;
    m.design().Buttons[1].Target = "_blank";
    m.pushButtonToControl(1);
    // Typed into the areas while the new button is selected.
    m.Title->setPlainText("Straße “A” \"B\"");
    m.Blurb->setPlainText("Zeile eins\n\nZeile drei\n");
    m.setBackgroundColor(0x102030);
    m.setTextColor(0x00FF00);
    m.design().TitleRect = QRect(40, 4, 300, 40);
    m.pushDesignToControls();
    m.HighlightTable();
    m.Title->setPlainText("Menu of the day");

    f.prompts.files = {dir.filePath("menu.qmf")};
    m.SaveButtonClick();
    QVERIFY(m.isSaved());
    const QByteArray saved = qmtest::readBytes(dir.filePath("menu.qmf"));
    QVERIFY(saved.startsWith("\"Quillmap Version:\"\r\n\"v1.0\"\r\n\"Globals:\"\r\n\"4\"\r\n\"40\"\r\n\"40\"\r\n\"300\"\r\n"));

    m.NewButtonClick();
    QCOMPARE(m.design().Buttons.size(), 1);
    QCOMPARE(m.design().BgTitleText, QString("type background title here"));

    f.prompts.files = {dir.filePath("menu.qmf")};
    m.OpenButtonClick();
    QCOMPARE(m.windowTitle(), dir.path() + "/menu.qmf - Quillmap");
    QVERIFY(m.isSaved());
    QCOMPARE(m.design().Buttons.size(), 2);
    QCOMPARE(m.ButtonControls.size(), 2);
    QCOMPARE(m.design().BgTitleText, QString("Menu of the day"));
    QCOMPARE(m.Title->text(), QString("Menu of the day"));
    QCOMPARE(m.design().Buttons[1].TitleText, QString("Straße “A” \"B\""));
    QCOMPARE(m.design().Buttons[1].BlurbText, QString("Zeile eins\r\n\r\nZeile drei\r\n"));
    QVERIFY(m.design().Buttons[1].URLRelative);
    QCOMPARE(m.design().Buttons[1].Target, QString("_blank"));
    QCOMPARE(m.ButtonControls[1]->geometry(), QRect(20, 30, 156, 65));
    QVERIFY(m.ButtonControls[1]->EditOnDoubleClick);
    QVERIFY(m.ButtonControls[0]->hasPicture());
    QCOMPARE(m.design().BackgroundColor, TColor(0x102030));
    QCOMPARE(m.design().TextColor, TColor(0x00FF00));
    QCOMPARE(m.Title->geometry(), QRect(40, 4, 300, 40));
    QCOMPARE(m.Title->palette().color(QPalette::Text), QColor(0, 255, 0));
    QVERIFY(m.SelectedButton == nullptr);
    // Saved again unchanged, the file is the same byte for byte.
    QVERIFY(m.Save());
    QCOMPARE(qmtest::readBytes(dir.filePath("menu.qmf")), saved);
    QVERIFY(f.prompts.unscripted.isEmpty());
}

void TestDocuments::quitAsksOnlyAboutChanges()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    QTemporaryDir dir;
    m.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m));
    // Typing counts as a change.
    QTest::keyClicks(m.Title, "!");
    QVERIFY(!m.isSaved());
    f.prompts.answers = {ModalResult::Yes};
    f.prompts.files = {std::nullopt};
    m.QuitButtonClick();
    QVERIFY(m.isVisible());

    f.prompts.answers = {ModalResult::No};
    m.QuitButton->click();
    QVERIFY(!m.isVisible());
    QVERIFY(QDir(dir.path()).isEmpty());
    QCOMPARE(f.prompts.count(Kind::AskIfSave), 2);
}

void TestDocuments::openAsksTwiceAfterNo()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    QTemporaryDir dir;
    QVERIFY(qmtest::writeBytes(dir.filePath("other.qmf"), "whatever"));
    m.AddButtonClick(m.AddButton);
    f.prompts.answers = {ModalResult::No, ModalResult::Cancel};
    f.prompts.files = {dir.filePath("other.qmf")};
    m.Open();
    QCOMPARE(f.prompts.count(Kind::AskIfSave), 2);
    QCOMPARE(m.design().Buttons.size(), 2);
    QVERIFY(!m.isSaved());
    QVERIFY(m.design().FileName.isEmpty());
}

void TestDocuments::openWithYesWritesTitledDesignFirst()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    QTemporaryDir dir;
    f.prompts.files = {dir.filePath("a.qmf")};
    QVERIFY(m.SaveAs());
    m.AddButtonClick(m.AddButton);
    f.prompts.answers = {ModalResult::Yes};
    f.prompts.files = {std::nullopt};
    m.Open();
    // One save dialog for Save As, then the open dialog; no second save dialog.
    QCOMPARE(f.prompts.count(Kind::FileDialog), 2);
    QCOMPARE(f.prompts.log.last().file.mode, FileDialogRequest::Mode::Open);
    // Offered under the name of the file on disk, not its upper-case form.
    QCOMPARE(f.prompts.log.last().file.fileName, QString("a.qmf"));
    QVERIFY(m.isSaved());
    QVERIFY(qmtest::readBytes(dir.filePath("a.qmf")).contains("\"Button:\"\r\n\"1\"\r\n\"1\"\r\n"));

    // A name typed in upper case opens that file, and saving writes it.
    f.prompts.files = {dir.filePath("A.QMF")};
    m.Open();
    QCOMPARE(m.design().Buttons.size(), 2);
    QCOMPARE(m.design().FileName, QString("a.qmf"));
    QCOMPARE(m.windowTitle(), dir.path() + "/a.qmf - Quillmap");
    QVERIFY(m.Save());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({"a.qmf"}));
}

void TestDocuments::openOfAMissingFile()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    QTemporaryDir dir;
    m.AddButtonClick(m.AddButton);
    m.document().markSaved();
    f.prompts.files = {dir.filePath("typed name.qmf")};
    m.OpenButtonClick();
    QCOMPARE(f.prompts.messages(), QStringList({"Error opening " + dir.filePath("typed name.qmf")}));
    QCOMPARE(f.prompts.log.last().icon, BoxIcon::Warning);
    QCOMPARE(m.design().Buttons.size(), 2);
}

void TestDocuments::corruptFileGivesAFreshUntitledDesign()
{
    const QList<QByteArray> damaged = {
        QByteArray(), QByteArray("\x00\x01\x02garbage\xff", 12),
        // Far too large to be a project: not read at all.
        QByteArray("\"Quillmap Version:\"\r\n") + QByteArray(MaxProjectFileBytes, ' '),
        "\"Quillmap Version:\"\r\n\"v2.0\"\r\n",
        "\"Quillmap Version:\"\r\n\"v1.0\"\r\n\"Globals:\"\r\n\"eight\"\r\n",
    };
    for (const QByteArray &bytes : damaged) {
        MainFormFixture f;
        TMainForm &m = *f.form;
        QTemporaryDir dir;
        QVERIFY(qmtest::writeBytes(dir.filePath("bad.qmf"), bytes));
        m.design().ShowTitleAndBlurb = false;
        m.Title->hide();
        m.AddButtonClick(m.AddButton);
        m.document().markSaved();
        f.prompts.files = {dir.filePath("bad.qmf")};
        m.Open();
        QCOMPARE(f.prompts.messages(),
                 QStringList({"Error reading file. " + dir.path() + "/bad.qmf is corrupt."}));
        QCOMPARE(m.windowTitle(), QString("Untitled - Quillmap v1.1"));
        QVERIFY(m.design().FileName.isEmpty() && m.design().FileDir.isEmpty() && m.design().FileNameUpper.isEmpty() && m.design().FileDirUpper.isEmpty());
        QVERIFY(m.isSaved());
        QCOMPARE(m.design().Buttons.size(), 1);
        QCOMPARE(m.ButtonControls.first()->geometry(), QRect(150, 150, 156, 65));
        QVERIFY(m.design().ShowTitleAndBlurb && !m.Title->isHidden());
        QCOMPARE(m.design().BgTitleText, QString("type background title here"));
    }
}

void TestDocuments::damagedFilesNeverLeaveAPartDesign()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    QTemporaryDir dir;
    const QString file = dir.filePath("menu.qmf");
    m.AddButtonClick(m.AddButton);
    f.prompts.files = {file};
    QVERIFY(m.SaveAs());
    const QList<QByteArray> good = qmtest::readBytes(file).split('\n');

    QRandomGenerator rng(42);
    int corrupt = 0;
    for (int round = 0; round < 150; ++round) {
        QList<QByteArray> l = good;
        const int at = rng.bounded(l.size());
        switch (rng.bounded(3)) {
        case 0: l.removeAt(at); break;
        case 1: l[at] = "\"x\"\r"; break;
        default: l = l.mid(0, at); break;
        }
        const QByteArray bytes = l.join('\n');
        QVERIFY(qmtest::writeBytes(file, bytes));
        f.prompts.log.clear();
        f.prompts.files = {file};
        m.Open();
        const std::optional<Design> expected = readProject(bytes, m.design());
        if (f.prompts.messages().isEmpty()) {
            // Read whole: the file's name and every button of the file.
            QVERIFY(expected);
            QCOMPARE(m.design().FileName, QString("menu.qmf"));
            QCOMPARE(m.design().Buttons, expected->Buttons);
            QCOMPARE(m.ButtonControls.size(), m.design().Buttons.size());
        } else {
            ++corrupt;
            QVERIFY(m.design().FileName.isEmpty());
            QCOMPARE(m.windowTitle(), QString("Untitled - Quillmap v1.1"));
            QCOMPARE(m.design().Buttons.size(), 1);
        }
        QVERIFY(m.isSaved());
    }
    QVERIFY(corrupt > 0 && corrupt < 150);
}

void TestDocuments::saveOntoAFullDiskKeepsTheProject()
{
    qmtest::SmallFileSystem fs;
    if (!fs.isMounted())
        QSKIP(qPrintable("no small file system to fill: " + fs.whyNot()));
    MainFormFixture f;
    TMainForm &m = *f.form;
    const QString file = fs.file("menu.qmf");
    f.prompts.files = {file};
    QVERIFY(m.SaveAs());
    const QByteArray old = qmtest::readBytes(file);
    QVERIFY(old.size() > 100);
    const QString caption = m.windowTitle();
    QVERIFY(fs.fill());

    m.AddButtonClick(m.AddButton);
    f.prompts.files = {file};
    QVERIFY(!m.SaveAs());
    QCOMPARE(f.prompts.log.last().icon, BoxIcon::Warning);
    QCOMPARE(f.prompts.messages().last(), "Error saving " + file + ": No space left on device");
    QCOMPARE(qmtest::readBytes(file), old);
    QVERIFY(!m.isSaved());
    QCOMPARE(m.windowTitle(), caption);

    // Quitting still asks; "Cancel" keeps the window and the design.
    m.show();
    f.prompts.answers = {ModalResult::Cancel};
    QVERIFY(!m.close());
    QCOMPARE(m.design().Buttons.size(), 2);

    // With room again the same save goes through and opens back whole.
    fs.unfill();
    f.prompts.files = {file};
    QVERIFY(m.SaveAs());
    QVERIFY(m.isSaved());
    f.prompts.files = {file};
    m.Open();
    QCOMPARE(m.design().Buttons.size(), 2);
    QCOMPARE(m.windowTitle(), caption);
    QVERIFY(f.prompts.exhausted());
}

void TestDocuments::failedSaveKeepsTheDesignAndTheFile()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    QTemporaryDir dir;
    const QString file = dir.filePath("menu.qmf");
    f.prompts.files = {file};
    QVERIFY(m.SaveAs());
    const QByteArray old = qmtest::readBytes(file);
    const QString caption = m.windowTitle();
    QVERIFY(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadGroup));

    m.AddButtonClick(m.AddButton);
    QVERIFY(!m.Save());
    QCOMPARE(f.prompts.log.last().icon, BoxIcon::Warning);
    QVERIFY(f.prompts.messages().last().startsWith("Error saving " + file + ": "));
    QCOMPARE(qmtest::readBytes(file), old);
    QVERIFY(!m.isSaved());
    QCOMPARE(m.windowTitle(), caption);
    // A Save As that fails changes nothing, not even the design's file name.
    QTemporaryDir elsewhere;
    QVERIFY(QFile::setPermissions(elsewhere.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    f.prompts.files = {elsewhere.filePath("other.qmf")};
    QVERIFY(!m.SaveAs());
    QCOMPARE(m.design().FileDir + m.design().FileName, file);
    QCOMPARE(m.windowTitle(), caption);
    QFile::setPermissions(elsewhere.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    // Quit: "Yes" and the same file chosen again: the window stays.
    m.show();
    f.prompts.answers = {ModalResult::Yes};
    f.prompts.files = {file};
    QVERIFY(!m.close());
    // New: "Yes", the save fails, the design stays.
    f.prompts.answers = {ModalResult::Yes};
    f.prompts.files = {file};
    m.NewButtonClick();
    QCOMPARE(m.design().Buttons.size(), 2);
    // Open: "Yes" writes the titled design directly; it fails, Open stops.
    f.prompts.answers = {ModalResult::Yes};
    const int dialogs = f.prompts.count(Kind::FileDialog);
    m.Open();
    QCOMPARE(f.prompts.count(Kind::FileDialog), dialogs);
    QCOMPARE(m.design().Buttons.size(), 2);
    QVERIFY(!m.isSaved());
    QCOMPARE(qmtest::readBytes(file), old);
    QVERIFY(f.prompts.exhausted());
    QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void TestDocuments::oneEditorPerFile_data()
{
    QTest::addColumn<QString>("holder");  // "running", "dead" or "none"
    QTest::addColumn<int>("answer");      // to the question, when it is asked
    QTest::addColumn<bool>("opens");
    QTest::addColumn<bool>("saves");
    QTest::newRow("held by a running program, opened read-only") << "running" << int(ModalResult::Yes) << true << false;
    QTest::newRow("held by a running program, not opened") << "running" << int(ModalResult::No) << false << false;
    QTest::newRow("left by a program that died") << "dead" << 0 << true << true;
    QTest::newRow("free") << "none" << 0 << true << true;
}

void TestDocuments::oneEditorPerFile()
{
    QFETCH(QString, holder);
    QFETCH(int, answer);
    QFETCH(bool, opens);
    QFETCH(bool, saves);
    MainFormFixture f;
    TMainForm &m = *f.form;
    QTemporaryDir dir;
    const QString file = dir.filePath("menu.qmf");
    f.prompts.files = {file};
    QVERIFY(m.SaveAs());
    m.NewButtonClick();
    const QByteArray old = qmtest::readBytes(file);

    // The other program's lock: one this process holds stands for a running
    // one; a dead one's names a process that has ended.
    const QString lockName = ProjectLock::lockFileBeside(file);
    QLockFile other(lockName);
    if (holder != "none")
        QVERIFY(other.tryLock(0));
    if (holder == "dead") {
        QFile lockFile(lockName);
        QVERIFY(lockFile.open(QIODevice::ReadOnly));
        QByteArray info = lockFile.readAll();
        lockFile.close();
        other.unlock();
        QProcess ended;
        ended.start("true");
        QVERIFY(ended.waitForStarted());
        const QByteArray pid = QByteArray::number(ended.processId());
        QVERIFY(ended.waitForFinished());
        info.replace(0, info.indexOf('\n'), pid);
        QVERIFY(qmtest::writeBytes(lockName, info));
    }

    if (answer)
        f.prompts.answers = {ModalResult(answer)};
    f.prompts.files = {file};
    m.Open();
    const bool asked = std::any_of(f.prompts.log.cbegin(), f.prompts.log.cend(),
                                   [](const auto &r) { return r.caption == "File in use"; });
    QCOMPARE(asked, holder == "running");
    if (asked)
        QVERIFY(f.prompts.log.last().text.contains(QString("process %1 on host").arg(QCoreApplication::applicationPid())));
    QCOMPARE(m.design().FileName == "menu.qmf", opens);
    if (!opens)
        return;
    m.AddButtonClick(m.AddButton);
    QCOMPARE(m.Save(), saves);
    QCOMPARE(qmtest::readBytes(file) != old, saves);
    if (!saves)
        QVERIFY(f.prompts.messages().last().contains("open in another Quillmap"));
}

void TestDocuments::textThatCannotBeStoredKeepsTheOldFile()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    QTemporaryDir dir;
    const QString file = dir.filePath("menu.qmf");
    m.AddButtonClick(m.AddButton);
    f.prompts.files = {file};
    QVERIFY(m.SaveAs());
    const QByteArray old = qmtest::readBytes(file);

    // Half a character pair, which no file can hold, in the second button's Blurb.
    m.HighlightTable();
    m.design().Buttons[1].BlurbText = QString("broken ") + QChar(0xDC00);
    m.document().markUnsaved();
    QVERIFY(!m.Save());
    QCOMPARE(f.prompts.log.last().icon, BoxIcon::Warning);
    QCOMPARE(f.prompts.messages().last(), "Error saving " + file
                 + ": the Blurb Text of button 2 cannot be stored in a project file. The file was not changed.");
    QCOMPARE(qmtest::readBytes(file), old);
    QVERIFY(!m.isSaved());

    m.design().Buttons[1].BlurbText = "mended";
    QVERIFY(m.Save());
    QVERIFY(m.isSaved());
    QVERIFY(qmtest::readBytes(file).contains("\"mended\""));
}

void TestDocuments::compileUnsavedDesign()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    QTemporaryDir dir;
    for (const char *name : kRuntime)
        QVERIFY(qmtest::writeBytes(f.folder.file(QString("java/") + name), QByteArray(name)));
    f.prompts.files = {dir.filePath("site")};
    f.prompts.answers = {ModalResult::No, ModalResult::No};
    m.CompileButton->click();

    // Last, what the page would not get online (the program's pictures, the runtime).
    const QStringList messages = f.prompts.messages();
    QCOMPARE(messages.size(), 4);
    QVERIFY(messages.at(3).startsWith("Online, the page in " + dir.path() + "/ would not get these files:"));
    QVERIFY(messages.at(0).startsWith("Please save the current file"));
    QCOMPARE(messages.at(1), "AU File(s) copied to " + dir.path() + "/");
    QCOMPARE(messages.at(2), qm::runtimeCopyQuestion(dir.path() + "/"));
    QCOMPARE(m.design().FileName, QString("site.qmf"));

    const QString block = clipboardText();
    // The runtime's line, then the block.
    QCOMPARE(block, qm::pastedText(m.HTML));
    QVERIFY(block.startsWith(QString(qm::PastedScriptLine) + "\r\n<!-- Pellory Software -->\r\n"));
    QVERIFY(block.endsWith("</applet>\r\n"));
    QVERIFY(!block.contains(QRegularExpression("[^\r]\n")));
    // Paths relative to the chosen folder.
    const QString expectedImage = relativeUrl(dir.filePath("site.qmf"), f.folder.file("images/default.gif"));
    QVERIFY2(block.contains("<param name=\"img1\" value=\"" + expectedImage + "\">"), qPrintable(block));
    QVERIFY(QFile::exists(dir.filePath("click.au")));
    // "No": nothing of the runtime, and still saved.
    QVERIFY(!QFile::exists(dir.filePath("quillmap.class")));
    QVERIFY(m.isSaved());
    QVERIFY(QFile::exists(dir.filePath("site.qmf")));
}

void TestDocuments::compileCopiesTheRuntimeOnYes()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    QTemporaryDir dir;
    for (const char *name : kRuntime)
        QVERIFY(qmtest::writeBytes(f.folder.file(QString("java/") + name), QByteArray("v1 ") + name));
    f.prompts.files = {dir.filePath("menu.qmf")};
    QVERIFY(m.SaveAs());
    m.AddButtonClick(m.AddButton);

    // Yes to the runtime, and Yes to copying the program's pictures, which
    // lie outside the project's folder, beside it: one step, a new block.
    const int steps = m.undoStack()->count();
    f.prompts.answers = {ModalResult::Yes, ModalResult::Yes};
    m.CompileButtonClick();
    for (const char *name : kRuntime)
        QCOMPARE(qmtest::readBytes(dir.filePath(name)), QByteArray("v1 ") + name);
    QCOMPARE(m.design().Buttons[1].DefImageName, dir.filePath("default.gif"));
    QCOMPARE(qmtest::readBytes(dir.filePath("mouse.gif")), qmtest::readBytes(f.folder.file("images/mouse.gif")));
    QCOMPARE(m.undoStack()->count(), steps + 1);
    QVERIFY(clipboardText().contains("<param name=\"img2\" value=\"default.gif\">"));
    QVERIFY(m.isSaved());
    QCOMPARE(m.SelectedButton, m.ButtonControls.at(1));
    QVERIFY(m.EditButton->isEnabled());

    // A second Compile overwrites without asking anything more.
    for (const char *name : kRuntime)
        QVERIFY(qmtest::writeBytes(f.folder.file(QString("java/") + name), QByteArray("v2 ") + name));
    QVERIFY(qmtest::writeBytes(f.folder.file("sound/click.au"), "new click"));
    f.prompts.log.clear();
    f.prompts.answers = {ModalResult::Yes};
    m.CompileButtonClick();
    QCOMPARE(f.prompts.messages().size(), 2);
    for (const char *name : kRuntime)
        QCOMPARE(qmtest::readBytes(dir.filePath(name)), QByteArray("v2 ") + name);
    QCOMPARE(qmtest::readBytes(dir.filePath("click.au")), QByteArray("new click"));
}

void TestDocuments::compileWithNothingToCompile()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    QTemporaryDir dir;
    f.prompts.files = {dir.filePath("empty.qmf")};
    QVERIFY(m.SaveAs());
    m.design().ShowTitleAndBlurb = false;
    m.HighlightButton(m.ButtonControls.at(0));
    f.prompts.answers = {ModalResult::Yes};
    m.DeleteButtonClick();
    f.prompts.log.clear();
    m.CompileButtonClick();
    QCOMPARE(f.prompts.messages(), QStringList({"There are no Buttons!"}));
    QCOMPARE(clipboardText(), QString("untouched"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({"empty.qmf"}));

    // With the Title and Blurb in use, a design without buttons compiles.
    m.design().ShowTitleAndBlurb = true;
    f.prompts.answers = {ModalResult::No};
    m.CompileButtonClick();
    QVERIFY(clipboardText().contains("<param name=\"defcenter\" value=\"false\">\r\n\r\n</applet>\r\n"));
}

void TestDocuments::compileCancelledSaveTouchesNothing()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    f.prompts.files = {std::nullopt};
    m.CompileButtonClick();
    QCOMPARE(f.prompts.messages().size(), 1);
    QCOMPARE(clipboardText(), QString("untouched"));
    QVERIFY(m.design().FileName.isEmpty());
}

void TestDocuments::compileWithoutRuntimeFolder()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    QTemporaryDir dir;
    QVERIFY(QDir(f.folder.file("java")).removeRecursively());
    f.prompts.files = {dir.filePath("menu.qmf")};
    f.prompts.answers = {ModalResult::Yes, ModalResult::No};
    m.CompileButtonClick();
    // Save request, sounds, question; then the check says the page lacks the runtime.
    QCOMPARE(f.prompts.messages().size(), 4);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({"click.au", "menu.qmf"}));
    QVERIFY(clipboardText().endsWith("</applet>\r\n"));
}

QTEST_MAIN(TestDocuments)
#include "test_documents.moc"
