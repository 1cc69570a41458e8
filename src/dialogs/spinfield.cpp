#include "dialogs/spinfield.h"

#include <QLineEdit>

#include <algorithm>

SpinField::SpinField(int minimum, int maximum, QWidget *parent)
    : QSpinBox(parent)
{
    setRange(minimum, maximum);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    setAccelerated(true);
}

std::optional<int> SpinField::wholeNumber(const QString &text) const
{
    const QString t = text.trimmed();
    bool ok = false;
    const qlonglong n = t.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return int(std::clamp<qlonglong>(n, minimum(), maximum()));
}

int SpinField::readValue() const
{
    return wholeNumber(cleanText()).value_or(minimum());
}

QValidator::State SpinField::validate(QString &input, int &) const
{
    const QString t = input.trimmed();
    if (t.isEmpty() || t == QLatin1String("-") || t == QLatin1String("+"))
        return QValidator::Intermediate;
    bool ok = false;
    const qlonglong n = t.toLongLong(&ok);
    // Up to ten digits may be typed; the number is brought into the range
    // when the field is left.
    if (!ok || t.size() > 11)
        return QValidator::Invalid;
    return n >= minimum() && n <= maximum() ? QValidator::Acceptable : QValidator::Intermediate;
}

void SpinField::fixup(QString &input) const
{
    input = QString::number(wholeNumber(input).value_or(minimum()));
}
