#include "editor/glyphicon.h"
#include "editor/tcleanmybutton.h"
#include "editor/commandbutton.h"
#include "editor/designsurface.h"
#include "editor/areaedit.h"
#include "mainformfixture.h"

#include <QAction>
#include <QFontInfo>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <QtTest>

using namespace qm;
using Kind = ScriptedPrompts::Record::Kind;

class TestMainForm : public QObject {
    Q_OBJECT
private slots:
    void startUpState();
    void startUpInAnotherFolder();
    void textAreasUseTheRuntimesFace();
    void layoutFollowsTheWindowSize();
    void commandCaptionsCanBeRead_data();
    void commandCaptionsCanBeRead();
    void glyphsAreDrawnAtTheSizeAsked();
    void titleShowsItsFirstOrTheCaretLine();
    void clickingSelectsAndWritesBack();
    void hiddenAreasWriteNothingBack();
    void blurbPictureReplacesTheBlurbText();
    void blurbPictureFrameColour();
    void addButtonFromTheCommandRow();
    void addButtonFromTheSurfaceMenuWaitsForTheMouse();
    void deleteAnsweredNoChangesNothing();
    void deleteRenumbersAndSelectsTheBackground();
    void deleteForgetsTheLastMouseOverButton();
    void newShowsTheAreasAgain();
    void newWithUnsavedChanges();
    void typingMarksTheDesignChanged();
    void closingAsksOnlyWhenChanged();
};

void TestMainForm::startUpState()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    QCOMPARE(m.windowTitle(), QString("Untitled - Quillmap v1.1"));
    QVERIFY(m.isSaved());
    QCOMPARE(m.design().Buttons.size(), 1);
    QCOMPARE(m.ButtonControls.size(), 1);
    TCleanMyButton *b = m.ButtonControls.first();
    QCOMPARE(b->geometry(), QRect(150, 150, 156, 65));
    QVERIFY(!b->isHidden());
    QVERIFY(b->Stretch());
    QVERIFY(b->hasPicture());
    QCOMPARE(b->ImageName(), (f.folder.path() + "/images/default.gif").toUpper());
    QVERIFY(b->EditOnDoubleClick);
    QCOMPARE(b->Tag, 0);

    QCOMPARE(m.Title->geometry(), QRect(46, 8, 372, 41));
    QCOMPARE(m.Blurb->geometry(), QRect(46, 56, 372, 73));
    QCOMPARE(m.BlurbImage->geometry(), QRect(46, 56, 372, 73));
    QCOMPARE(m.Title->text(), QString("type background title here"));
    QCOMPARE(m.Blurb->text(), QString("type background blurb here"));
    QVERIFY(!m.Title->isHidden() && !m.Blurb->isHidden() && m.BlurbImage->isHidden());

    // The background is selected.
    QVERIFY(m.SelectedButton == nullptr);
    QVERIFY(!m.EditButton->isEnabled() && !m.DeleteButton->isEnabled());
    QVERIFY(m.ButtonBevel->isHidden());
    QCOMPARE(m.Background->surfaceColor(), QColor(Qt::black));
    QCOMPARE(m.ResizeDirection, QString("None"));
    QVERIFY(!m.DragOverFlag);

    // Eight tool bar buttons and four command buttons with their captions.
    QStringList captions;
    for (QToolButton *t : {m.SpeedButton1, m.NewButton, m.OpenButton, m.SaveButton, m.CompileButton,
                           m.OptionsButton, m.QuitButton, m.HelpButton})
        captions << t->text();
    QCOMPARE(captions, QStringList({"Preview", "New", "Open", "Save", "Compile", "Options", "Quit", "Help"}));
    QCOMPARE(m.AddButton->text(), QString("Add Button"));
    QCOMPARE(m.BackgroundButton->text(), QString("Background"));
}

