#include "preview/commandline.h"
#include "preview/linuxconversation.h"
#include "preview/procinfo.h"
#include "scriptedconversation.h"
#include "preview/tddeform.h"
#include "preview/texecfile.h"
#include "scriptedprompts.h"
#include "standin.h"
#include "testsupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <QtTest>

#include <csignal>

using namespace qm;

namespace {

const QString kTail = QStringLiteral(",,0xFFFFFFFF,0x3,,,");

struct ScriptedLauncher {
    ScriptedLauncher()
    {
        auto c = std::make_unique<ScriptedConversation>();
        conv = c.get();
        form.setConversation(std::move(c));
    }
    TDDEForm form;
    ScriptedConversation *conv = nullptr;
};

QString quoted(const QString &s)
{
    return QLatin1Char('"') + s + QLatin1Char('"');
}

int niceOf(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -100;
    const QByteArray stat = f.readAll();
    // Fields after the name: state is field 3, nice field 19.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    return fields.size() > 16 ? fields.at(16).toInt() : -100;
}

} // namespace

class TestLauncher : public QObject {
    Q_OBJECT
private slots:
    void serviceNames_data();
    void serviceNames();
    void windowNumbers_data();
    void windowNumbers();
    void commandLines_data();
    void commandLines();
    void urlsOfItems_data();
    void urlsOfItems();

    void runningBrowserIsAskedAndNothingStarts();
    void browserStartedThenPageSentAtTheFirstTickThatAnswers();
    void newOpenURLDuringTheRetryState();

    void linuxConversationFindsTheRunningBrowser();
    void linuxConversationResolvesLinks();
    void startedBrowserIsFoundUnderAnyName_data();
    void startedBrowserIsFoundUnderAnyName();
    void browserThatNeverAnswersGetsThePageOnce();
    void browserThatCannotBeReachedIsReported();
    void execFileWaitsAndReportsFailures();
    void execFilePriority();
};

void TestLauncher::serviceNames_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("windows");
    QTest::addColumn<QString>("service");
    QTest::newRow("iexplore") << R"("C:\Program Files\Internet Explorer\IEXPLORE.EXE")" << true << "IEXPLORE";
    QTest::newRow("ie20") << R"("C:\IE\IE20.EXE")" << true << "IEXPLORE";
    QTest::newRow("ie20 lower") << R"("C:\IE\ie20.exe")" << true << "IEXPLORE";
    QTest::newRow("own case") << R"("D:netscape.exe")" << true << "netscape";
    QTest::newRow("dots in name") << R"("C:\a.b\my.browser.exe")" << true << "my.browser";
    QTest::newRow("linux") << R"("/usr/bin/chromium")" << false << "chromium";
    QTest::newRow("linux ext") << R"("/opt/x/firefox.sh")" << false << "firefox";
    QTest::newRow("linux dotted folder") << R"("/opt/fire.fox/firefox-esr")" << false << "firefox-esr";
    QTest::newRow("linux ie20") << R"("/opt/ie20")" << false << "IEXPLORE";
}

void TestLauncher::serviceNames()
{
    QFETCH(QString, command);
    QFETCH(bool, windows);
    QFETCH(QString, service);
    QCOMPARE(browserServiceName(command, windows ? PathStyle::Windows : PathStyle::Posix), service);
}

void TestLauncher::windowNumbers_data()
{
    QTest::addColumn<std::optional<QString>>("reply");
    QTest::addColumn<qint64>("number");
    QTest::newRow("digits") << std::optional<QString>("123") << qint64(123);
    QTest::newRow("digits then letters") << std::optional<QString>("123abc") << qint64(123);
    QTest::newRow("leading blanks") << std::optional<QString>("   42,7") << qint64(42);
    QTest::newRow("empty") << std::optional<QString>("") << qint64(0);
    QTest::newRow("letters") << std::optional<QString>("abc") << qint64(0);
    QTest::newRow("none") << std::optional<QString>() << qint64(0);
}

