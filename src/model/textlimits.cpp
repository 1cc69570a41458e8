#include "model/textlimits.h"

namespace qm {

namespace {

QString tooLong(const QString &what, const QString &owner, qsizetype length, qsizetype limit)
{
    return QStringLiteral("the %1 text of %2 has %3 characters; a %1 text may have up to %4")
        .arg(what, owner)
        .arg(length)
        .arg(limit);
}

} // namespace

QString overlongText(const Design &d)
{
    const auto check = [](const QString &title, const QString &blurb, const QString &owner) {
        if (title.size() > MaxTitleChars)
            return tooLong(QStringLiteral("Title"), owner, title.size(), MaxTitleChars);
        if (blurb.size() > MaxBlurbChars)
            return tooLong(QStringLiteral("Blurb"), owner, blurb.size(), MaxBlurbChars);
        return QString();
    };
    QString problem = check(d.BgTitleText, d.BgBlurbText, QStringLiteral("the background"));
    for (qsizetype i = 0; problem.isEmpty() && i < d.Buttons.size(); ++i)
        problem = check(d.Buttons.at(i).TitleText, d.Buttons.at(i).BlurbText,
                        QStringLiteral("button %1").arg(i + 1));
    return problem;
}

} // namespace qm
