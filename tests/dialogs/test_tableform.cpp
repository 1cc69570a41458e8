#include "dialogs/spinfield.h"
#include "dialogs/ttableform.h"
#include "dialogtesting.h"
#include "editor/tcleanmybutton.h"
#include "editor/designsurface.h"
#include "editor/areaedit.h"
#include "imageview/tpmultiimage.h"
#include "mainformfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>

using namespace qm;
using dialogtest::script;
using Kind = ScriptedPrompts::Record::Kind;

namespace {

QStringList items(const QComboBox *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->itemText(i);
    return out;
}

QColor textColour(const AreaEdit *memo)
{
    return memo->palette().color(QPalette::Text);
}

} // namespace

class TestTableForm : public QObject {
    Q_OBJECT
private slots:
    void dialogLayout();
    void enterAndEscape_data();
    void enterAndEscape();
    void tabOrderFollowsTheLayout();
    void loadingShowsTheDesign();
    void okWritesEverything();
    void listsOnOk_data();
    void listsOnOk();
    void fontSizesOnOk_data();
    void fontSizesOnOk();
    void colourDialogStartsWhereItEnded();
    void blurbImageOnOk_data();
    void blurbImageOnOk();
    void titleAndBlurbOffAndOn_data();
    void titleAndBlurbOffAndOn();
    void centreThenStretch();
    void absolutePositioningLastsForTheRun();
};

void TestTableForm::dialogLayout()
{
    MainFormFixture f;
    TTableForm *t = f.form->TableForm;
    QVERIFY(t);
    QCOMPARE(t->parent(), f.form.get());
    QCOMPARE(t->windowTitle(), QString("Background Options"));
    QVERIFY(t->isHidden());
    QCOMPARE(t->PageControl1->count(), 2);
    QCOMPARE(t->PageControl1->tabText(0), QString("Mouse Over Title and Blurb changes"));
    QCOMPARE(t->PageControl1->tabText(1), QString("Global Properties"));

    const QStringList first = dialogtest::captions(t->MouseOverPage);
    for (const char *text : {"Title Text:", "Blurb Text:", "Blurb Image:", "Choose Image...", "Image\nPreview:"})
        QVERIFY2(first.contains(text), text);
    const QStringList global = dialogtest::captions(t->GlobalPage);
    for (const char *text : {"Background Colour", "Global Font Colour", "ABC", "Font Properties", "TITLE", "BLURB",
                             "Font:", "Font Size:", "Font Style:",
                             "Stretch all Blurb images to fit the Blurb's boundaries",
                             "Center all Blurb images at their original size", "Absolute positioning",
                             "Use and Show Title and Blurb", "Dont Use or Show Title or Blurb"})
        QVERIFY2(global.contains(text), text);
    QCOMPARE(global.count("Font:"), 2);

    const QStringList fonts({"Courier", "Helvetica", "Dialog", "Times Roman", "Symbol"});
    const QStringList styles({"Normal", "Italic", "Bold", "Bold Italic"});
    for (QComboBox *list : {t->TitleFont, t->BlurbFont}) {
        QVERIFY(!list->isEditable());
        QCOMPARE(items(list), fonts);
    }
    for (QComboBox *list : {t->TitleStyle, t->BlurbStyle}) {
        QVERIFY(!list->isEditable());
        QCOMPARE(items(list), styles);
    }
    for (SpinField *spin : {t->TitleFontSize, t->BlurbFontSize}) {
        QCOMPARE(spin->minimum(), 1);
        QCOMPARE(spin->maximum(), 100);
    }
    QVERIFY(t->cbAbsPos->isChecked());
    QVERIFY(t->PreviewField2MOImage->Stretch());
    QCOMPARE(t->PreviewField2MOImage->ImageName(), QString("file not found"));

    // The two pairs of radio buttons are independent of each other.
    t->StretchRadio->setChecked(true);
    t->ShowMemosRadio->setChecked(true);
    t->CenterRadio->setChecked(true);
    QVERIFY(t->ShowMemosRadio->isChecked() && !t->StretchRadio->isChecked());
    t->DontShowMemosRadio->setChecked(true);
    QVERIFY(t->CenterRadio->isChecked() && !t->ShowMemosRadio->isChecked());

    QVERIFY(t->OKBtn->isDefault());
    QCOMPARE(dialogtest::withoutHelpContext(t->MouseOverPage, 43), QStringList());
    QCOMPARE(dialogtest::withoutHelpContext(t->GlobalPage, 45), QStringList());
    QVERIFY(t->LastBlurbImageDir.isEmpty());
}

