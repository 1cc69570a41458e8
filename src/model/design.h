#pragma once

#include "model/programsetup.h"

#include <QList>
#include <QRect>
#include <QString>

class QColor;

namespace qm {

// Colours are held as 0x00BBGGRR, red in the lowest byte.
using TColor = quint32;

// Font style shown by the Title or Blurb area on the design surface.
struct AreaStyle {
    bool bold = false;
    bool italic = false;
    bool operator==(const AreaStyle &) const = default;
};

// Applies a design style name to an area's style: "Bold", "Italic", "Normal"
// and "Bold Italic" set it; any other name leaves it as it was.
void applyStyleName(AreaStyle &style, const QString &styleName);

// One button of the design, in list order.
struct ButtonData {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    QString TitleText;
    QString BlurbText;            // may contain CR LF
    QString DefImagePath;         // default image under its loaded (reported) name
    QString MouseOverImagePath;   // mouse-over image under its loaded name
    QString LinkURL;
    QString Target;
    bool URLRelative = false;
    QString MouseOverBlurbImage;
    QString MouseOverSound;
    QString DefImageName;         // default image as the user entered it
    QString MouseOverImage;       // mouse-over image as the user entered it
    int Tag = 0;                  // index in the button list

    QRect rect() const { return QRect(Left, Top, Width, Height); }
    void setRect(const QRect &r) { Left = r.left(); Top = r.top(); Width = r.width(); Height = r.height(); }
    bool operator==(const ButtonData &) const = default;
};

// What the background properties edit: the colours, the fonts of the Title
// and the Blurb, the fitting of Blurb pictures, the use of the areas at all,
// and the background's own texts and Blurb picture.
struct BackgroundData {
    QString BgTitleText;
    QString BgBlurbText;
    QString BlurbImageName;
    QString BlurbImagePath;
    TColor BackgroundColor = 0;
    TColor TextColor = 0;
    QString TitleFont;
    int TitleFontSize = 0;
    QString TitleStyle;
    AreaStyle TitleAreaStyle;
    QString BlurbFont;
    int BlurbFontSize = 0;
    QString BlurbStyle;
    AreaStyle BlurbAreaStyle;
    bool StretchBlurbImages = true;
    bool ShowTitleAndBlurb = true;
    bool operator==(const BackgroundData &) const = default;
};

// The one open design, and the name of its project file.
struct Design {
    // Global settings.
    QString TitleFont;
    int TitleFontSize = 0;
    QString TitleStyle;
    QString BlurbFont;
    int BlurbFontSize = 0;
    QString BlurbStyle;
    TColor BackgroundColor = 0;
    TColor TextColor = 0;
    bool ShowTitleAndBlurb = true;
    bool StretchBlurbImages = true;
    bool AbsolutePositioning = true;
    QString FileVersion;
    int DefButtonWidth = 0;
    int DefButtonHeight = 0;
    int TableMargin = 0;
    int OffsetTop = 0;
    int OffsetLeft = 0;
    int AppletWidth = 0;
    int AppletHeight = 0;

    // Background.
    QString BgTitleText;
    QString BgBlurbText;
    QRect TitleRect;
    QRect BlurbRect;
    QString BlurbImageName;
    QString BlurbImagePath;
    AreaStyle TitleAreaStyle;   // style the Title area shows
    AreaStyle BlurbAreaStyle;   // style the Blurb area shows

    QList<ButtonData> Buttons;

    // The project file the design belongs to (empty for an untitled one).
    QString FileName;
    QString FileDir;
    QString FileNameUpper;
    QString FileDirUpper;

    // A new button with every field at the program's default, at the given
    // place.
    ButtonData newButton(const ProgramSetup &program, int left, int top) const;

    // Every button's Tag becomes its index.
    void renumber();

    BackgroundData background() const;
    void setBackground(const BackgroundData &b);
};

// The address a new button links to.
extern const char *const MakerHomePage;

inline constexpr const char *UntitledCaption = "Untitled - Quillmap v1.1";

// Brings every value of the design except AbsolutePositioning to its default.
// The button list is emptied.
void resetDesign(Design &design);

// Between the design's colour form (0x00BBGGRR) and QColor.
QColor toQColor(TColor color);
TColor fromQColor(const QColor &color);

// Fill colour of the Blurb picture for a surface colour: each component below
// 32 is raised by 32, so an empty picture frame stays visible on a near-black
// surface.
TColor blurbImageFillColor(TColor background);

} // namespace qm
