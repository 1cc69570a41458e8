// Files that are not what they seem: nothing may hold the window or fill
// the disk or the memory.

#include "mainformfixture.h"
#include "model/settings.h"
#include "preview/scriptedconversation.h"
#include "preview/tddeform.h"

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
    m.Buttons[0].DefImageName = picture;
    m.Buttons[0].MouseOverSound = sound;

    // Preview, over what an earlier Preview left under the picture's name.
    const QString tmp = f.folder.file("tmp");
    QVERIFY(qmtest::writeBytes(tmp + "/pic.gif", "an earlier picture"));
    auto conversation = std::make_unique<ScriptedConversation>();
    ScriptedConversation *browser = conversation.get();
    conversation->answering = {"WWW_OpenURL", "WWW_Activate"};
    conversation->replies = {QString("1"), QString("1")};
    m.DDEForm->setConversation(std::move(conversation));
    m.Browser = QCoreApplication::applicationFilePath();
    f.prompts.log.clear();
    m.PreviewButtonClick();
    QStringList said = warnings(f.prompts);
    QCOMPARE(said.size(), 1);
    QVERIFY2(said[0].contains(picture + ": it is ") && said[0].contains(reason), qPrintable(said[0]));
    QVERIFY2(said[0].contains(sound), qPrintable(said[0]));
    QVERIFY(!QFileInfo::exists(tmp + "/pic.gif"));
    QVERIFY(!QFileInfo::exists(tmp + "/ding.au"));
    QVERIFY(QFileInfo::exists(tmp + "/preview.html"));
    QVERIFY(browser->log.join('\n').contains("preview.html"));

    // Compile: the sound is named, the runtime still copied.
    QVERIFY(qmtest::writeBytes(f.folder.file("java/quillmap.js"), "runtime"));
    f.prompts.log.clear();
    f.prompts.answers = {ModalResult::Yes};
    m.CompileButtonClick();
    said = warnings(f.prompts);
    QCOMPARE(said.size(), 1);
    QVERIFY2(said[0].contains(sound + ": it is ") && said[0].contains(reason), qPrintable(said[0]));
    QVERIFY(!QFileInfo::exists(site.filePath("ding.au")));
    QCOMPARE(qmtest::readBytes(site.filePath("quillmap.js")), QByteArray("runtime"));
    QVERIFY(f.prompts.exhausted());

    // Open: the design stays, the file is named.
    const int buttons = int(m.Buttons.size());
    f.prompts.log.clear();
    f.prompts.files = {picture};
    m.Open();
    said = warnings(f.prompts);
    QCOMPARE(said.size(), 1);
    QVERIFY2(said[0].contains(openMessage), qPrintable(said[0]));
    QCOMPARE(int(m.Buttons.size()), openMessage == "is corrupt." ? 1 : buttons);

    // The settings file: the defaults, said once, not again at New; not
    // written over by Options.
    QVERIFY(makeSpecial(Special(kind), f.folder.file("QM.INI")));
    f.prompts.log.clear();
    f.restart();
    TMainForm &r = *f.form;
    said = warnings(f.prompts);
    QCOMPARE(said.size(), 1);
    QVERIFY2(said[0].contains("QM.INI is not read: it is ") && said[0].contains(reason), qPrintable(said[0]));
    QCOMPARE(r.SplashState, QString("Splash And Sound"));
    QVERIFY(r.Browser.isEmpty());
    r.NewButtonClick();
    QCOMPARE(warnings(f.prompts).size(), 1);
    QString why;
    QVERIFY(!writeSettings(r.AppDir, Settings(), &why));
    QVERIFY2(why.contains(reason), qPrintable(why));
    QVERIFY(!QFileInfo(f.folder.file("QM.INI")).isFile() || QFileInfo(f.folder.file("QM.INI")).size() > MaxSettingsFileBytes);
}

QTEST_MAIN(TestHostileFiles)
#include "test_hostilefiles.moc"