void TestMainForm::startUpInAnotherFolder()
{
    MainFormFixture f;
    QVERIFY(qmtest::writeBytes(f.folder.file("QM.INI"), "[GLOBAL]\nBrowser=/usr/bin/firefox\nDragText=1\n"));
    qmtest::ProgramFolder other;
    QVERIFY(qmtest::writeBytes(other.file("QM.INI"), "[GLOBAL]\nBrowser=/other/browser\n"));
    QDir::setCurrent(other.path());
    f.restart();
    TMainForm &m = *f.form;
    QCOMPARE(m.program().AppDir, other.path());
    QCOMPARE(m.program().StartDir, other.path());
    QCOMPARE(m.program().DefaultImage, other.path() + "/images/default.gif");
    QCOMPARE(m.program().DefaultSound, other.path() + "/sound/click.au");
    QCOMPARE(m.program().Browser, QString("/other/browser"));
    QVERIFY(!m.program().DragText);
    QCOMPARE(m.design().Buttons.first().DefImageName, other.path() + "/images/default.gif");
    QVERIFY(m.ButtonControls.first()->hasPicture());
}

void TestMainForm::textAreasUseTheRuntimesFace()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    // Times Roman at 24 and 14 points, drawn as the block's head_size and
    // mainbox_size: 26 and 16 pixels.
    const QFontInfo title(m.Title->font());
    QCOMPARE(title.family(), QString("Liberation Serif"));
    QCOMPARE(title.pixelSize(), 26);
    QVERIFY(title.bold());
    const QFontInfo blurb(m.Blurb->font());
    QCOMPARE(blurb.pixelSize(), 16);
    QVERIFY(!blurb.bold() && !blurb.italic());
}

void TestMainForm::layoutFollowsTheWindowSize()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    m.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m));

    m.resize(300, 200);
    QCOMPARE(m.size(), QSize(450, 454));
    QCOMPARE(m.Background->geometry(), QRect(0, 56, 450, 321));
    QCOMPARE(m.SpeedButton1->pos(), QPoint(0, 0));
    QCOMPARE(m.HelpButton->pos(), QPoint(392, 0));
    QCOMPARE(m.AddButton->pos(), QPoint(1, 378));
    QCOMPARE(m.BackgroundButton->pos(), QPoint(337, 378));

    m.resize(801, 600);
    QCOMPARE(m.Background->geometry(), QRect(0, 56, 801, 467));
    QList<QToolButton *> tools = {m.SpeedButton1, m.NewButton, m.OpenButton, m.SaveButton,
                                  m.CompileButton, m.OptionsButton, m.QuitButton, m.HelpButton};
    for (int i = 0; i < tools.size(); ++i) {
        QCOMPARE(tools[i]->pos(), QPoint(175 + 56 * i, 0));
        QCOMPARE(tools[i]->size(), QSize(57, 57));
    }
    QList<QPushButton *> row = {m.AddButton, m.EditButton, m.DeleteButton, m.BackgroundButton};
    for (int i = 0; i < row.size(); ++i) {
        QCOMPARE(row[i]->pos(), QPoint(176 + 112 * i, 524));
        QCOMPARE(row[i]->size(), QSize(112, 42));
    }
    // What the logo draws lies below the command row and inside the window.
    const QPoint logo = m.logoPosition();
    QCOMPARE(logo.x(), (801 - 400) / 2);
    const QImage picture = qm::artwork::logo();
    int first = -1, last = -1;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (qAlpha(picture.pixel(x, y)) > 0) {
                if (first < 0)
                    first = y;
                last = y;
            }
    QVERIFY(first >= 0);
    QVERIFY(logo.y() + first > m.AddButton->geometry().bottom());
    QVERIFY(logo.y() + last < m.height());
}

void TestMainForm::commandCaptionsCanBeRead_data()
{
    QTest::addColumn<int>("larger");   // points added to the desktop's font
    QTest::newRow("the desktop's font") << 0;
    QTest::newRow("two points larger") << 2;
}