void TestTableForm::enterAndEscape_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("result");   // None: the dialog stays open
    QTest::newRow("Enter in the image name") << 0 << "Field2MouseOverImage" << int(Qt::Key_Return) << int(ModalResult::Ok);
    QTest::newRow("Enter in the Blurb text adds a line") << 0 << "BlurbText" << int(Qt::Key_Return) << int(ModalResult::None);
    QTest::newRow("Escape in the Title text") << 0 << "TitleText" << int(Qt::Key_Escape) << int(ModalResult::Cancel);
    QTest::newRow("Enter in a font list") << 1 << "TitleFont" << int(Qt::Key_Return) << int(ModalResult::Ok);
    QTest::newRow("Enter in a font size") << 1 << "BlurbFontSize" << int(Qt::Key_Enter) << int(ModalResult::Ok);
    QTest::newRow("Escape on a radio button") << 1 << "CenterRadio" << int(Qt::Key_Escape) << int(ModalResult::Cancel);
}

void TestTableForm::enterAndEscape()
{
    QFETCH(int, page);
    QFETCH(QString, control);
    QFETCH(int, key);
    QFETCH(int, result);
    MainFormFixture f;
    TTableForm *t = f.form->TableForm;
    t->PageControl1->setCurrentIndex(page);
    QWidget *target = t->findChild<QWidget *>(control);
    QVERIFY(target);
    QCOMPARE(int(dialogtest::pressInRealDialog(t, target, key)), result);
}

void TestTableForm::tabOrderFollowsTheLayout()
{
    MainFormFixture f;
    TTableForm *t = f.form->TableForm;
    QCOMPARE(dialogtest::tabStops(t->MouseOverPage),
             QStringList({"TitleText", "BlurbText", "Field2MouseOverImage", "BitBtn6"}));
    QCOMPARE(dialogtest::tabStops(t->GlobalPage),
             QStringList({"BitBtn1", "BitBtn4", "TitleFont", "TitleFontSize", "TitleStyle", "BlurbFont",
                          "BlurbFontSize", "BlurbStyle", "StretchRadio", "CenterRadio", "cbAbsPos", "ShowMemosRadio",
                          "DontShowMemosRadio"}));
    const QStringList dialog = dialogtest::tabStops(t);
    QCOMPARE(dialog.mid(dialog.size() - 2), QStringList({"OKBtn", "CancelBtn"}));
}

