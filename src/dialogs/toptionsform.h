#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace qm {
struct ProgramSetup;
class DialogPrompts;
}

// The Options dialog: the browser Preview uses, the splash mode at start-up
// and whether the Title and Blurb areas can be dragged. Created once and
// reused; its controls keep their states between uses. Ends with the modal
// result 1 (OK) or 2 (Cancel).
class TOptionsForm : public QDialog {
    Q_OBJECT
public:
    TOptionsForm(qm::DialogPrompts *prompts, const QString &appDir, QWidget *parent = nullptr);

    // The Options command: shows the settings of `design`, runs the dialog
    // and on OK takes the new settings into the design and writes them to
    // the settings file.
    void editSettings(qm::ProgramSetup &program);

    // "Choose Browser": picks a program for the edit; the setting itself
    // changes only when the dialog ends with OK.
    void ChooseBrowserBtnClick();

    QLineEdit *Browsername = nullptr;
    QPushButton *ChooseBrowserBtn = nullptr;
    QComboBox *SplashCombo = nullptr;
    QCheckBox *CheckBoxSelectText = nullptr;
    QPushButton *OkBtn = nullptr;
    QPushButton *CancelBtn = nullptr;

public slots:
    // Escape and the window's close button cancel.
    void reject() override;

private:
    qm::DialogPrompts *m_prompts;
    QString m_appDir;
};