void TestLauncher::windowNumbers()
{
    QFETCH(std::optional<QString>, reply);
    QFETCH(qint64, number);
    QCOMPARE(windowNumberOf(reply), number);
}

void TestLauncher::commandLines_data()
{
    QTest::addColumn<QString>("file");     // made to exist, "" for none
    QTest::addColumn<QString>("line");     // %F stands for the file
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("quoted, one blank") << "b/x" << "\"%F\" " << "%F" << QStringList();
    QTest::newRow("blanks") << "my browsers/x y" << "\"%F\" \"a b\" c" << "%F" << QStringList{"a b", "c"};
    QTest::newRow("quotes in the path") << R"(my "odd" dir/br "x")" << "\"%F\" --new" << "%F" << QStringList{"--new"};
    QTest::newRow("missing quoted") << "" << R"("/no/such/browser" --a)" << "/no/such/browser" << QStringList{"--a"};
    QTest::newRow("unquoted blanks") << "Program Files/br" << "%F --a" << "%F" << QStringList{"--a"};
    QTest::newRow("unquoted missing") << "" << "/no/such prog" << "/no/such" << QStringList{"prog"};
}

void TestLauncher::commandLines()
{
    QFETCH(QString, file);
    QFETCH(QString, line);
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QTemporaryDir dir;
    if (!file.isEmpty())
        QVERIFY(qmtest::writeBytes(dir.filePath(file), "#!/bin/sh\n"));
    const QString path = dir.filePath(file);
    const SplitCommand split = splitCommandLine(QString(line).replace("%F", path));
    QCOMPARE(split.program, QString(program).replace("%F", path));
    QCOMPARE(split.arguments, arguments);
}

void TestLauncher::urlsOfItems_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("url");
    QTest::newRow("page") << "\"/opt/qm/tmp/preview.html\"" + kTail << "file:///opt/qm/tmp/preview.html";
    QTest::newRow("blanks, comma, quote") << R"("/a b/x,y/"z"/preview.html")" + kTail
                                          << "file:///a%20b/x,y/%22z%22/preview.html";
    QTest::newRow("web address") << "http://example.org/a,,0xFFFFFFFF" << "http://example.org/a";
    QTest::newRow("unquoted path") << "/tmp/p.html,,1" << "file:///tmp/p.html";
}

void TestLauncher::urlsOfItems()
{
    QFETCH(QString, item);
    QFETCH(QString, url);
    QCOMPARE(LinuxConversation::urlOfItem(item), url);
}

void TestLauncher::runningBrowserIsAskedAndNothingStarts()
{
    StandInBrowser browser;
    ScriptedLauncher l;
    l.conv->answering = {"WWW_OpenURL", "WWW_Activate"};
    l.conv->replies = {QString("123abc")};
    l.form.OpenURL(quoted(browser.path()), "  \"/app/tmp/preview.html\"\r\n");
    QCOMPARE(l.conv->log, QStringList({
        "program " + browser.path(),
        "open " + browser.name() + " WWW_OpenURL -> yes",
        "request \"/app/tmp/preview.html\"" + kTail,
        "close",
        "open " + browser.name() + " WWW_Activate -> yes",
        "request 123,0",
        "close",
    }));
    QCOMPARE(l.conv->lastTimeout, 10000);
    QVERIFY(!l.form.Timer1->isActive());
    QCOMPARE(l.form.ExecFile1->ProcessId, 0);
    QTest::qWait(300);
    QVERIFY(browser.starts().isEmpty());

    // No reply within the time-out: window 0. A browser without the
    // activation topic is only asked to open the page.
    l.conv->log.clear();
    l.conv->replies = {std::nullopt};
    l.form.OpenURL(quoted(browser.path()), "\"/p.html\"");
    QCOMPARE(l.conv->log.at(5), QString("request 0,0"));
    l.conv->log.clear();
    l.conv->answering = {"WWW_OpenURL"};
    l.form.OpenURL(quoted(browser.path()), "\"/p.html\"");
    QCOMPARE(l.conv->log.size(), 5);
    QCOMPARE(l.conv->log.last(), "open " + browser.name() + " WWW_Activate -> no");
}