void TestTableForm::loadingShowsTheDesign()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    m.setBackgroundColor(0x336699);
    m.setTextColor(0x00FFFF);
    m.Blurb->setText("one\r\ntwo");
    m.design().TitleFont = "Courier";
    m.design().TitleFontSize = 30;
    m.design().TitleStyle = "Italic";
    m.design().BlurbFont = "Symbol";
    m.design().BlurbFontSize = 9;
    m.design().BlurbStyle = "Bold Italic";
    m.design().BlurbImageName = f.folder.file("images/mouse.gif");
    m.design().BlurbImagePath = m.design().BlurbImageName.toUpper();
    m.design().StretchBlurbImages = false;
    m.HighlightTable();
    // Typed into the window's Title area while the background is selected,
    // then a button is selected, which stores it.
    m.Title->selectAll();
    QTest::keyClicks(m.Title, "Typed title");
    m.HighlightButton(m.ButtonControls.first());
    m.document().markSaved();
    TTableForm *t = m.TableForm;
    t->PageControl1->setCurrentIndex(1);
    t->DontShowMemosRadio->setChecked(true);

    bool ran = false;
    script<TTableForm>(f.prompts, [&](TTableForm *d) {
        ran = true;
        QCOMPARE(d, t);
        QVERIFY(m.SelectedButton == nullptr);
        QCOMPARE(d->PageControl1->currentWidget(), d->MouseOverPage);
        QCOMPARE(d->Color->fillColor(), TColor(0x336699));
        QCOMPARE(d->Color->textColor(), TColor(0x00FFFF));
        QCOMPARE(d->Color->palette().color(QPalette::Window), QColor(0x99, 0x66, 0x33));
        QCOMPARE(d->TitleText->toPlainText(), QString("Typed title"));
        QCOMPARE(d->BlurbText->toPlainText(), QString("one\ntwo"));
        QCOMPARE(d->TitleFont->currentText(), QString("Courier"));
        QCOMPARE(d->TitleFontSize->value(), 30);
        QCOMPARE(d->TitleStyle->currentText(), QString("Italic"));
        QCOMPARE(d->BlurbFont->currentText(), QString("Symbol"));
        QCOMPARE(d->BlurbFontSize->value(), 9);
        QCOMPARE(d->BlurbStyle->currentText(), QString("Bold Italic"));
        QCOMPARE(d->Field2MouseOverImage->text(), f.folder.file("images/mouse.gif"));
        QVERIFY(d->PreviewField2MOImage->hasPicture());
        QVERIFY(d->CenterRadio->isChecked());
        QVERIFY(d->ShowMemosRadio->isChecked());
        d->BitBtn1->click();
        d->TitleFont->setCurrentIndex(0);
        d->DontShowMemosRadio->setChecked(true);
    }, ModalResult::Cancel);
    f.prompts.colors = {0x0000FF};
    m.BackgroundButtonClick(m.BackgroundButton);
    QVERIFY(ran);
    // Cancel: nothing of the design changed.
    QVERIFY(m.isSaved());
    QCOMPARE(m.design().BackgroundColor, TColor(0x336699));
    QCOMPARE(m.Background->surfaceColor(), QColor(0x99, 0x66, 0x33));
    QCOMPARE(m.design().TitleFont, QString("Courier"));
    QVERIFY(m.design().ShowTitleAndBlurb);
    QVERIFY(!m.Title->isHidden());
    QCOMPARE(m.design().BgTitleText, QString("Typed title"));
    QVERIFY(m.SelectedButton == nullptr);
}

void TestTableForm::okWritesEverything()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    f.prompts.colors = {0x204060, 0x00C0FF};
    script<TTableForm>(f.prompts, [&](TTableForm *d) {
        d->TitleText->setPlainText("Our menu");
        d->BlurbText->setPlainText("Pick\nany");
        d->BitBtn1->click();
        d->BitBtn4->click();
        QCOMPARE(d->Color->fillColor(), TColor(0x204060));
        QCOMPARE(d->Color->textColor(), TColor(0x00C0FF));
        d->TitleFont->setCurrentText("Helvetica");
        d->TitleFontSize->setValue(36);
        d->TitleStyle->setCurrentText("Normal");
        d->BlurbFont->setCurrentText("Dialog");
        d->BlurbFontSize->setValue(10);
        d->BlurbStyle->setCurrentText("Bold Italic");
        d->CenterRadio->setChecked(true);
    });
    m.BackgroundButtonClick(m.BackgroundButton);

    QCOMPARE(m.design().BgTitleText, QString("Our menu"));
    QCOMPARE(m.design().BgBlurbText, QString("Pick\r\nany"));
    QCOMPARE(m.Title->text(), QString("Our menu"));
    QCOMPARE(m.Blurb->text(), QString("Pick\r\nany"));
    QCOMPARE(m.design().BackgroundColor, TColor(0x204060));
    QCOMPARE(m.design().TextColor, TColor(0x00C0FF));
    QCOMPARE(m.design().TitleFont, QString("Helvetica"));
    QCOMPARE(m.design().TitleFontSize, 36);
    QCOMPARE(m.design().TitleStyle, QString("Normal"));
    QCOMPARE(m.design().BlurbFont, QString("Dialog"));
    QCOMPARE(m.design().BlurbFontSize, 10);
    QCOMPARE(m.design().BlurbStyle, QString("Bold Italic"));
    QVERIFY(!m.design().StretchBlurbImages);
    QVERIFY(m.design().ShowTitleAndBlurb);
    QVERIFY(!m.isSaved());

    // The controls show the model's values.
    const QColor surface(0x60, 0x40, 0x20);
    const QColor text(0xFF, 0xC0, 0x00);
    QCOMPARE(m.Background->surfaceColor(), surface);
    QCOMPARE(textColour(m.Title), text);
    QCOMPARE(textColour(m.Blurb), text);
    QCOMPARE(m.BlurbImage->Color(), toQColor(blurbImageFillColor(0x204060)));
    const QFontInfo title(m.Title->font());
    QCOMPARE(title.pixelSize(), fontPixels(36));
    QVERIFY(!title.bold() && !title.italic());
    QCOMPARE(m.design().TitleAreaStyle, AreaStyle({false, false}));
    const QFontInfo blurb(m.Blurb->font());
    QCOMPARE(blurb.pixelSize(), fontPixels(10));
    QVERIFY(blurb.bold() && blurb.italic());
    QCOMPARE(m.design().BlurbAreaStyle, AreaStyle({true, true}));
    // The areas draw in the face the runtimes draw the design's fonts in.
    QCOMPARE(title.family(), QString("Liberation Sans"));
    QCOMPARE(blurb.family(), QString("Liberation Sans"));
    QVERIFY(!m.BlurbImage->Stretch() && m.BlurbImage->Center());
}

