#include "model/linebreaker.h"

namespace qm {

QStringList FixedWidthLineBreaker::displayLines(TextArea, const QString &text) const
{
    QStringList out;
    for (const QString &paragraph : text.split(QLatin1String("\r\n"))) {
        if (paragraph.isEmpty() || width <= 0) {
            out << paragraph;
            continue;
        }
        for (qsizetype i = 0; i < paragraph.size(); i += width)
            out << paragraph.mid(i, width);
    }
    if (!out.isEmpty() && out.constLast().isEmpty())
        out.removeLast();
    return out;
}

} // namespace qm