void TestMainForm::commandCaptionsCanBeRead()
{
    QFETCH(int, larger);
    MainFormFixture f;
    TMainForm &m = *f.form;
    m.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m));
    for (QPushButton *b : {m.AddButton, m.EditButton, m.DeleteButton, m.BackgroundButton}) {
        auto *button = qobject_cast<CommandButton *>(b);
        QVERIFY(button);
        QFont font = button->font();
        font.setPointSizeF(font.pointSizeF() + larger);
        button->setFont(font);
        // At the window's smallest size the whole caption lies inside the
        // button, beside its glyph.
        const QRect caption = button->captionRect();
        QVERIFY2(button->rect().contains(caption), qPrintable(button->text()));
        QVERIFY2(caption.left() > button->glyphRect().right(), qPrintable(button->text()));
        QCOMPARE(button->size(), QSize(112, 42));
    }
}

void TestMainForm::glyphsAreDrawnAtTheSizeAsked()
{
    // A glyph is drawn when it is painted, at the size and pixel ratio asked
    // for, as the artwork draws it; disabled, as the style greys an icon.
    const QIcon icon = qm::artwork::toolGlyph(qm::artwork::Save);
    auto argb = [](const QPixmap &p) { return p.toImage().convertToFormat(QImage::Format_ARGB32); };
    for (qreal ratio : {1.0, 2.0}) {
        const QImage drawn = argb(icon.pixmap(QSize(32, 32), ratio));
        QCOMPARE(drawn.size(), QSize(32, 32) * ratio);
        QCOMPARE(drawn, argb(QPixmap::fromImage(qm::artwork::glyphImage(qm::artwork::Save, ratio))));
    }
    QVERIFY(argb(icon.pixmap(QSize(32, 32), QIcon::Disabled)) != argb(icon.pixmap(QSize(32, 32))));
}