void TestTableForm::listsOnOk_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("stored");
    QTest::newRow("title font in the list") << "TitleFont" << "Symbol" << 4 << "Symbol";
    QTest::newRow("title font in another case") << "TitleFont" << "courier" << -1 << "";
    QTest::newRow("blurb font from a hand-edited file") << "BlurbFont" << "Arial" << -1 << "";
    QTest::newRow("blurb font empty") << "BlurbFont" << "" << -1 << "";
    QTest::newRow("title style in the list") << "TitleStyle" << "Bold Italic" << 3 << "Bold Italic";
    QTest::newRow("title style unknown") << "TitleStyle" << "Heavy" << -1 << "";
    QTest::newRow("blurb style in the list") << "BlurbStyle" << "Italic" << 1 << "Italic";
    QTest::newRow("blurb style with a blank") << "BlurbStyle" << "Bold " << -1 << "";
}

void TestTableForm::listsOnOk()
{
    QFETCH(QString, list);
    QFETCH(QString, value);
    QFETCH(int, index);
    QFETCH(QString, stored);
    MainFormFixture f;
    TMainForm &m = *f.form;
    QString &field = list == "TitleFont" ? m.design().TitleFont
        : list == "BlurbFont"            ? m.design().BlurbFont
        : list == "TitleStyle"           ? m.design().TitleStyle
                                         : m.design().BlurbStyle;
    field = value;
    const AreaStyle titleStyle = m.design().TitleAreaStyle;
    const AreaStyle blurbStyle = m.design().BlurbAreaStyle;
    script<TTableForm>(f.prompts, [&](TTableForm *d) {
        auto *combo = d->findChild<QComboBox *>(list);
        QCOMPARE(combo->currentIndex(), index);
        if (index < 0)
            QCOMPARE(combo->currentText(), QString());
    });
    m.SetDimensions1Click(m.SetDimensions1);
    QCOMPARE(field, stored);
    if (list == "TitleStyle" && stored.isEmpty())
        QCOMPARE(m.design().TitleAreaStyle, titleStyle);
    if (list == "BlurbStyle" && stored.isEmpty())
        QCOMPARE(m.design().BlurbAreaStyle, blurbStyle);
    if (list == "TitleStyle" && !stored.isEmpty())
        QCOMPARE(QFontInfo(m.Title->font()).italic(), stored.contains("Italic"));
}

void TestTableForm::fontSizesOnOk_data()
{
    QTest::addColumn<bool>("title");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("typed");   // null: left as loaded
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("result");
    QTest::newRow("title size 0 shows and stores 1") << true << 0 << QString() << 1 << 1;
    QTest::newRow("blurb size 250 shows and stores 100") << false << 250 << QString() << 100 << 100;
    QTest::newRow("title size in range") << true << 24 << QString() << 24 << 24;
    QTest::newRow("blurb size emptied reads 1") << false << 14 << QString("") << 14 << 1;
    QTest::newRow("title size typed past the range") << true << 24 << QString("300") << 24 << 100;
}

void TestTableForm::fontSizesOnOk()
{
    QFETCH(bool, title);
    QFETCH(int, stored);
    QFETCH(QString, typed);
    QFETCH(int, shown);
    QFETCH(int, result);
    MainFormFixture f;
    TMainForm &m = *f.form;
    (title ? m.design().TitleFontSize : m.design().BlurbFontSize) = stored;
    script<TTableForm>(f.prompts, [&](TTableForm *d) {
        SpinField *spin = title ? d->TitleFontSize : d->BlurbFontSize;
        QCOMPARE(spin->value(), shown);
        if (!typed.isNull())
            spin->lineEdit()->setText(typed);
    });
    m.SetDimensions1Click(m.SetDimensions1);
    QCOMPARE(title ? m.design().TitleFontSize : m.design().BlurbFontSize, result);
    QCOMPARE(QFontInfo((title ? m.Title : m.Blurb)->font()).pixelSize(), fontPixels(result));
}

