#pragma once

#include "dialogs/dialogparts.h"
#include "model/design.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
namespace qm {
class LimitedTextEdit;
}
class QPushButton;
class QRadioButton;
class TPMultiImage;
class SpinField;

// The button properties dialog: position, size, image, link and mouse-over
// behaviour of one button. Created once; its controls and the folders its
// choosers remember keep their state from one opening to the next.
class TButtonOptions : public PropertyDialog {
    Q_OBJECT
public:
    TButtonOptions(const qm::dialogs::DialogContext &context, QWidget *parent = nullptr);

    // Fills the dialog from a button's values and runs it. On OK, the values
    // the dialog ends with; nothing on Cancel.
    std::optional<qm::ButtonData> editButton(const qm::ButtonData &button);

    // --- Handlers ---------------------------------------------------------------
    void FormCreate();
    // Each showing: two previews load their names again, General is shown.
    void FormActivate();
    void DefImageNameChange();
    void MouseOverImageChange();
    void Field2MouseOverImageChange();
    void ChooseDefaultImageClick();
    void ChooseMouseOverImageClick();
    void ChooseMouseOverImageFlield2Click();
    void ChooseSoundClick();
    void BitBtnChooseURLClick();
    void ButtonCheckClick();
    void TitleBlurbCheckClick();

    // --- Remembered folders ----------------------------------------------------
    QString LastImageDir;
    QString LastMouseOverImageDir;
    QString LastBlurbImageDir;
    QString LastSoundDir;
    QString LastURLDir;

    // --- Controls ----------------------------------------------------------------
    QWidget *GeneralPage = nullptr;
    QWidget *MouseOverPage = nullptr;

    QGroupBox *PositionBox = nullptr;
    SpinField *Top = nullptr;
    SpinField *Left = nullptr;
    QGroupBox *SizeBox = nullptr;
    SpinField *Width = nullptr;
    SpinField *Height = nullptr;
    QLineEdit *DefImageName = nullptr;
    QPushButton *ChooseImageButton = nullptr;
    TPMultiImage *previewImage = nullptr;
    QLineEdit *LinkURL = nullptr;
    QPushButton *BitBtnChooseURL = nullptr;
    QCheckBox *CheckURLRelative = nullptr;
    QComboBox *cbTarget = nullptr;

    QRadioButton *ButtonCheck = nullptr;
    QRadioButton *TitleBlurbCheck = nullptr;
    QGroupBox *ButtonChangesBox = nullptr;
    QLineEdit *MouseOverSound = nullptr;
    QPushButton *BitBtn6 = nullptr;
    QLineEdit *MouseOverImage = nullptr;
    QPushButton *BitBtn7 = nullptr;
    TPMultiImage *PreviewMouseImage = nullptr;
    QGroupBox *TitleBlurbChangesBox = nullptr;
    qm::LimitedTextEdit *TitleText = nullptr;
    qm::LimitedTextEdit *BlurbText = nullptr;
    QLineEdit *Field2MouseOverImage = nullptr;
    QPushButton *ChooseImageBtn = nullptr;
    TPMultiImage *PreviewField2MOImage = nullptr;

private:
    QWidget *createGeneralPage();
    QWidget *createMouseOverPage();
    void loadFrom(const qm::ButtonData &b);
    qm::ButtonData writeBack(qm::ButtonData b) const;
    void chooseImage(QLineEdit *field, TPMultiImage *preview, QString &lastDir);

    qm::dialogs::DialogContext m_context;
    qm::dialogs::FileChooserDialog m_imageDialog;
    qm::dialogs::FileChooserDialog m_soundDialog;
    qm::dialogs::FileChooserDialog m_urlDialog;
};
