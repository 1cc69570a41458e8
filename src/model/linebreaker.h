#pragma once

#include <QString>
#include <QStringList>

namespace qm {

enum class TextArea { Title, Blurb };

// Breaks a text into the lines in which the Title or the Blurb area shows it.
// The program asks the areas on the design surface themselves, so the applet
// and the project file get exactly the lines the user sees.
class LineBreaker {
public:
    virtual ~LineBreaker() = default;

    // The display lines of `text` (line breaks as CR LF): a typed line break
    // and a soft wrap both start a new line; a trailing empty line does not
    // count, so an empty text has no lines.
    virtual QStringList displayLines(TextArea area, const QString &text) const = 0;

    // The first display line; empty for an empty text.
    QString firstLine(TextArea area, const QString &text) const
    {
        const QStringList lines = displayLines(area, text);
        return lines.isEmpty() ? QString() : lines.constFirst();
    }
};

// Breaks at typed line breaks and, given a width, every `width` characters:
// the stand-in for the areas where there is no window (tests, benchmarks,
// fuzzing).
class FixedWidthLineBreaker : public LineBreaker {
public:
    explicit FixedWidthLineBreaker(int width = 0) : width(width) {}
    QStringList displayLines(TextArea area, const QString &text) const override;
    int width; // 0: no soft wraps
};

} // namespace qm