void TestTableForm::colourDialogStartsWhereItEnded()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    f.prompts.colors = {0x0000FF, std::nullopt, 0x00FF00};
    script<TTableForm>(f.prompts, [&](TTableForm *d) {
        d->BitBtn1->click();   // red
        d->BitBtn4->click();   // cancelled
        QCOMPARE(d->Color->fillColor(), TColor(0x0000FF));
        QCOMPARE(d->Color->textColor(), TColor(0xFFFFFF));
    }, ModalResult::Cancel);
    m.BackgroundButtonClick(m.BackgroundButton);
    QCOMPARE(m.design().BackgroundColor, TColor(0));
    QCOMPARE(m.Background->surfaceColor(), QColor(Qt::black));
    QVERIFY(m.isSaved());

    script<TTableForm>(f.prompts, [&](TTableForm *d) {
        // The panel shows the design again; the colour dialog starts with
        // the colour it gave last, whichever button ran it.
        QCOMPARE(d->Color->fillColor(), TColor(0));
        d->BitBtn4->click();
    });
    m.BackgroundButtonClick(m.BackgroundButton);
    QList<unsigned> started;
    for (const auto &r : f.prompts.log)
        if (r.kind == Kind::ColorDialog)
            started << r.color;
    QCOMPARE(started, QList<unsigned>({0, 0x0000FF, 0x0000FF}));
    QCOMPARE(m.design().TextColor, TColor(0x00FF00));
    QCOMPARE(m.design().BackgroundColor, TColor(0));
}

void TestTableForm::blurbImageOnOk_data()
{
    QTest::addColumn<QString>("typed");   // %P: the program folder, the current folder
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("path");
    QTest::newRow("existing, mixed case") << "%P/pics/Blurb.Gif" << "%P/pics/Blurb.Gif" << "%P/PICS/BLURB.GIF";
    QTest::newRow("relative, found from the current folder") << "pics/blurb.gif" << "pics/blurb.gif"
                                                             << "PICS/BLURB.GIF";
    QTest::newRow("missing file dropped") << "%P/pics/gone.gif" << "" << "";
    QTest::newRow("empty") << "" << "" << "";
}

void TestTableForm::blurbImageOnOk()
{
    QFETCH(QString, typed);
    QFETCH(QString, name);
    QFETCH(QString, path);
    MainFormFixture f;
    TMainForm &m = *f.form;
    QVERIFY(qmtest::writePicture(f.folder.file("pics/Blurb.Gif"), qmtest::solidImage(30, 20, qRgb(9, 99, 199))));
    auto expand = [&](QString s) { return s.replace("%P", f.folder.path()); };
    m.design().BlurbImageName = f.folder.file("images/mouse.gif");
    m.design().BlurbImagePath = m.design().BlurbImageName.toUpper();
    script<TTableForm>(f.prompts, [&](TTableForm *d) { d->Field2MouseOverImage->setText(expand(typed)); });
    m.BackgroundButtonClick(m.BackgroundButton);
    QCOMPARE(m.design().BlurbImageName, expand(name));
    QCOMPARE(m.design().BlurbImagePath, expand(path).toUpper());
    QCOMPARE(m.BlurbImage->isHidden(), path.isEmpty());
    QCOMPARE(m.Blurb->isHidden(), !path.isEmpty());
    if (!path.isEmpty()) {
        QCOMPARE(m.BlurbImage->ImageName(), expand(path).toUpper());
        QCOMPARE(m.BlurbImage->Picture().size(), QSize(30, 20));
    }

    // Saved and opened again, OK with nothing changed is no change.
    f.prompts.files = {f.folder.file("blurb.qmf"), f.folder.file("blurb.qmf")};
    QVERIFY(m.SaveAs());
    m.OpenButtonClick();
    QCOMPARE(m.design().BlurbImageName, expand(name));
    script<TTableForm>(f.prompts, [](TTableForm *) {});
    m.BackgroundButtonClick(m.BackgroundButton);
    QVERIFY(m.isSaved());
    QCOMPARE(m.undoStack()->count(), 0);
}