void TestLauncher::browserStartedThenPageSentAtTheFirstTickThatAnswers()
{
    StandInBrowser browser;
    ScriptedLauncher l;
    l.form.OpenURL(quoted(browser.path()), "\"/app/tmp/preview.html\"");
    QCOMPARE(l.conv->log, QStringList({"program " + browser.path(), "open " + browser.name() + " WWW_OpenURL -> no"}));
    // Started without the page; the timer takes over.
    QVERIFY(browser.waitForStarts(1));
    QCOMPARE(browser.starts(), QStringList({""}));
    QVERIFY(l.form.Timer1->isActive());
    QCOMPARE(l.form.Timer1->interval(), 2000);
    QCOMPARE(l.form.ExecFile1->Priority, TExecFile::pcHigh);
    QVERIFY(!l.form.ExecFile1->Wait);
    QVERIFY(!l.form.ExecFile1->Associate);

    // A tick the browser does not answer yet changes nothing.
    l.conv->log.clear();
    l.form.Timer1Timer();
    QCOMPARE(l.conv->log, QStringList({"open " + browser.name() + " WWW_OpenURL -> no"}));
    QVERIFY(l.form.Timer1->isActive());

    // The first tick that answers sends the page and ends the retries.
    l.conv->log.clear();
    l.conv->answering = {"WWW_OpenURL", "WWW_Activate"};
    l.conv->replies = {QString("77")};
    l.form.Timer1Timer();
    QCOMPARE(l.conv->log, QStringList({
        "open " + browser.name() + " WWW_OpenURL -> yes",
        "request \"/app/tmp/preview.html\"" + kTail,
        "close",
        "open " + browser.name() + " WWW_Activate -> yes",
        "request 77,0",
        "close",
    }));
    QVERIFY(!l.form.Timer1->isActive());
    QCOMPARE(browser.starts().size(), 1);
}

void TestLauncher::newOpenURLDuringTheRetryState()
{
    StandInBrowser browser;
    ScriptedLauncher l;
    l.form.OpenURL(quoted(browser.path()), "\"/first.html\"");
    QVERIFY(l.form.Timer1->isActive());
    QVERIFY(browser.waitForStarts(1));

    // Still no answer: the browser is started again, the timer runs on.
    l.form.OpenURL(quoted(browser.path()), "\"/second.html\"");
    QVERIFY(browser.waitForStarts(2));
    QCOMPARE(browser.starts(), QStringList({"", ""}));
    QVERIFY(l.form.Timer1->isActive());
    QCOMPARE(l.form.PendingURL, QString("\"/second.html\""));

    // The browser answers a third OpenURL: the page goes at once, the timer
    // stays on, and its next tick sends the page a second time and stops.
    l.conv->answering = {"WWW_OpenURL", "WWW_Activate"};
    l.conv->log.clear();
    l.form.OpenURL(quoted(browser.path()), "\"/third.html\"");
    QCOMPARE(l.conv->log.filter("request \"").size(), 1);
    QVERIFY(l.form.Timer1->isActive());
    l.form.Timer1Timer();
    QCOMPARE(l.conv->log.filter("request \"/third.html\"").size(), 2);
    QVERIFY(!l.form.Timer1->isActive());
    QCOMPARE(browser.starts().size(), 2);
}

