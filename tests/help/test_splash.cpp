// The start-up splash, driven tick by tick, and the sound behind it.

#include "dialogs/tsplashform.h"
#include "editor/areaedit.h"
#include "mainformfixture.h"
#include "platform/qtsound.h"
#include "platform/sound.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

namespace {

// Remembers what it was asked to play.
struct RecordingSound : qm::SoundPlayer {
    QStringList played;
    void playAsync(const QString &fileName) override { played << fileName; }
};

// Counts the Show events a widget receives.
struct ShowCounter : QObject {
    int shows = 0;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Show)
            ++shows;
        return false;
    }
};

// Starts the fixture's main window again with the given splash setting, as
// the program starts, splash included.
void startWith(MainFormFixture &f, RecordingSound &sound, const QByteArray &splashState, bool splash = true)
{
    QVERIFY(qmtest::writeBytes(f.folder.file("QM.INI"), "[GLOBAL]\r\nSplashState=" + splashState + "\r\n"));
    f.services.sound = &sound;
    f.services.splash = splash;
    f.restart();
    f.form->showAtStartUp();
}

void deleteLaterNow()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QList<QString> g_messages;
void recordMessage(QtMsgType, const QMessageLogContext &, const QString &text)
{
    g_messages << text;
}

} // namespace

class TestSplash : public QObject {
    Q_OBJECT
private slots:
    void windowAndPictures();
    void sequence_data();
    void sequence();
    void noSplash_data();
    void noSplash();
    void realTimersEndWithTheMainWindow();
    void soundIsSilentWhenItCannotPlay();
};

