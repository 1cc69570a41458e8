// The block built without a window from a project file is the block the
// program's Compile (and Preview) builds once it has opened that file.

#include "compile/projectcompile.h"
#include "dialogs/ttableform.h"
#include "editor/designsurface.h"
#include "mainformfixture.h"
#include "model/projectfile.h"

#include <QCheckBox>
#include <QtTest>

using namespace qm;

namespace {

// The designs: built from a fresh one, written as the program writes them,
// with the program's default pictures and sound.
using Edit = std::function<void(Design &, const ProgramSetup &)>;

void manyButtons(Design &d, const ProgramSetup &program)
{
    d.TitleFontSize = 36;
    d.TitleStyle = QStringLiteral("Bold Italic");
    applyStyleName(d.TitleAreaStyle, d.TitleStyle);
    d.BlurbFontSize = 9;
    d.BlurbStyle = QStringLiteral("Italic");
    applyStyleName(d.BlurbAreaStyle, d.BlurbStyle);
    d.TitleRect = QRect(20, 4, 250, 60);
    d.BlurbRect = QRect(20, 70, 137, 90);
    d.BgTitleText = QStringLiteral("Ünïcödé café\u00a0menu\u2028with a typed break and a title far too long for its area");
    d.BgBlurbText = QStringLiteral("Fast\r\n\r\nCheap and good, with a word of great length: ")
        + QString(QLatin1Char('m')).repeated(60) + QStringLiteral("\r\n東京の地図と日本語の長い文章を折り返す");
    const QStringList titles = {QStringLiteral("Home \"sweet\" --> home"), QStringLiteral("Über uns\u00a0und\u00a0mehr"),
                                QString()};
    for (int i = 0; i < 3; ++i) {
        ButtonData b = d.newButton(program, 10 + 160 * i, 200 + 5 * i);
        b.TitleText = titles.at(i);
        b.BlurbText = i == 1 ? QStringLiteral("\r\nstarts empty\r\nand\tends\r\n") : QStringLiteral("a blurb of a few words that wrap in the narrow Blurb");
        b.URLRelative = i == 2;
        b.LinkURL = i == 2 ? program.AppDir + QStringLiteral("/pages/next.htm") : QStringLiteral("https://example.org/?a=1&b=\"2\"");
        d.Buttons << b;
    }
}

void noTitleAndBlurb(Design &d, const ProgramSetup &program)
{
    d.ShowTitleAndBlurb = false;
    d.Buttons << d.newButton(program, 300, 40);
    d.Buttons << d.newButton(program, -30, 500);
}

void noButtons(Design &d, const ProgramSetup &)
{
    d.BgTitleText = QStringLiteral("Only a Title");
}

} // namespace

class TestWindowlessBlock : public QObject {
    Q_OBJECT
private slots:
    void sameBlockAsTheProgram_data();
    void sameBlockAsTheProgram();
    void surfaceAtStartSize();
};

void TestWindowlessBlock::sameBlockAsTheProgram_data()
{
    QTest::addColumn<Edit>("edit");
    const QList<QPair<const char *, Edit>> designs = {
        {"default", [](Design &d, const ProgramSetup &program) { d.Buttons << d.newButton(program, 150, 150); }},
        {"texts, sizes and styles", manyButtons},
        {"no Title and Blurb", noTitleAndBlurb},
        {"no buttons", noButtons},
    };
    for (const auto &[name, edit] : designs)
        QTest::newRow(name) << edit;
}

void TestWindowlessBlock::sameBlockAsTheProgram()
{
    QFETCH(Edit, edit);
    MainFormFixture f;
    TMainForm &m = *f.form;
    QTemporaryDir project;
    const QString path = project.filePath(QStringLiteral("Menu.qmf"));

    Design d = m.design();
    resetDesign(d);
    edit(d, m.program());
    QVERIFY(qmtest::writeBytes(path, writeProject(d, FixedWidthLineBreaker())));

    m.openChosenFile(path);
    QVERIFY(f.prompts.messages().isEmpty());
    for (bool preview : {false, true}) {
        for (bool absolute : {true, false}) {
            m.TableForm->cbAbsPos->setChecked(absolute);
            QVERIFY(m.BuildCompileString(preview));
            const ProjectBlock windowless = buildProjectBlock(f.folder.path(), path, {preview, absolute});
            QCOMPARE(windowless.error, QString());
            QCOMPARE(windowless.html, m.HTML);
        }
    }
}

void TestWindowlessBlock::surfaceAtStartSize()
{
    MainFormFixture f;
    QCOMPARE(f.form->Background->size(), QSize(StartSurfaceWidth, StartSurfaceHeight));
}

QTEST_MAIN(TestWindowlessBlock)
#include "test_windowlessblock.moc"
