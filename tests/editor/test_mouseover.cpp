// The editor's imitation of the mouse-over picture swap, through real
// mouse moves.

#include "editor/tcleanmybutton.h"
#include "editor/designsurface.h"
#include "editor/areaedit.h"
#include "imageview/magickdecoder.h"
#include "mainformfixture.h"
#include "mousedriver.h"

#include <QPushButton>
#include <QtTest>

using namespace qm;
using namespace qmtest;

namespace {

// The default and mouse-over pictures of the program folder (see ProgramFolder).
const QColor kDefaultColour(40, 80, 160);
const QColor kMouseOverColour(200, 120, 40);

QColor shownColour(TCleanMyButton *b)
{
    return b->hasPicture() ? b->Picture().pixelColor(b->Picture().rect().center()) : QColor();
}

// Counts what the image views ask the real decoder for.
class CountingDecoder : public ImageDecoder {
public:
    DecodeResult decode(const QString &fileName, DecoderFormat format, int depth, bool dither) override
    {
        ++count;
        return MagickDecoder::instance().decode(fileName, format, depth, dither);
    }
    int count = 0;
};

TMainForm &shown(MainFormFixture &f)
{
    if (!qmtest::showParked(f.form.get()))
        qFatal("the main window did not show");
    return *f.form;
}

// A second button right of the first, touching it.
TCleanMyButton *addNeighbour(TMainForm &m)
{
    m.AddButtonClick(m.AddButton);
    m.dragManager()->cancelDrag();
    m.design().Buttons[1].setRect(QRect(306, 150, 156, 65));
    m.pushButtonToControl(1);
    m.HighlightTable();
    return m.ButtonControls.at(1);
}

} // namespace

class TestMouseOver : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qmtest::ignoreOffscreenGrabWarnings(); }
    void surfaceToButtonAndBack();
    void straightOntoTheNeighbour();
    void theBlurbPictureRestoresNothing();
    void deletingTheShowingButton();
    void missingOrNoMouseOverPicture();
    void hoveringDecodesNothingAgain();
};

void TestMouseOver::surfaceToButtonAndBack()
{
    MainFormFixture f;
    TMainForm &m = shown(f);
    TCleanMyButton *a = m.ButtonControls.at(0);
    const ButtonData stored = m.design().Buttons.at(0);
    QWidget *canvas = m.Background->canvas();

    mouseMove(canvas, QPoint(400, 300));
    QCOMPARE(shownColour(a), kDefaultColour);
    mouseMove(a, QPoint(60, 30));
    QCOMPARE(a->ImageName(), stored.MouseOverImagePath);
    QCOMPARE(shownColour(a), kMouseOverColour);
    QCOMPARE(m.LastMouseOverButton, a);
    QCOMPARE(m.MouseOverState, 1);

    // The hot zones keep working while the mouse-over picture shows.
    mouseMove(a, QPoint(3, 30));
    QCOMPARE(a->cursor().shape(), Qt::SizeHorCursor);
    QCOMPARE(shownColour(a), kMouseOverColour);

    mouseMove(canvas, QPoint(400, 300));
    QCOMPARE(a->ImageName(), stored.DefImagePath);
    QCOMPARE(shownColour(a), kDefaultColour);
    QCOMPARE(m.MouseOverState, 0);
    QCOMPARE(m.LastMouseOverButton, a);

    // Onto a text area works as the surface does.
    mouseMove(a, QPoint(60, 30));
    mouseMove(m.Title->viewport(), QPoint(100, 20));
    QCOMPARE(shownColour(a), kDefaultColour);

    // What the button shows is no part of the design.
    mouseMove(a, QPoint(60, 30));
    QCOMPARE(m.design().Buttons.at(0), stored);
    QVERIFY(m.isSaved());
}

void TestMouseOver::straightOntoTheNeighbour()
{
    MainFormFixture f;
    TMainForm &m = shown(f);
    TCleanMyButton *a = m.ButtonControls.at(0);
    TCleanMyButton *b = addNeighbour(m);
    mouseMove(a, QPoint(155, 30));
    QCOMPARE(shownColour(a), kMouseOverColour);
    QCOMPARE(shownColour(b), kDefaultColour);
    // One event: A gives its picture back as B takes its own.
    mouseMove(b, QPoint(0, 30));
    QCOMPARE(shownColour(a), kDefaultColour);
    QCOMPARE(shownColour(b), kMouseOverColour);
    QCOMPARE(m.LastMouseOverButton, b);
    QCOMPARE(m.MouseOverState, 1);
}

