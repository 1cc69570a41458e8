// Files that are not what they seem, texts far too long, and designs that
// change many controls at once: nothing may hold the window or fill the
// disk or the memory.

#include "dialogs/tbuttonoptions.h"
#include "dialogs/toptionsform.h"
#include "dialogs/ttableform.h"
#include "editor/designsurface.h"
#include "editor/areaedit.h"
#include "mainformfixture.h"
#include "model/projectfile.h"
#include "model/settings.h"
#include "model/textlimits.h"
#include "scriptedconversation.h"
#include "preview/tddeform.h"

#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QPushButton>
#include <QtTest>

#include <sys/stat.h>

using namespace qm;

namespace {

enum class Special { Pipe, DeviceLink, Sparse, Folder };

bool makeSpecial(Special kind, const QString &path)
{
    QDir().mkpath(QFileInfo(path).path());
    switch (kind) {
    case Special::Pipe:
        return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
    case Special::DeviceLink:
        return QFile::link(QStringLiteral("/dev/zero"), path);
    case Special::Sparse: {
        // 2 GB that take no room on the disk.
        QFile f(path);
        return f.open(QIODevice::WriteOnly) && f.resize(qint64(2) * 1024 * 1024 * 1024);
    }
    case Special::Folder:
        return QDir().mkpath(path);
    }
    return false;
}

QStringList warnings(const ScriptedPrompts &prompts)
{
    QStringList texts;
    for (const ScriptedPrompts::Record &r : prompts.log) {
        if (r.kind == ScriptedPrompts::Record::Kind::Message && r.icon == BoxIcon::Warning)
            texts << r.text;
    }
    return texts;
}

} // namespace

class TestHostileFiles : public QObject {
    Q_OBJECT
private slots:
    void specialFilesAreRefused_data();
    void specialFilesAreRefused();
    void overlongTextsAreRefused_data();
    void overlongTextsAreRefused();
    void areasHoldWhatOpenReads_data();
    void areasHoldWhatOpenReads();
    void surfaceExtentOncePerBatch();
    void dialogsAreMadeAtFirstUse();
};

void TestHostileFiles::specialFilesAreRefused_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("openMessage");
    QTest::newRow("pipe") << int(Special::Pipe) << "pipe (FIFO)" << "Error opening ";
    QTest::newRow("link to /dev/zero") << int(Special::DeviceLink) << "device" << "Error opening ";
    QTest::newRow("sparse 2 GB") << int(Special::Sparse) << "larger than" << "is corrupt.";
    QTest::newRow("folder") << int(Special::Folder) << "folder" << "Error opening ";
}

