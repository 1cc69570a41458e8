#pragma once

#include <QDialog>

class QPushButton;

// The unsaved-changes question: "Yes", "No" and "Cancel" close it with the
// modal results 6, 7 and 2. Created once and reused.
class TAskIfSave : public QDialog {
    Q_OBJECT
public:
    explicit TAskIfSave(QWidget *parent = nullptr);

    QPushButton *YesBtn = nullptr;
    QPushButton *NoBtn = nullptr;
    QPushButton *CancelBtn = nullptr;
};