void TestLauncher::linuxConversationFindsTheRunningBrowser()
{
    StandInBrowser browser("my \"odd\" browsers");
    LinuxConversation c;
    c.setProgram(browser.path());
    QVERIFY(!c.open(browser.name(), "WWW_OpenURL"));
    QVERIFY(!c.request("\"/x.html\"" + kTail, 10000));

    QVERIFY(browser.startRunning());
    QVERIFY(c.runningBrowser(browser.name()) != 0);
    // The process name is compared without regard to case.
    QVERIFY(c.open(browser.name().toUpper(), "WWW_OpenURL"));
    const std::optional<QString> reply = c.request("\"/opt/a b/preview.html\"" + kTail, 10000);
    QVERIFY(reply && reply->toLongLong() > 0);
    QVERIFY(browser.waitForStarts(2));
    QCOMPARE(browser.starts().last(), QString("[file:///opt/a%20b/preview.html]"));
    c.close();
    QVERIFY(!c.request("x", 10));
    QVERIFY(c.open(browser.name(), "WWW_Activate"));
    QCOMPARE(c.request("123,0", 10000), std::optional<QString>(QString()));
    QVERIFY(!c.open(browser.name(), "WWW_Other"));

    browser.stopAll();
    QVERIFY(!c.open(browser.name(), "WWW_OpenURL"));
}

void TestLauncher::linuxConversationResolvesLinks()
{
    // A browser file that is a link to the running program, under a name
    // no process has.
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("real-%1").arg(QCoreApplication::applicationPid()));
    QVERIFY(QFile::copy("/bin/sleep", program));
    const QString link = dir.filePath("my-web-browser");
    QVERIFY(QFile::link(program, link));
    LinuxConversation c;
    c.setProgram(link);
    QVERIFY(!c.open("my-web-browser", "WWW_OpenURL"));
    QProcess sleeper;
    sleeper.start(program, {"20"});
    QVERIFY(sleeper.waitForStarted());
    QVERIFY(c.open("my-web-browser", "WWW_OpenURL"));
    sleeper.kill();
    sleeper.waitForFinished();
}

// Wrappers named unlike the program they run: found by neither name.
namespace {
const char *const kExecs = "exec %S \"$@\"";
// The shell it becomes runs the browser as its child (the "true" after it
// keeps the shell from exec'ing it).
const char *const kRunsAsChild = "exec /bin/sh -c \"%S \\\"\\$@\\\"; true\" sh \"$@\"";
// Starts the browser in the background and ends, as a launcher that hands
// over to a service does: the browser then descends from nothing started here.
const char *const kLeavesItRunning = "if [ $# -eq 0 ]; then (%S &); exit 0; fi\nexec %S \"$@\"";
} // namespace

void TestLauncher::startedBrowserIsFoundUnderAnyName_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<bool>("found");
    QTest::newRow("wrapper that execs the browser") << kExecs << true;
    QTest::newRow("wrapper that runs it as its child") << kRunsAsChild << true;
    QTest::newRow("launcher that leaves it running") << kLeavesItRunning << false;
}

void TestLauncher::startedBrowserIsFoundUnderAnyName()
{
    QFETCH(QString, body);
    QFETCH(bool, found);
    StandInBrowser browser;
    const QString wrapper = browser.wrapper(QStringLiteral("web-%1").arg(QCoreApplication::applicationPid()), body);
    const QString service = browserServiceName(quoted(wrapper));
    TExecFile start;
    start.CommandLine = quoted(wrapper);
    QVERIFY(start.Execute());
    QTRY_VERIFY(!browser.runningIds().isEmpty());

    LinuxConversation c;
    c.setProgram(wrapper);
    // By its names alone the browser is not found.
    QVERIFY(!c.open(service, "WWW_OpenURL"));
    c.setStartedProcess(start.ProcessId);
    QCOMPARE(c.open(service, "WWW_OpenURL"), found);
    browser.stopAll();
    // Once the stopped browser is gone (a loaded machine reaps it a little later).
    QTRY_VERIFY(!c.open(service, "WWW_OpenURL"));
}

void TestLauncher::browserThatNeverAnswersGetsThePageOnce()
{
    StandInBrowser browser;
    const QString launcher = browser.wrapper("launcher", kLeavesItRunning);
    ScriptedPrompts prompts;
    TDDEForm form;
    form.setPrompts(&prompts);
    QCOMPARE(form.HandOverTimer->interval(), 10000);
    form.HandOverTimer->setInterval(600);
    form.OpenURL(quoted(launcher), "\"/app/tmp/preview.html\"");
    QVERIFY(form.Timer1->isActive());
    // Started without the page; never found running; then run with the
    // page's URL, once, and the retries end.
    QVERIFY(browser.waitForStarts(2, 5000));
    QCOMPARE(browser.starts(), QStringList({"", "[file:///app/tmp/preview.html]"}));
    QVERIFY(!form.Timer1->isActive());
    QVERIFY(prompts.log.isEmpty());
}