void TestMainForm::titleShowsItsFirstOrTheCaretLine()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    m.show();
    m.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&m));
    AreaEdit *t = m.Title;
    // The line the area shows at its top: "first", "caret" (the caret's line,
    // not the first) or the scroll position.
    auto shown = [t] {
        const int top = t->verticalScrollBar()->value();
        if (top == 0)
            return QString("first");
        const QRect caret = t->cursorRect();
        return caret.top() >= 0 && caret.top() < t->viewport()->height() / 2 ? QString("caret")
                                                                              : QString::number(top);
    };
    t->setFocus();
    t->selectAll();
    QTest::keyClicks(t, "A long title that certainly goes past the first line of the area, and past the second");
    QCOMPARE(shown(), QString("caret"));
    QTest::keyClick(t, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(shown(), QString("first"));
    QTest::keyClick(t, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(t, Qt::Key_Up);
    QCOMPARE(shown(), QString("caret"));
    // A new line of its own after a short first line, empty at first.
    t->selectAll();
    QTest::keyClicks(t, "Short");
    QTest::keyClick(t, Qt::Key_Return);
    QCOMPARE(shown(), QString("caret"));
    QTest::keyClicks(t, "then more");
    QCOMPARE(shown(), QString("caret"));
    // Without the focus: the first line, also once selected again and saved.
    m.Background->setFocus();
    QCOMPARE(shown(), QString("first"));
    m.HighlightButton(m.ButtonControls.first());
    m.HighlightTable();
    QCOMPARE(shown(), QString("first"));
    QTemporaryDir dir;
    f.prompts.files = {dir.filePath("lines.qmf")};
    m.SaveButtonClick();
    QVERIFY(m.isSaved());
    QCOMPARE(shown(), QString("first"));
}

void TestMainForm::clickingSelectsAndWritesBack()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    m.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m));
    m.AddButtonClick(m.AddButton);
    // Not placing it: the clicks below select.
    m.dragManager()->cancelDrag();
    TCleanMyButton *a = m.ButtonControls.at(0);
    TCleanMyButton *b = m.ButtonControls.at(1);
    m.design().Buttons[1].Left = 320;
    m.pushButtonToControl(1);

    QTest::mouseClick(a, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(m.SelectedButton, a);
    QVERIFY(m.EditButton->isEnabled() && m.DeleteButton->isEnabled());
    QCOMPARE(m.ButtonBevel->geometry(), QRect(148, 148, 160, 69));
    QVERIFY(!m.ButtonBevel->isHidden());
    QCOMPARE(m.Title->text(), QString("type button title here"));

    m.Title->selectAll();
    QTest::keyClicks(m.Title, "Fresh coffee");
    m.Blurb->setPlainText("Line one\nLine two");
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(m.SelectedButton, b);
    QCOMPARE(m.design().Buttons.at(0).TitleText, QString("Fresh coffee"));
    QCOMPARE(m.design().Buttons.at(0).BlurbText, QString("Line one\r\nLine two"));
    QCOMPARE(m.design().Buttons.at(1).TitleText, QString("type button title here"));

    QTest::mouseClick(a, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(m.Title->text(), QString("Fresh coffee"));

    // A click on the bare surface selects the background and shows its texts.
    QTest::mouseClick(m.Background->canvas(), Qt::LeftButton, {}, QPoint(5, 300));
    QVERIFY(m.SelectedButton == nullptr);
    QVERIFY(m.ButtonBevel->isHidden());
    QCOMPARE(m.Title->text(), QString("type background title here"));
    QCOMPARE(m.design().Buttons.at(0).TitleText, QString("Fresh coffee"));

    // Selecting the selection again stores what was typed (the flush).
    m.Title->setPlainText("Background now");
    m.HighlightTable();
    QCOMPARE(m.design().BgTitleText, QString("Background now"));
    QCOMPARE(m.Title->text(), QString("Background now"));
}

void TestMainForm::hiddenAreasWriteNothingBack()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    m.AddButtonClick(m.AddButton);
    m.design().ShowTitleAndBlurb = false;
    m.Title->hide();
    m.Blurb->hide();
    m.Title->setPlainText("stray");
    m.HighlightButton(m.ButtonControls.at(0));
    m.HighlightButton(m.ButtonControls.at(1));
    m.HighlightTable();
    QCOMPARE(m.design().Buttons.at(0).TitleText, QString("type button title here"));
    QCOMPARE(m.design().Buttons.at(1).TitleText, QString("type button title here"));
    QCOMPARE(m.design().BgTitleText, QString("type background title here"));
    QCOMPARE(m.Title->text(), QString("stray"));
    QVERIFY(m.Title->isHidden() && m.Blurb->isHidden() && m.BlurbImage->isHidden());
}

void TestMainForm::blurbPictureReplacesTheBlurbText()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    QVERIFY(qmtest::writePicture(f.folder.file("art/Blurb.png"), qmtest::solidImage(40, 20, qRgb(0, 200, 0))));
    m.AddButtonClick(m.AddButton);
    m.design().Buttons[1].MouseOverBlurbImage = f.folder.file("art/Blurb.png");

    m.HighlightButton(m.ButtonControls.at(1));
    QVERIFY(!m.BlurbImage->isHidden());
    QVERIFY(m.Blurb->isHidden());
    QVERIFY(m.BlurbImage->hasPicture());
    QCOMPARE(m.BlurbImage->ImageName(), f.folder.file("art/Blurb.png").toUpper());
    QCOMPARE(m.BlurbImage->geometry(), m.Blurb->geometry());

    m.HighlightButton(m.ButtonControls.at(0));
    QVERIFY(m.BlurbImage->isHidden());
    QVERIFY(!m.Blurb->isHidden());

    // The background's own picture, while the background is selected.
    m.design().BlurbImagePath = f.folder.file("art/Blurb.png").toUpper();
    m.HighlightTable();
    QVERIFY(!m.BlurbImage->isHidden() && m.Blurb->isHidden());
    QVERIFY(m.BlurbImage->hasPicture());
}