void TestTableForm::titleAndBlurbOffAndOn_data()
{
    QTest::addColumn<bool>("withPicture");
    QTest::newRow("with a Blurb picture") << true;
    QTest::newRow("without") << false;
}

void TestTableForm::titleAndBlurbOffAndOn()
{
    QFETCH(bool, withPicture);
    MainFormFixture f;
    TMainForm &m = *f.form;
    const QString picture = withPicture ? f.folder.file("images/mouse.gif") : QString();
    script<TTableForm>(f.prompts, [&](TTableForm *d) {
        d->Field2MouseOverImage->setText(picture);
        d->DontShowMemosRadio->setChecked(true);
    });
    m.BackgroundButtonClick(m.BackgroundButton);
    QVERIFY(!m.design().ShowTitleAndBlurb);
    QVERIFY(m.Title->isHidden() && m.Blurb->isHidden() && m.BlurbImage->isHidden());

    // While the areas are hidden the dialog's texts go straight into the design.
    script<TTableForm>(f.prompts, [&](TTableForm *d) {
        QVERIFY(d->DontShowMemosRadio->isChecked());
        d->TitleText->setPlainText("Hidden title");
    });
    m.BackgroundButtonClick(m.BackgroundButton);
    QCOMPARE(m.design().BgTitleText, QString("Hidden title"));
    QVERIFY(m.Title->isHidden());

    script<TTableForm>(f.prompts, [&](TTableForm *d) { d->ShowMemosRadio->setChecked(true); });
    m.BackgroundButtonClick(m.BackgroundButton);
    QVERIFY(m.design().ShowTitleAndBlurb);
    QVERIFY(!m.Title->isHidden());
    QCOMPARE(m.Title->text(), QString("Hidden title"));
    QCOMPARE(m.BlurbImage->isHidden(), !withPicture);
    QCOMPARE(m.Blurb->isHidden(), withPicture);
    QCOMPARE(m.BlurbImage->hasPicture(), withPicture);
}

void TestTableForm::centreThenStretch()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    QVERIFY(m.BlurbImage->Stretch() && !m.BlurbImage->Center());
    script<TTableForm>(f.prompts, [](TTableForm *d) { d->CenterRadio->setChecked(true); });
    m.BackgroundButtonClick(m.BackgroundButton);
    QVERIFY(!m.design().StretchBlurbImages);
    QVERIFY(!m.BlurbImage->Stretch() && m.BlurbImage->Center());

    script<TTableForm>(f.prompts, [](TTableForm *d) {
        QVERIFY(d->CenterRadio->isChecked());
        d->StretchRadio->setChecked(true);
    });
    m.BackgroundButtonClick(m.BackgroundButton);
    QVERIFY(m.design().StretchBlurbImages);
    QVERIFY(m.BlurbImage->Stretch());
    QVERIFY(m.BlurbImage->Center());
}

void TestTableForm::absolutePositioningLastsForTheRun()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    QVERIFY(m.BuildCompileString(true));
    QVERIFY(m.design().AbsolutePositioning);
    QCOMPARE(QSize(m.design().AppletWidth, m.design().AppletHeight), m.Background->size());

    // Cancel does not undo the box: the next build reads it.
    script<TTableForm>(f.prompts, [](TTableForm *d) { d->cbAbsPos->setChecked(false); }, ModalResult::Cancel);
    m.BackgroundButtonClick(m.BackgroundButton);
    QVERIFY(m.isSaved());
    QVERIFY(m.BuildCompileString(true));
    QVERIFY(!m.design().AbsolutePositioning);
    // Title (46,8 372x41) to the button's bottom (150+65), 5 pixels around.
    QCOMPARE(m.design().AppletWidth, 372 + 10);
    QCOMPARE(m.design().AppletHeight, 215 - 8 + 10);

    // New leaves it as it is, and the dialog does not load it.
    m.NewButtonClick();
    script<TTableForm>(f.prompts, [](TTableForm *d) {
        QVERIFY(!d->cbAbsPos->isChecked());
        d->cbAbsPos->setChecked(true);
    });
    m.BackgroundButtonClick(m.BackgroundButton);
    QVERIFY(m.BuildCompileString(true));
    QVERIFY(m.design().AbsolutePositioning);
}

QTEST_MAIN(TestTableForm)
#include "test_tableform.moc"
