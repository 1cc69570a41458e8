#pragma once

#include <QSpinBox>
#include <optional>

// A spin field of the property dialogs. A value put in from code is clamped
// into the range; leaving the field clamps what was typed, also a number
// past either end; and text that is not a whole number reads as the range's
// minimum. The dialogs read the field on OK with readValue(), which applies
// that rule to whatever the field holds at that moment, also when the user
// left it empty and never moved the focus away.
class SpinField : public QSpinBox {
    Q_OBJECT
public:
    SpinField(int minimum, int maximum, QWidget *parent = nullptr);

    int readValue() const;

    // The text the user sees and edits.
    using QAbstractSpinBox::lineEdit;

protected:
    QValidator::State validate(QString &input, int &pos) const override;
    void fixup(QString &input) const override;

private:
    // The whole number the text stands for, or nothing.
    std::optional<int> wholeNumber(const QString &text) const;
};