void TestMouseOver::theBlurbPictureRestoresNothing()
{
    MainFormFixture f;
    TMainForm &m = shown(f);
    QVERIFY(writePicture(f.folder.file("art/blurb.png"), solidImage(30, 20, qRgb(0, 160, 0))));
    m.design().BlurbImagePath = f.folder.file("art/blurb.png").toUpper();
    m.HighlightTable();
    // The button just below the Blurb picture.
    m.design().Buttons[0].setRect(QRect(150, 129, 156, 65));
    m.pushButtonToControl(0);
    TCleanMyButton *a = m.ButtonControls.at(0);
    mouseMove(a, QPoint(60, 1));
    mouseMove(m.BlurbImage, QPoint(160, 71));
    QCOMPARE(shownColour(a), kMouseOverColour);
    mouseMove(m.BlurbImage, QPoint(160, 40));
    QCOMPARE(shownColour(a), kMouseOverColour);
    mouseMove(m.Title->viewport(), QPoint(100, 20));
    QCOMPARE(shownColour(a), kDefaultColour);
}

void TestMouseOver::deletingTheShowingButton()
{
    MainFormFixture f;
    TMainForm &m = shown(f);
    TCleanMyButton *a = m.ButtonControls.at(0);
    TCleanMyButton *b = addNeighbour(m);
    mouseMove(a, QPoint(60, 30));
    QCOMPARE(m.LastMouseOverButton, a);
    m.HighlightButton(a);
    f.prompts.answers = {ModalResult::Yes};
    m.DeleteButtonClick();
    QVERIFY(m.LastMouseOverButton == nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // Later moves touch only what is there.
    mouseMove(m.Background->canvas(), QPoint(400, 300));
    mouseMove(b, QPoint(60, 30));
    QCOMPARE(shownColour(b), kMouseOverColour);
    mouseMove(m.Background->canvas(), QPoint(400, 300));
    QCOMPARE(shownColour(b), kDefaultColour);
}

void TestMouseOver::missingOrNoMouseOverPicture()
{
    MainFormFixture f;
    TMainForm &m = shown(f);
    TCleanMyButton *a = m.ButtonControls.at(0);
    TCleanMyButton *b = addNeighbour(m);
    m.design().Buttons[0].MouseOverImagePath = f.folder.file("images/GONE.GIF");
    m.design().Buttons[1].MouseOverImagePath.clear();

    // A missing picture: nothing shows, and leaving brings nothing back.
    mouseMove(a, QPoint(60, 30));
    QCOMPARE(a->ImageName(), QString("file not found"));
    QVERIFY(!a->hasPicture());
    QCOMPARE(m.MouseOverState, 1);
    mouseMove(m.Background->canvas(), QPoint(400, 300));
    QVERIFY(!a->hasPicture());
    QCOMPARE(m.MouseOverState, 1);

    // No mouse-over picture: the default stays, the button still counts as entered.
    mouseMove(b, QPoint(60, 30));
    QCOMPARE(shownColour(b), kDefaultColour);
    QCOMPARE(m.LastMouseOverButton, b);
    QCOMPARE(m.MouseOverState, 1);
    mouseMove(m.Background->canvas(), QPoint(400, 300));
    QCOMPARE(m.MouseOverState, 1);
    QCOMPARE(shownColour(b), kDefaultColour);
}

void TestMouseOver::hoveringDecodesNothingAgain()
{
    MainFormFixture f;
    CountingDecoder decoder;
    // A fresh picture store, so the pictures are decoded anew and counted.
    f.services.images = TPMultiImage::standardContext(&f.prompts);
    f.services.images.decoder = &decoder;
    f.restart();
    TMainForm &m = shown(f);
    TCleanMyButton *a = m.ButtonControls.at(0);
    TCleanMyButton *b = addNeighbour(m);
    // Every picture seen once.
    mouseMove(a, QPoint(60, 30));
    mouseMove(b, QPoint(60, 30));
    mouseMove(m.Background->canvas(), QPoint(400, 300));
    const int seen = decoder.count;
    QVERIFY(seen >= 2);
    for (int i = 0; i < 50; ++i) {
        mouseMove(a, QPoint(60 + i % 7, 30));
        mouseMove(b, QPoint(60, 30 + i % 5));
        mouseMove(m.Background->canvas(), QPoint(400, 300));
    }
    QCOMPARE(decoder.count, seen);
    QCOMPARE(shownColour(a), kDefaultColour);
}

QTEST_MAIN(TestMouseOver)
#include "test_mouseover.moc"
