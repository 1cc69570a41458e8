#include "model/textlimits.h"

#include <optional>

namespace qm {

namespace {

struct Overlong {
    QString what;  // "Title", "Blurb"
    QString owner; // "the background", "button 3"
    qsizetype length = 0;
    qsizetype limit = 0;
};

std::optional<Overlong> firstOverlong(const Design &d)
{
    const auto check = [](const QString &title, const QString &blurb, const QString &owner) -> std::optional<Overlong> {
        if (title.size() > MaxTitleChars)
            return Overlong{QStringLiteral("Title"), owner, title.size(), MaxTitleChars};
        if (blurb.size() > MaxBlurbChars)
            return Overlong{QStringLiteral("Blurb"), owner, blurb.size(), MaxBlurbChars};
        return std::nullopt;
    };
    if (auto bg = check(d.BgTitleText, d.BgBlurbText, QStringLiteral("the background")))
        return bg;
    for (qsizetype i = 0; i < d.Buttons.size(); ++i) {
        if (auto b = check(d.Buttons.at(i).TitleText, d.Buttons.at(i).BlurbText, QStringLiteral("button %1").arg(i + 1)))
            return b;
    }
    return std::nullopt;
}

} // namespace

QString overlongText(const Design &d)
{
    const std::optional<Overlong> o = firstOverlong(d);
    if (!o)
        return QString();
    return QStringLiteral("the %1 text of %2 has %3 characters; a %1 text may have up to %4")
        .arg(o->what, o->owner)
        .arg(o->length)
        .arg(o->limit);
}

QString overlongField(const Design &d)
{
    const std::optional<Overlong> o = firstOverlong(d);
    if (!o)
        return QString();
    return QStringLiteral("%1 text of %2 (%3 characters, at most %4)").arg(o->what, o->owner).arg(o->length).arg(o->limit);
}

} // namespace qm