void TestSplash::windowAndPictures()
{
    RecordingSound sound;
    TSplashForm splash([] { return QStringLiteral("Splash And Sound"); }, &sound);
    QCOMPARE(splash.size(), QSize(330, 353));
    QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(splash.MainImage->geometry(), QRect(10, 10, 315, 339));
    QCOMPARE(splash.MainImage->pixmap().size(), QSize(310, 334));
    for (QLabel *fuse : {splash.FuseImage1, splash.FuseImage2}) {
        QCOMPARE(fuse->geometry(), QRect(16, 184, 83, 75));
        QCOMPARE(fuse->pixmap().size(), QSize(83, 75));
        QVERIFY(fuse->isHidden());
        QVERIFY(fuse->testAttribute(Qt::WA_TransparentForMouseEvents));
    }
    // The second picture is drawn over the first.
    const QObjectList order = splash.children();
    QVERIFY(order.indexOf(splash.FuseImage2) > order.indexOf(splash.FuseImage1));
    QCOMPARE(splash.Timer1->interval(), 350);
    QVERIFY(splash.Timer1->isActive());
    QCOMPARE(splash.TickCount, 1);

    // A drawn scene, not a filled box; the animation pictures let the scene
    // show through around the fire.
    const QImage scene = splash.MainImage->pixmap().toImage();
    QSet<QRgb> colours;
    for (int y = 0; y < scene.height(); y += 2)
        for (int x = 0; x < scene.width(); x += 2)
            colours.insert(scene.pixel(x, y));
    QVERIFY2(colours.size() > 500, qPrintable(QString::number(colours.size())));
    for (QLabel *fuse : {splash.FuseImage1, splash.FuseImage2}) {
        const QImage img = fuse->pixmap().toImage();
        QCOMPARE(qAlpha(img.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(img.pixel(img.width() - 1, img.height() - 1)), 0);
        int opaque = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                opaque += qAlpha(img.pixel(x, y)) > 200;
        QVERIFY2(opaque > 150, qPrintable(QString::number(opaque)));
    }
}

void TestSplash::sequence_data()
{
    QTest::addColumn<QByteArray>("splashState");
    QTest::addColumn<bool>("withSound");
    QTest::newRow("splash and sound") << QByteArray("Splash And Sound") << true;
    QTest::newRow("no sound") << QByteArray("Splash (No Sound)") << false;
    QTest::newRow("unknown text: as with sound") << QByteArray("Sometimes") << true;
    QTest::newRow("empty text: as with sound") << QByteArray("") << true;
}

void TestSplash::sequence()
{
    QFETCH(QByteArray, splashState);
    QFETCH(bool, withSound);
    MainFormFixture f;
    RecordingSound sound;
    startWith(f, sound, splashState);
    TMainForm &m = *f.form;
    QPointer<TSplashForm> splash = m.SplashForm;
    QVERIFY(splash);
    // The timers are driven by hand from here on.
    QVERIFY(m.Timer1->isActive());
    QCOMPARE(m.Timer1->interval(), 1);
    QVERIFY(splash->Timer1->isActive());
    m.Timer1->stop();
    splash->Timer1->stop();

    // Before the first tick: out of sight (never mapped, so no window manager
    // can keep it iconic), taking no commands, splash not yet up.
    QVERIFY(!m.isVisible());
    QVERIFY(!m.windowState().testFlag(Qt::WindowMinimized));
    QVERIFY(!m.isEnabled());
    QVERIFY(!splash->isVisible());

    m.Timer1Timer();
    QVERIFY(splash->isVisible());
    QVERIFY(!m.isVisible());
    QCOMPARE(m.Timer1->interval(), 3000);

    // The hidden window ignores what is sent to it.
    const qsizetype buttons = m.design().Buttons.size();
    QTest::mouseClick(m.AddButton, Qt::LeftButton);
    QCOMPARE(m.design().Buttons.size(), buttons);
    QTest::keyClick(m.Title, Qt::Key_X);
    QCOMPARE(m.Title->text(), m.design().BgTitleText);

    // Six quiet ticks.
    for (int tick = 1; tick <= 6; ++tick) {
        splash->Timer1Timer();
        QCOMPARE(splash->TickCount, tick + 1);
        QVERIFY(splash->FuseImage1->isHidden());
    }
    QVERIFY(sound.played.isEmpty());
    // The fuse is lit, with the bang unless the settings ask for quiet.
    splash->Timer1Timer();
    QVERIFY(!splash->FuseImage1->isHidden());
    QVERIFY(splash->FuseImage2->isHidden());
    QCOMPARE(sound.played, withSound ? QStringList{"bomb.wav"} : QStringList{});
    // It goes off, and the splash's timer stops.
    splash->Timer1->start();
    splash->Timer1Timer();
    QVERIFY(!splash->FuseImage2->isHidden());
    QVERIFY(!splash->Timer1->isActive());
    QCOMPARE(splash->Timer1->interval(), 1);
    QCOMPARE(sound.played.size(), withSound ? 1 : 0);

    // The main window's second tick: the window in place of the splash.
    m.Timer1->start();
    m.Timer1Timer();
    QVERIFY(!m.Timer1->isActive());
    QVERIFY(m.isVisible());
    QVERIFY(m.isEnabled());
    QVERIFY(!m.windowState().testFlag(Qt::WindowMinimized));
    QVERIFY(!splash->isVisible());
    deleteLaterNow();
    QVERIFY(!splash);
    QVERIFY(!m.SplashForm);

    // Now the window takes commands.
    QTest::mouseClick(m.AddButton, Qt::LeftButton);
    QCOMPARE(m.design().Buttons.size(), buttons + 1);
}

void TestSplash::noSplash_data()
{
    QTest::addColumn<QByteArray>("splashState");
    QTest::addColumn<bool>("splash");
    QTest::newRow("settings say No Splash") << QByteArray("No Splash") << true;
    // Tools and the tests' main windows start as with "No Splash".
    QTest::newRow("started without splash") << QByteArray("Splash And Sound") << false;
}

void TestSplash::noSplash()
{
    QFETCH(QByteArray, splashState);
    QFETCH(bool, splash);
    MainFormFixture f;
    RecordingSound sound;
    startWith(f, sound, splashState, splash);
    TMainForm &m = *f.form;
    QVERIFY(!m.Timer1->isActive());
    QVERIFY(m.isVisible());
    QVERIFY(m.isEnabled());
    QVERIFY(!m.windowState().testFlag(Qt::WindowMinimized));

    QPointer<TSplashForm> form = m.SplashForm;
    QVERIFY(form);
    ShowCounter shows;
    form->installEventFilter(&shows);
    form->Timer1Timer();
    QVERIFY(!form->Timer1->isActive());
    deleteLaterNow();
    QVERIFY(!form);
    QCOMPARE(shows.shows, 0);
    QVERIFY(sound.played.isEmpty());
}

void TestSplash::realTimersEndWithTheMainWindow()
{
    MainFormFixture f;
    RecordingSound sound;
    QElapsedTimer clock;
    clock.start();
    startWith(f, sound, "Splash And Sound");
    TMainForm &m = *f.form;
    QPointer<TSplashForm> splash = m.SplashForm;

    QTRY_VERIFY_WITH_TIMEOUT(splash && splash->isVisible(), 1000);
    QVERIFY(!m.isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(splash && !splash->FuseImage1->isHidden(), 4000);
    const qint64 fuse = clock.elapsed();
    QTRY_VERIFY_WITH_TIMEOUT(m.isVisible(), 4000);
    const qint64 shown = clock.elapsed();
    QTRY_VERIFY_WITH_TIMEOUT(!splash, 1000);
    QCOMPARE(sound.played, QStringList{"bomb.wav"});
    // Seven ticks of 350 ms, and the window after 3 s.
    QVERIFY2(fuse >= 2440, qPrintable(QString::number(fuse)));
    QVERIFY2(shown >= 2995 && shown > fuse, qPrintable(QString::number(shown)));
}

void TestSplash::soundIsSilentWhenItCannotPlay()
{
    qmtest::ProgramFolder folder;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    // A tiny RIFF WAVE file: 0.1 s of silence.
    QByteArray wav("RIFF");
    const QByteArray samples(2205 * 2, '\0');
    auto put32 = [&wav](quint32 v) { for (int i = 0; i < 4; ++i) wav.append(char((v >> (8 * i)) & 0xFF)); };
    auto put16 = [&wav](quint16 v) { wav.append(char(v & 0xFF)); wav.append(char(v >> 8)); };
    put32(36 + samples.size());
    wav.append("WAVEfmt ");
    put32(16); put16(1); put16(1); put32(22050); put32(44100); put16(2); put16(16);
    wav.append("data");
    put32(samples.size());
    wav.append(samples);
    QVERIFY(qmtest::writeBytes(folder.file("bomb.wav"), wav));

    g_messages.clear();
    QtMessageHandler previousHandler = qInstallMessageHandler(recordMessage);
    qm::QtSoundPlayer player;
    player.playAsync("missing.wav");
    const qm::QtSoundPlayer::Outcome missing = player.lastOutcome();
    // The name is found whatever its case, as the program asks for it.
    player.playAsync("BOMB.WAV");
    const qm::QtSoundPlayer::Outcome found = player.lastOutcome();
    QTest::qWait(200);
    qInstallMessageHandler(previousHandler);
    QDir::setCurrent(previous);

    QCOMPARE(missing, qm::QtSoundPlayer::Outcome::NoFile);
    QCOMPARE(found, qm::hasAudioOutput() ? qm::QtSoundPlayer::Outcome::Started
                                         : qm::QtSoundPlayer::Outcome::NoOutput);
    if (!qm::hasAudioOutput())
        QVERIFY2(g_messages.isEmpty(), qPrintable(g_messages.join('\n')));
}

QTEST_MAIN(TestSplash)
#include "test_splash.moc"