// Each kind of file in every place the program reads one: a button's
// picture in Preview, a button's sound in Compile, the project in Open and
// the settings file at start-up. Each command ends, names the file and
// says why, and copies nothing of it.
void TestHostileFiles::specialFilesAreRefused()
{
    QFETCH(int, kind);
    QFETCH(QString, reason);
    QFETCH(QString, openMessage);
    MainFormFixture f;
    TMainForm &m = *f.form;
    QTemporaryDir site;
    const QString picture = site.filePath("art/pic.gif");
    const QString sound = site.filePath("snd/ding.au");
    QVERIFY(makeSpecial(Special(kind), picture));
    QVERIFY(makeSpecial(Special(kind), sound));
    f.prompts.files = {site.filePath("menu.qmf")};
    QVERIFY(m.SaveAs());
    m.design().Buttons[0].DefImageName = picture;
    m.design().Buttons[0].MouseOverSound = sound;

    // Preview, over what an earlier Preview left under the picture's name.
    const QString tmp = f.folder.file("tmp");
    QVERIFY(qmtest::writeBytes(tmp + "/pic.gif", "an earlier picture"));
    auto conversation = std::make_unique<ScriptedConversation>();
    ScriptedConversation *browser = conversation.get();
    conversation->answering = {"WWW_OpenURL", "WWW_Activate"};
    conversation->replies = {QString("1"), QString("1")};
    m.DDEForm->setConversation(std::move(conversation));
    m.program().Browser = QCoreApplication::applicationFilePath();
    f.prompts.log.clear();
    m.PreviewButtonClick();
    QStringList said = warnings(f.prompts);
    // Then what the page would miss online (the program's mouse-over picture).
    QCOMPARE(said.size(), 2);
    QVERIFY2(said[1].startsWith("Online, the page in "), qPrintable(said[1]));
    QVERIFY2(said[0].contains(picture + ": it is ") && said[0].contains(reason), qPrintable(said[0]));
    QVERIFY2(said[0].contains(sound), qPrintable(said[0]));
    QVERIFY(!QFileInfo::exists(tmp + "/pic.gif"));
    QVERIFY(!QFileInfo::exists(tmp + "/ding.au"));
    QVERIFY(QFileInfo::exists(tmp + "/preview.html"));
    QVERIFY(browser->log.join('\n').contains("preview.html"));

    // Compile: the sound is named, the runtime still copied.
    QVERIFY(qmtest::writeBytes(f.folder.file("java/quillmap.js"), "runtime"));
    f.prompts.log.clear();
    f.prompts.answers = {ModalResult::Yes, ModalResult::No};
    m.CompileButtonClick();
    said = warnings(f.prompts);
    QCOMPARE(said.size(), 2);
    QVERIFY2(said[0].contains(sound + ": it is ") && said[0].contains(reason), qPrintable(said[0]));
    QVERIFY(!QFileInfo::exists(site.filePath("ding.au")));
    QCOMPARE(qmtest::readBytes(site.filePath("quillmap.js")), QByteArray("runtime"));
    QVERIFY(f.prompts.exhausted());

    // Open: the design stays, the file is named.
    const int buttons = int(m.design().Buttons.size());
    f.prompts.log.clear();
    f.prompts.files = {picture};
    m.Open();
    said = warnings(f.prompts);
    QCOMPARE(said.size(), 1);
    QVERIFY2(said[0].contains(openMessage), qPrintable(said[0]));
    QCOMPARE(int(m.design().Buttons.size()), openMessage == "is corrupt." ? 1 : buttons);

    // The settings file: the defaults, said once, not again at New; not
    // written over by Options.
    QVERIFY(makeSpecial(Special(kind), f.folder.file("QM.INI")));
    f.prompts.log.clear();
    f.restart();
    TMainForm &r = *f.form;
    said = warnings(f.prompts);
    QCOMPARE(said.size(), 1);
    QVERIFY2(said[0].contains("QM.INI is not read: it is ") && said[0].contains(reason), qPrintable(said[0]));
    QCOMPARE(r.program().SplashState, QString("Splash And Sound"));
    QVERIFY(r.program().Browser.isEmpty());
    r.NewButtonClick();
    QCOMPARE(warnings(f.prompts).size(), 1);
    QString why;
    QVERIFY(!writeSettings(r.program().AppDir, Settings(), &why));
    QVERIFY2(why.contains(reason), qPrintable(why));
    QVERIFY(!QFileInfo(f.folder.file("QM.INI")).isFile() || QFileInfo(f.folder.file("QM.INI")).size() > MaxSettingsFileBytes);
}

void TestHostileFiles::overlongTextsAreRefused_data()
{
    QTest::addColumn<int>("titleChars");
    QTest::addColumn<int>("blurbChars");
    QTest::addColumn<int>("button");       // whose texts; 0 for the background
    QTest::addColumn<QString>("refusal");  // empty when the file opens
    QTest::newRow("title at the limit") << int(MaxTitleChars) << 100 << 0 << "";
    QTest::newRow("blurb at the limit") << 10 << int(MaxBlurbChars) << 2 << "";
    QTest::newRow("one-word title of a megabyte") << 1024 * 1024 << 10 << 0
                                                 << "the Title text of the background has 1048576 characters";
    QTest::newRow("button's blurb one too long") << 10 << int(MaxBlurbChars) + 1 << 2
                                                 << "the Blurb text of button 2 has 32769 characters";
}

void TestHostileFiles::overlongTextsAreRefused()
{
    QFETCH(int, titleChars);
    QFETCH(int, blurbChars);
    QFETCH(int, button);
    QFETCH(QString, refusal);
    MainFormFixture f;
    TMainForm &m = *f.form;
    Design d = m.design();
    d.Buttons.append(d.newButton(m.program(), 10, 200));
    // One word each: the costliest text for an area to lay out.
    QString &title = button ? d.Buttons[button - 1].TitleText : d.BgTitleText;
    QString &blurb = button ? d.Buttons[button - 1].BlurbText : d.BgBlurbText;
    title = QString(titleChars, 'w');
    blurb = QString(blurbChars, 'b');
    const QString file = f.folder.file("long.qmf");
    QVERIFY(qmtest::writeBytes(file, writeProject(d, FixedWidthLineBreaker())));

    f.prompts.files = {file};
    QElapsedTimer clock;
    clock.start();
    m.Open();
    QCoreApplication::processEvents();
    QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
    const QStringList said = warnings(f.prompts);
    if (refusal.isEmpty()) {
        QVERIFY2(said.isEmpty(), qPrintable(said.join('\n')));
        QCOMPARE(m.design().Buttons.size(), 2);
        QCOMPARE((button ? m.design().Buttons[button - 1].BlurbText : m.design().BgBlurbText).size(), blurbChars);
    } else {
        QCOMPARE(said.size(), 1);
        QVERIFY2(said[0].contains("long.qmf cannot be opened: " + refusal), qPrintable(said[0]));
        QCOMPARE(m.design().Buttons.size(), 1);
        QVERIFY(m.design().FileName.isEmpty());
    }
}

