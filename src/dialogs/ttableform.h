#pragma once

#include "dialogs/dialogparts.h"
#include "model/design.h"

#include <QLabel>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
namespace qm {
class LimitedTextEdit;
}
class QPushButton;
class QRadioButton;
class TPMultiImage;
class SpinField;

// The sample panel of the background dialog: "ABC" in the text colour on
// the background colour.
class ColorSample : public QLabel {
    Q_OBJECT
public:
    explicit ColorSample(QWidget *parent = nullptr);

    qm::TColor fillColor() const { return m_fill; }
    void setFillColor(qm::TColor color);
    qm::TColor textColor() const { return m_text; }
    void setTextColor(qm::TColor color);

private:
    void applyColors();
    qm::TColor m_fill = 0;
    qm::TColor m_text = 0xFFFFFF;
};

// The background properties dialog: colours, fonts, the Blurb picture mode,
// the use of Title and Blurb, the background's own texts and Blurb picture,
// and "Absolute positioning". Created once; its controls keep their state
// from one opening to the next.
class TTableForm : public PropertyDialog {
    Q_OBJECT
public:
    TTableForm(const qm::dialogs::DialogContext &context, QWidget *parent = nullptr);

    // Fills the dialog from the background's values and runs it. On OK, the
    // values the dialog ends with; nothing on Cancel.
    std::optional<qm::BackgroundData> editBackground(const qm::BackgroundData &background);

    // --- Handlers ---------------------------------------------------------------
    void FormCreate();
    void BitBtn1Click();
    void BitBtn4Click();
    void BitBtn6Click();
    void Field2MouseOverImageChange();

    // Selects the last item whose text is `value`; none when no item matches.
    static void ComboIndex(QComboBox *list, const QString &value);
    // The selected item's text, empty with nothing selected.
    static QString listText(const QComboBox *list);

    QString LastBlurbImageDir;
    // The colour the colour dialog returned last; it starts there next time.
    qm::TColor lastDialogColor() const { return m_dialogColor; }

    // --- Controls ----------------------------------------------------------------
    QWidget *MouseOverPage = nullptr;
    QWidget *GlobalPage = nullptr;

    qm::LimitedTextEdit *TitleText = nullptr;
    qm::LimitedTextEdit *BlurbText = nullptr;
    QLineEdit *Field2MouseOverImage = nullptr;
    QPushButton *BitBtn6 = nullptr;
    TPMultiImage *PreviewField2MOImage = nullptr;

    QPushButton *BitBtn1 = nullptr;
    QPushButton *BitBtn4 = nullptr;
    ColorSample *Color = nullptr;
    QComboBox *TitleFont = nullptr;
    SpinField *TitleFontSize = nullptr;
    QComboBox *TitleStyle = nullptr;
    QComboBox *BlurbFont = nullptr;
    SpinField *BlurbFontSize = nullptr;
    QComboBox *BlurbStyle = nullptr;
    QRadioButton *StretchRadio = nullptr;
    QRadioButton *CenterRadio = nullptr;
    QCheckBox *cbAbsPos = nullptr;
    QRadioButton *ShowMemosRadio = nullptr;
    QRadioButton *DontShowMemosRadio = nullptr;

private:
    QWidget *createMouseOverPage();
    QWidget *createGlobalPage();
    void loadFrom(const qm::BackgroundData &d);
    qm::BackgroundData writeBack(qm::BackgroundData b) const;
    std::optional<qm::TColor> runColorDialog();

    qm::dialogs::DialogContext m_context;
    qm::dialogs::FileChooserDialog m_imageDialog;
    qm::TColor m_dialogColor = 0;
};