void TestMainForm::blurbPictureFrameColour()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    QCOMPARE(m.BlurbImage->Color(), QColor(0x20, 0x20, 0x20));
    m.setBackgroundColor(0x1F1F1F);
    m.ColorBLurbImage();
    QCOMPARE(m.BlurbImage->Color(), QColor(0x3F, 0x3F, 0x3F));
    m.setBackgroundColor(0x200000);
    m.ColorBLurbImage();
    QCOMPARE(m.BlurbImage->Color(), QColor(0, 0, 0x20));
    QCOMPARE(m.Background->surfaceColor(), QColor(0, 0, 0x20));
}

void TestMainForm::addButtonFromTheCommandRow()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    m.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m));
    QTest::mouseClick(m.AddButton, Qt::LeftButton);
    QCOMPARE(m.design().Buttons.size(), 2);
    TCleanMyButton *b = m.ButtonControls.at(1);
    QCOMPARE(b->geometry(), QRect(1, 1, 156, 65));
    QVERIFY(!b->isHidden());
    QCOMPARE(b->Tag, 1);
    QCOMPARE(m.design().Buttons.at(1).Tag, 1);
    QCOMPARE(m.SelectedButton, b);
    QVERIFY(!m.isSaved());
    QVERIFY(m.DragOverFlag);
    QCOMPARE(b->ImageName(), m.program().DefaultImageUpper);
    QVERIFY(b->hasPicture());
    QCOMPARE(m.Title->text(), QString("type button title here"));
}

void TestMainForm::addButtonFromTheSurfaceMenuWaitsForTheMouse()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    m.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m));
    m.AddButton1->trigger();
    TCleanMyButton *b = m.ButtonControls.at(1);
    QVERIFY(b->isHidden());
    QCOMPARE(m.SelectedButton, b);
    QTest::mouseMove(m.Background->canvas(), QPoint(60, 200));
    QTRY_VERIFY(!b->isHidden());
    QCOMPARE(b->pos(), QPoint(60, 200));
    QVERIFY(!m.DragOverFlag);
    // The button follows the mouse as a preview; where it is let go is part
    // of the one Add Button step.
    QTest::mouseClick(m.Background->canvas(), Qt::LeftButton, {}, QPoint(60, 200));
    QTRY_COMPARE(m.design().Buttons.at(1).rect().topLeft(), QPoint(60, 200));
}

void TestMainForm::deleteAnsweredNoChangesNothing()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    m.HighlightButton(m.ButtonControls.at(0));
    // With nothing selected, the command asks nothing.
    m.HighlightTable();
    m.DeleteButtonClick();
    QCOMPARE(f.prompts.log.size(), 0);

    m.HighlightButton(m.ButtonControls.at(0));
    f.prompts.answers = {ModalResult::No};
    m.DeleteButtonClick(m.DeleteButton);
    QCOMPARE(f.prompts.messages(), QStringList({"Are you sure you want to delete this button?"}));
    QCOMPARE(f.prompts.log.first().buttons, BoxButtons::YesNo);
    QCOMPARE(m.design().Buttons.size(), 1);
    QCOMPARE(m.SelectedButton, m.ButtonControls.at(0));
    QVERIFY(m.isSaved());
}

void TestMainForm::deleteRenumbersAndSelectsTheBackground()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    m.AddButtonClick(m.AddButton);
    m.AddButtonClick(m.AddButton);
    m.HighlightTable(); // texts set below are not overwritten by a write-back
    m.design().Buttons[0].TitleText = "first";
    m.design().Buttons[2].TitleText = "third";
    m.document().markSaved();

    m.HighlightButton(m.ButtonControls.at(1));
    m.Title->setPlainText("typed into the second");
    f.prompts.answers = {ModalResult::Yes};
    m.Remove1->trigger();
    QCOMPARE(m.design().Buttons.size(), 2);
    QCOMPARE(m.design().Buttons.at(0).TitleText, QString("first"));
    QCOMPARE(m.design().Buttons.at(1).TitleText, QString("third"));
    QCOMPARE(m.design().Buttons.at(0).Tag, 0);
    QCOMPARE(m.design().Buttons.at(1).Tag, 1);
    QCOMPARE(m.ButtonControls.at(0)->Tag, 0);
    QCOMPARE(m.ButtonControls.at(1)->Tag, 1);
    QVERIFY(m.SelectedButton == nullptr);
    QVERIFY(!m.DeleteButton->isEnabled());
    // The deleted button's texts never reach the background.
    QCOMPARE(m.design().BgTitleText, QString("type background title here"));
    QCOMPARE(m.Title->text(), QString("type background title here"));
    QVERIFY(!m.isSaved());

    // Deleting every button leaves an empty, valid design.
    for (int i = 0; i < 2; ++i) {
        m.HighlightButton(m.ButtonControls.at(0));
        f.prompts.answers = {ModalResult::Yes};
        m.DeleteButtonClick();
    }
    QVERIFY(m.design().Buttons.isEmpty() && m.ButtonControls.isEmpty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(m.Background->canvas()->findChildren<TCleanMyButton *>().size(), 0);
}