void TestHostileFiles::areasHoldWhatOpenReads_data()
{
    QTest::addColumn<bool>("title");
    QTest::addColumn<QString>("before"); // the area's text, the caret at its end
    QTest::addColumn<QString>("pasted"); // pasted, or typed when it starts with "type:"
    QTest::addColumn<int>("length");     // as the design counts it afterwards
    const int blurb = int(MaxBlurbChars);
    QTest::newRow("blurb pasted past the limit") << false << "" << QString(33000, 'b') << blurb;
    // A line break is CR LF in the file: two characters of the limit.
    QTest::newRow("blurb lines pasted past the limit")
        << false << "abc" << QString("line\n").repeated(6000) << blurb - 1;
    QTest::newRow("blurb pasted just to the limit") << false << "" << QString(blurb, 'b') << blurb;
    QTest::newRow("typed at the blurb's limit") << false << QString(blurb, 'b') << "type:xyz" << blurb;
    QTest::newRow("title pasted past the limit") << true << "T" << QString(5000, 't') << int(MaxTitleChars);
}

void TestHostileFiles::areasHoldWhatOpenReads()
{
    QFETCH(bool, title);
    QFETCH(QString, before);
    QFETCH(QString, pasted);
    QFETCH(int, length);
    MainFormFixture f;
    TMainForm &m = *f.form;
    AreaEdit *area = title ? m.Title : m.Blurb;
    area->setText(before);
    area->setFocus();
    area->moveCursor(QTextCursor::End);
    if (pasted.startsWith("type:")) {
        QTest::keyClicks(area, pasted.mid(5));
    } else {
        QGuiApplication::clipboard()->setText(pasted);
        area->paste();
    }
    QCoreApplication::processEvents();
    const QString text = area->text();
    QCOMPARE(text.size(), length);
    QVERIFY(text.startsWith(before));
    const qsizetype cut = std::count_if(f.prompts.log.cbegin(), f.prompts.log.cend(), [](const auto &r) {
        return r.kind == ScriptedPrompts::Record::Kind::Message && r.text.contains("was cut there");
    });
    const bool overflowed = before.size() + pasted.size() + pasted.count('\n') > length;
    QCOMPARE(cut, overflowed ? 1 : 0);

    // What the area holds, Save writes and Open reads back whole.
    f.prompts.files = {f.folder.file("long.qmf")};
    QVERIFY(m.SaveAs());
    m.Title->setText(QString());
    m.Blurb->setText(QString());
    f.prompts.files = {f.folder.file("long.qmf")};
    m.Open();
    QVERIFY(warnings(f.prompts).isEmpty());
    QCOMPARE(m.design().FileName, QString("long.qmf"));
    if (title)
        QVERIFY(m.design().BgTitleText.startsWith(before) && m.design().BgTitleText.size() > before.size());
    else
        QCOMPARE(m.design().BgBlurbText.size(), length);
}

void TestHostileFiles::surfaceExtentOncePerBatch()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    m.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m));
    for (int i = 0; i < 100; ++i)
        m.AddButtonClick(m.AddButton);
    // No selection frame lies beyond the last button.
    m.HighlightTable();
    QCoreApplication::processEvents();
    const int before = m.Background->extentPasses();
    for (int i = 0; i < m.design().Buttons.size(); ++i) {
        m.design().Buttons[i].setRect(QRect(20 * i, 10 * i, 60, 40));
        m.pushButtonToControl(i);
    }
    QCoreApplication::processEvents();
    QCOMPARE(m.Background->extentPasses(), before + 1);
    const QRect last = m.design().Buttons.last().rect();
    QCOMPARE(m.Background->canvas()->size(), QSize(last.right() + 1, last.bottom() + 1));
}

void TestHostileFiles::dialogsAreMadeAtFirstUse()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    QVERIFY(!m.ButtonOptions.created());
    QVERIFY(!m.TableForm.created());
    QVERIFY(!m.OptionsForm.created());
    // A build reads "Absolute positioning" from the design, which the
    // Background dialog shows once it is made.
    QVERIFY(m.BuildCompileString(true));
    QVERIFY(!m.TableForm.created());
    QVERIFY(m.TableForm->cbAbsPos->isChecked());
    // Made once: its controls keep their state.
    m.TableForm->cbAbsPos->setChecked(false);
    TTableForm *made = m.TableForm;
    QVERIFY(m.BuildCompileString(true));
    QCOMPARE(static_cast<TTableForm *>(m.TableForm), made);
    QVERIFY(!m.design().AbsolutePositioning);
    QVERIFY(!m.ButtonOptions.created());
}

QTEST_MAIN(TestHostileFiles)
#include "test_hostilefiles.moc"
