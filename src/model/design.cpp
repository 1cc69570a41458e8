#include "model/design.h"


#include <QColor>

namespace qm {

const char *const MakerHomePage = "https://quillmap.example.org/";

void applyStyleName(AreaStyle &style, const QString &styleName)
{
    if (styleName == QLatin1String("Bold"))
        style = AreaStyle{true, false};
    else if (styleName == QLatin1String("Italic"))
        style = AreaStyle{false, true};
    else if (styleName == QLatin1String("Normal"))
        style = AreaStyle{false, false};
    else if (styleName == QLatin1String("Bold Italic"))
        style = AreaStyle{true, true};
}

ButtonData Design::newButton(const ProgramSetup &p, int left, int top) const
{
    ButtonData b;
    b.Left = left;
    b.Top = top;
    b.Width = DefButtonWidth;
    b.Height = DefButtonHeight;
    b.MouseOverSound = p.DefaultSound;
    b.LinkURL = QString::fromLatin1(MakerHomePage);
    b.Target = QStringLiteral("_self");
    b.URLRelative = false;
    b.DefImagePath = p.DefaultImageUpper;
    b.MouseOverImagePath = p.DefaultMouseOverImageUpper;
    b.DefImageName = p.DefaultImage;
    b.MouseOverImage = p.DefaultMouseOverImage;
    b.TitleText = QStringLiteral("type button title here");
    b.BlurbText = QStringLiteral("type button blurb here");
    b.Tag = int(Buttons.size());
    return b;
}

void Design::renumber()
{
    for (qsizetype i = 0; i < Buttons.size(); ++i)
        Buttons[i].Tag = int(i);
}

BackgroundData Design::background() const
{
    BackgroundData b;
    b.BgTitleText = BgTitleText;
    b.BgBlurbText = BgBlurbText;
    b.BlurbImageName = BlurbImageName;
    b.BlurbImagePath = BlurbImagePath;
    b.BackgroundColor = BackgroundColor;
    b.TextColor = TextColor;
    b.TitleFont = TitleFont;
    b.TitleFontSize = TitleFontSize;
    b.TitleStyle = TitleStyle;
    b.TitleAreaStyle = TitleAreaStyle;
    b.BlurbFont = BlurbFont;
    b.BlurbFontSize = BlurbFontSize;
    b.BlurbStyle = BlurbStyle;
    b.BlurbAreaStyle = BlurbAreaStyle;
    b.StretchBlurbImages = StretchBlurbImages;
    b.ShowTitleAndBlurb = ShowTitleAndBlurb;
    return b;
}

void Design::setBackground(const BackgroundData &b)
{
    BgTitleText = b.BgTitleText;
    BgBlurbText = b.BgBlurbText;
    BlurbImageName = b.BlurbImageName;
    BlurbImagePath = b.BlurbImagePath;
    BackgroundColor = b.BackgroundColor;
    TextColor = b.TextColor;
    TitleFont = b.TitleFont;
    TitleFontSize = b.TitleFontSize;
    TitleStyle = b.TitleStyle;
    TitleAreaStyle = b.TitleAreaStyle;
    BlurbFont = b.BlurbFont;
    BlurbFontSize = b.BlurbFontSize;
    BlurbStyle = b.BlurbStyle;
    BlurbAreaStyle = b.BlurbAreaStyle;
    StretchBlurbImages = b.StretchBlurbImages;
    ShowTitleAndBlurb = b.ShowTitleAndBlurb;
}

QColor toQColor(TColor color)
{
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

TColor fromQColor(const QColor &color)
{
    return TColor(color.red()) | (TColor(color.green()) << 8) | (TColor(color.blue()) << 16);
}

void resetDesign(Design &d)
{
    d.Buttons.clear();

    d.AppletWidth = 0;
    d.AppletHeight = 0;
    d.TableMargin = 5;
    d.OffsetTop = 0;
    d.OffsetLeft = 0;

    d.FileNameUpper.clear();
    d.FileDirUpper.clear();
    d.FileName.clear();
    d.FileDir.clear();

    d.DefButtonWidth = 156;
    d.DefButtonHeight = 65;

    d.TitleFont = QStringLiteral("Times Roman");
    d.TitleFontSize = 24;
    d.TitleStyle = QStringLiteral("Bold");
    d.BlurbFont = QStringLiteral("Times Roman");
    d.BlurbFontSize = 14;
    d.BlurbStyle = QStringLiteral("Normal");

    d.BackgroundColor = 0;
    d.TextColor = 0xFFFFFF;
    d.TitleAreaStyle = AreaStyle{true, false};
    d.BlurbAreaStyle = AreaStyle{false, false};

    d.BlurbImagePath.clear();
    d.BlurbImageName.clear();
    d.BgTitleText = QStringLiteral("type background title here");
    d.BgBlurbText = QStringLiteral("type background blurb here");

    d.ShowTitleAndBlurb = true;

    d.TitleRect = QRect(46, 8, 372, 41);
    d.BlurbRect = QRect(46, 56, 372, 73);

    d.StretchBlurbImages = true;

    d.FileVersion = QStringLiteral("v1.0");
}

TColor blurbImageFillColor(TColor background)
{
    // Digits 7, 5 and 3 of the eight-digit hex form are the high digits of
    // red, green and blue; each below "2" means the component is below 32.
    const QString hex = QStringLiteral("%1").arg(background, 8, 16, QLatin1Char('0')).toUpper();
    const bool dark = hex.at(6) < QLatin1Char('2') && hex.at(4) < QLatin1Char('2') && hex.at(2) < QLatin1Char('2');
    return dark ? background + 0x202020 : background;
}

} // namespace qm
