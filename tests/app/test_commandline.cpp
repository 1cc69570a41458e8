// quillmap --compile, run as a user or a build script runs it: without a
// display, from a program folder, with its exit status and messages.

#include "compile/appletblock.h"
#include "compile/projectcompile.h"
#include "compile/runtimefiles.h"
#include "model/projectfile.h"
#include "testsupport.h"

#include <QProcess>
#include <QtTest>
#include <sys/stat.h>

using namespace qm;

namespace {

struct Run {
    int status = -1;
    QByteArray out;
    QString err;
};

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void statusAndMessages_data();
    void statusAndMessages();
    void runtimeAndSoundsGoIntoDir();

private:
    // Runs the program in the program folder with no display at all.
    Run run(const QStringList &args, const QString &platform = QString()) const;
    QString project(const QString &name) const { return m_projects.filePath(name); }

    qmtest::ProgramFolder m_folder;
    QTemporaryDir m_projects;
    QString m_block;
};

void TestCommandLine::initTestCase()
{
    for (const char *name : kRuntimeFiles)
        QVERIFY(qmtest::writeBytes(m_folder.file(QLatin1String("java/") + QLatin1String(name)), name));
    Design d;
    const qm::ProgramSetup program = qm::programSetup(m_folder.path());
    resetDesign(d);
    d.BgBlurbText = QStringLiteral("Fast\r\n\r\nCheap, with café and a line long enough to wrap in the Blurb area");
    d.Buttons << d.newButton(program, 150, 150) << d.newButton(program, 10, 200);
    d.Buttons[1].MouseOverSound = m_projects.filePath(QStringLiteral("nowhere/gone.au"));
    QVERIFY(qmtest::writeBytes(project("menu.qmf"), writeProject(d, FixedWidthLineBreaker())));
    d.ShowTitleAndBlurb = false;
    d.Buttons.clear();
    QVERIFY(qmtest::writeBytes(project("empty.qmf"), writeProject(d, FixedWidthLineBreaker())));
    QVERIFY(qmtest::writeBytes(project("Corrupt.qmf"), "\"Quillmap Version:\"\r\n\"v2.0\"\r\n"));
    QVERIFY(qmtest::writeBytes(project("a file"), "x"));
    QCOMPARE(mkfifo(qPrintable(project("fifo.qmf")), 0600), 0);
    // As Compile puts it on the clipboard: the runtime's line first.
    m_block = pastedText(buildProjectBlock(m_folder.path(), project("menu.qmf")).html);
    QVERIFY(m_block.contains(QStringLiteral("blurb2")));
}

Run TestCommandLine::run(const QStringList &args, const QString &platform) const
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(name));
    if (!platform.isEmpty())
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(m_folder.path());
    p.start(QStringLiteral(QUILLMAP_PROGRAM), args);
    Run r;
    if (!p.waitForFinished(60000))
        return r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

void TestCommandLine::statusAndMessages_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");   // on standard error
    QTest::addColumn<QString>("written");   // "out": the block on standard output, else the file with it

    const QString menu = project("menu.qmf");
    const QString out = project("menu.html");
    QTest::newRow("block") << QStringList{"--compile", menu} << 0 << QString() << "out";
    QTest::newRow("into a file") << QStringList{"--compile", menu, "-o", out} << 0 << QString() << out;
    // The program's own pictures lie outside the project's folder: named, and
    // with --strict the status says so; the block is written all the same.
    QTest::newRow("strict") << QStringList{"--compile", "--strict", menu, "-o", out} << 1
                            << "images/default.gif is outside the page's folder" << out;
    QTest::newRow("missing file") << QStringList{"--compile", project("missing.qmf")} << 1
                                  << "Error opening " + project("missing.qmf") << QString();
    QTest::newRow("corrupt file") << QStringList{"--compile", project("Corrupt.qmf")} << 1
                                  << "Error reading file. " + project("Corrupt.qmf") + " is corrupt." << QString();
    QTest::newRow("a pipe") << QStringList{"--compile", project("fifo.qmf")} << 1
                            << "Error opening " + project("fifo.qmf") << QString();
    QTest::newRow("nothing to build") << QStringList{"--compile", project("empty.qmf")} << 1
                                      << "There are no Buttons!" << QString();
    QTest::newRow("unwritable output") << QStringList{"--compile", menu, "-o", project("a file/x.html")} << 1
                                       << "Error writing " + project("a file/x.html") << QString();
    QTest::newRow("unwritable runtime folder") << QStringList{"--compile", menu, "--runtime", project("a file/rt")} << 1
                                               << "Cannot write to " + project("a file/rt") << QString();
    QTest::newRow("no file") << QStringList{"--compile"} << 2 << "one project file" << QString();
    QTest::newRow("unknown option") << QStringList{"--compile", "--bogus", menu} << 2 << "bogus" << QString();
    QTest::newRow("output without compile") << QStringList{"-o", out, menu} << 2 << "go with --compile" << QString();
}

void TestCommandLine::statusAndMessages()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, message);
    QFETCH(QString, written);
    // A window system named in the environment is not needed either.
    const Run r = run(args, QStringLiteral("xcb"));
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QCOMPARE(r.status, status);
    if (written == QLatin1String("out")) {
        QCOMPARE(r.out, m_block.toUtf8());
    } else {
        QCOMPARE(r.out, QByteArray());
        if (!written.isEmpty())
            QCOMPARE(qmtest::readBytes(written), m_block.toUtf8());
    }
    if (status != 0)
        QVERIFY(r.err.startsWith(QLatin1String("quillmap: ")) || r.err.contains(QLatin1String("\nquillmap: ")));
}

void TestCommandLine::runtimeAndSoundsGoIntoDir()
{
    const QString dir = m_projects.filePath(QStringLiteral("page"));
    const Run r = run({"--compile", project("menu.qmf"), "--runtime", dir, "-o", dir + "/block.html"});
    QCOMPARE(r.status, 0);
    QStringList expected{"block.html", "click.au"};
    for (const char *name : kRuntimeFiles)
        expected << QLatin1String(name);
    expected.sort();
    QCOMPARE(QDir(dir).entryList(QDir::Files, QDir::Name), expected);
    QCOMPARE(qmtest::readBytes(dir + "/quillmap.js"), qmtest::readBytes(m_folder.file("java/quillmap.js")));
    QCOMPARE(qmtest::readBytes(dir + "/click.au"), qmtest::readBytes(m_folder.file("sound/click.au")));
    // The sound that does not exist is named, not copied; nothing goes beside the project.
    QVERIFY(r.err.contains(QStringLiteral("gone.au")));
    QVERIFY(!QFileInfo::exists(project("click.au")));

    // The same again overwrites without asking.
    QCOMPARE(run({"--compile", project("menu.qmf"), "--runtime", dir}).status, 0);
}

} // namespace

QTEST_MAIN(TestCommandLine)
#include "test_commandline.moc"
