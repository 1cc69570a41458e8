// A project file named on the command line opens as Open opens a chosen
// file, once the splash has given way to the window.

#include "mainformfixture.h"
#include "model/projectfile.h"

#include <QtTest>

using namespace qm;

class TestStartUpFile : public QObject {
    Q_OBJECT
private slots:
    void opensAfterTheSplash();
};

void TestStartUpFile::opensAfterTheSplash()
{
    MainFormFixture f;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Menu.qmf"));
    Design d = f.form->design();
    resetDesign(d);
    d.BgTitleText = QStringLiteral("From the command line");
    QVERIFY(qmtest::writeBytes(path, writeProject(d, FixedWidthLineBreaker())));

    f.services.splash = true;
    f.restart();
    TMainForm &m = *f.form;
    QVERIFY(m.Timer1->isActive());
    m.openAtStartUp(path);
    // During the splash the window still holds the start-up design.
    QCOMPARE(m.windowTitle(), QString::fromLatin1(UntitledCaption));
    m.Timer1Timer();
    QCOMPARE(m.windowTitle(), QString::fromLatin1(UntitledCaption));
    m.Timer1Timer();
    QCOMPARE(m.windowTitle(), m.design().FileDir + QStringLiteral("Menu.qmf - Quillmap"));
    QCOMPARE(m.design().BgTitleText, QStringLiteral("From the command line"));
    QVERIFY(m.design().Buttons.isEmpty());
    QVERIFY(f.prompts.messages().isEmpty());
}

QTEST_MAIN(TestStartUpFile)
#include "test_startupfile.moc"
