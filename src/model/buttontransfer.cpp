#include "model/buttontransfer.h"

#include "model/projectfile.h"
#include "model/textlimits.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

namespace qm {

namespace {

constexpr const char *kFormat = "quillmap-buttons";
constexpr int kVersion = 1;
// Far beyond any surface; keeps sums of places and sizes inside an int.
constexpr int kMaxCoordinate = 32767;
// Picture, sound and link names: a path is at most 4096 bytes on Linux.
constexpr qsizetype kMaxNameChars = 4096;

// The string fields, by their names in the form.
struct TextField {
    const char *key;
    QString ButtonData::*field;
    qsizetype limit;
};

const TextField kTexts[] = {
    {"title", &ButtonData::TitleText, MaxTitleChars},
    {"blurb", &ButtonData::BlurbText, MaxBlurbChars},
    {"picture", &ButtonData::DefImageName, kMaxNameChars},
    {"pictureLoaded", &ButtonData::DefImagePath, kMaxNameChars},
    {"overPicture", &ButtonData::MouseOverImage, kMaxNameChars},
    {"overPictureLoaded", &ButtonData::MouseOverImagePath, kMaxNameChars},
    {"blurbPicture", &ButtonData::MouseOverBlurbImage, kMaxNameChars},
    {"sound", &ButtonData::MouseOverSound, kMaxNameChars},
    {"link", &ButtonData::LinkURL, kMaxNameChars},
    {"target", &ButtonData::Target, kMaxNameChars},
};

} // namespace

QByteArray buttonsToBytes(const QList<ButtonData> &buttons)
{
    QJsonArray list;
    for (const ButtonData &b : buttons) {
        QJsonObject o{{"left", b.Left}, {"top", b.Top}, {"width", b.Width}, {"height", b.Height},
                      {"relative", b.URLRelative}};
        for (const TextField &t : kTexts)
            o.insert(QLatin1String(t.key), b.*t.field);
        list.append(o);
    }
    return QJsonDocument(QJsonObject{{"format", kFormat}, {"version", kVersion}, {"buttons", list}})
        .toJson(QJsonDocument::Compact);
}

std::optional<QList<ButtonData>> buttonsFromBytes(const QByteArray &bytes)
{
    const QJsonDocument doc = QJsonDocument::fromJson(bytes);
    const QJsonObject top = doc.object();
    if (top.value(QLatin1String("format")).toString() != QLatin1String(kFormat)
        || top.value(QLatin1String("version")).toInt() != kVersion || !top.value(QLatin1String("buttons")).isArray())
        return std::nullopt;
    const QJsonArray list = top.value(QLatin1String("buttons")).toArray();
    if (list.isEmpty() || list.size() > MaxPastedButtons)
        return std::nullopt;
    QList<ButtonData> buttons;
    for (const QJsonValue &v : list) {
        if (!v.isObject())
            return std::nullopt;
        const QJsonObject o = v.toObject();
        const auto number = [&o](const char *key, int low) {
            return std::clamp(o.value(QLatin1String(key)).toInt(low), low, kMaxCoordinate);
        };
        ButtonData &b = buttons.emplaceBack();
        b.Left = number("left", 0);
        b.Top = number("top", 0);
        b.Width = number("width", 1);
        b.Height = number("height", 1);
        b.URLRelative = o.value(QLatin1String("relative")).toBool();
        for (const TextField &t : kTexts) {
            QString text = o.value(QLatin1String(t.key)).toString().left(t.limit);
            b.*t.field = t.field == &ButtonData::BlurbText ? text : oneLine(text);
        }
        b.Tag = int(buttons.size() - 1);
    }
    return buttons;
}

} // namespace qm