void TestLauncher::browserThatCannotBeReachedIsReported()
{
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    TDDEForm form;
    form.setPrompts(&prompts);
    // A browser file that cannot be started: said at once, no retries.
    const QString text = dir.filePath("not-a-program");
    QVERIFY(qmtest::writeBytes(text, "text"));
    form.OpenURL(quoted(text), "\"/app/tmp/preview.html\"");
    QVERIFY(!form.Timer1->isActive() && !form.HandOverTimer->isActive());
    QCOMPARE(prompts.log.first().icon, BoxIcon::Warning);

    // A launcher that started but is gone when the page is to be handed over.
    StandInBrowser browser;
    const QString launcher = browser.wrapper("launcher", kLeavesItRunning);
    form.HandOverTimer->setInterval(600);
    form.OpenURL(quoted(launcher), "\"/app/tmp/preview.html\"");
    QVERIFY(browser.waitForStarts(1));
    QVERIFY(QFile::remove(launcher));
    QTRY_COMPARE(prompts.messages().size(), 2);
    QVERIFY(!form.Timer1->isActive());
    for (const QString &program : {text, launcher})
        QVERIFY(prompts.messages().contains("The browser " + program + " could not be reached to show /app/tmp/preview.html."));
}

void TestLauncher::execFileWaitsAndReportsFailures()
{
    // Waiting with the program's events handled: a timer fires meanwhile.
    TExecFile e;
    e.CommandLine = "/bin/sh";
    e.Parameters = "-c \"sleep 0.4\"";
    e.Wait = true;
    bool handled = false;
    bool waitingSeen = false;
    QTimer::singleShot(100, [&] { handled = true; waitingSeen = e.Waiting; });
    QElapsedTimer clock;
    clock.start();
    QVERIFY(e.Execute());
    QVERIFY(clock.elapsed() >= 400);
    QVERIFY(handled && waitingSeen);
    QVERIFY(!e.Waiting);

    // Blocking: no event is handled while the program runs.
    e.WaitStyle = TExecFile::wSuspend;
    handled = false;
    QTimer::singleShot(50, [&] { handled = true; });
    clock.restart();
    QVERIFY(e.Execute());
    QVERIFY(clock.elapsed() >= 400);
    QVERIFY(!handled);

    // Failures reach OnFail with the reason.
    QTemporaryDir dir;
    QVERIFY(qmtest::writeBytes(dir.filePath("not-a-program"), "text"));
    const QList<QPair<QString, int>> failures = {{dir.filePath("missing"), ENOENT},
                                                 {dir.filePath("not-a-program"), EACCES}};
    for (const auto &[program, code] : failures) {
        TExecFile f;
        f.CommandLine = quoted(program);
        int calls = 0;
        f.OnFail = [&](TExecFile *sender) { QCOMPARE(sender, &f); ++calls; };
        QVERIFY(!f.Execute());
        QCOMPARE(calls, 1);
        QCOMPARE(f.ErrorCode, code);
    }
}

void TestLauncher::execFilePriority()
{
    // Lowering a priority is always allowed.
    TExecFile e;
    e.CommandLine = "/bin/sleep 5";
    e.Priority = TExecFile::pcIdle;
    QVERIFY(e.Execute());
    QVERIFY(e.ProcessId > 0);
    QCOMPARE(niceOf(e.ProcessId), 19);
    ::kill(pid_t(e.ProcessId), SIGTERM);
    QTRY_VERIFY(!proc::isAlive(e.ProcessId));
}

QTEST_GUILESS_MAIN(TestLauncher)
#include "test_launcher.moc"