void TestMainForm::deleteForgetsTheLastMouseOverButton()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    m.LastMouseOverButton = m.ButtonControls.at(0);
    m.HighlightButton(m.ButtonControls.at(0));
    f.prompts.answers = {ModalResult::Yes};
    m.DeleteButtonClick();
    QVERIFY(m.LastMouseOverButton == nullptr);
}

void TestMainForm::newShowsTheAreasAgain()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    m.design().ShowTitleAndBlurb = false;
    m.Title->hide();
    m.Blurb->hide();
    m.BlurbImage->hide();
    m.NewButtonClick();
    QVERIFY(m.design().ShowTitleAndBlurb);
    QVERIFY(!m.Title->isHidden() && !m.Blurb->isHidden() && m.BlurbImage->isHidden());
    QCOMPARE(m.design().Buttons.size(), 1);
    QCOMPARE(f.prompts.log.size(), 0);
}

void TestMainForm::newWithUnsavedChanges()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    m.AddButtonClick(m.AddButton);
    QVERIFY(!m.isSaved());

    f.prompts.answers = {ModalResult::Cancel};
    m.NewButtonClick();
    QCOMPARE(m.design().Buttons.size(), 2);
    QVERIFY(!m.isSaved());

    // "Yes", then the save dialog cancelled: the design is kept.
    f.prompts.answers = {ModalResult::Yes};
    f.prompts.files = {std::nullopt};
    m.NewButtonClick();
    QCOMPARE(m.design().Buttons.size(), 2);
    QVERIFY(!m.isSaved());

    f.prompts.answers = {ModalResult::No};
    m.NewButtonClick();
    QCOMPARE(f.prompts.count(Kind::AskIfSave), 3);
    QCOMPARE(m.design().Buttons.size(), 1);
    QCOMPARE(m.ButtonControls.size(), 1);
    QCOMPARE(m.ButtonControls.first()->geometry(), QRect(150, 150, 156, 65));
    QVERIFY(m.isSaved());
    QVERIFY(m.SelectedButton == nullptr);
    QCOMPARE(m.windowTitle(), QString("Untitled - Quillmap v1.1"));
    QVERIFY(f.prompts.unscripted.isEmpty());
}

void TestMainForm::typingMarksTheDesignChanged()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    m.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m));
    // Selection changes and flushes set texts without changing anything.
    m.HighlightButton(m.ButtonControls.at(0));
    m.HighlightTable();
    QVERIFY(m.isSaved());
    QTest::keyClicks(m.Blurb, "x");
    QVERIFY(!m.isSaved());
}

void TestMainForm::closingAsksOnlyWhenChanged()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    m.show();
    QVERIFY(m.close());
    QCOMPARE(f.prompts.count(Kind::AskIfSave), 0);

    m.show();
    m.document().markUnsaved();
    f.prompts.answers = {ModalResult::Cancel};
    QVERIFY(!m.close());
    QVERIFY(m.isVisible());
    f.prompts.answers = {ModalResult::No};
    QVERIFY(m.close());
    QCOMPARE(f.prompts.count(Kind::AskIfSave), 2);
}

QTEST_MAIN(TestMainForm)
#include "test_mainform.moc"
