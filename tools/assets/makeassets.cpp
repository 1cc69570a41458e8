// quillmap_makeassets: writes the files the program finds in its folder at
// run time (default button pictures, sounds, the help and preview folders
// and the java/ folder that the applet runtime is built into; the build
// copies the help file itself). Everything is made here, in code, and the
// output is the same byte for byte on every run.
//
//   quillmap_makeassets <program folder>
//   quillmap_makeassets --contact-sheet <file.png>
//
// The second form draws every glyph, the logo and the two button pictures on
// one sheet, for looking at the artwork.

#include "editor/artwork.h"

#include <Magick++.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <vector>

namespace {

constexpr int ButtonWidth = 156;
constexpr int ButtonHeight = 65;

// The surface the buttons sit on by default.
const QColor SurfaceColour(0, 0, 0);

// --- Button pictures ------------------------------------------------------

// Blurs the alpha channel of an Alpha8 picture with three box passes, which
// comes close to a gaussian. Plain integer arithmetic, so it is exact.
QImage blurAlpha(const QImage &src, int radius)
{
    QImage a = src.convertToFormat(QImage::Format_Alpha8);
    const int w = a.width();
    const int h = a.height();
    std::vector<int> line;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < h; ++y) {
            uchar *row = a.scanLine(y);
            line.assign(row, row + w);
            for (int x = 0; x < w; ++x) {
                int sum = 0;
                for (int k = -radius; k <= radius; ++k)
                    sum += line[std::clamp(x + k, 0, w - 1)];
                row[x] = uchar(sum / (2 * radius + 1));
            }
        }
        line.resize(h);
        for (int x = 0; x < w; ++x) {
            for (int y = 0; y < h; ++y)
                line[y] = a.scanLine(y)[x];
            for (int y = 0; y < h; ++y) {
                int sum = 0;
                for (int k = -radius; k <= radius; ++k)
                    sum += line[std::clamp(y + k, 0, h - 1)];
                a.scanLine(y)[x] = uchar(sum / (2 * radius + 1));
            }
        }
    }
    return a;
}

// A coloured glow: the shape's own blurred outline, tinted.
QImage glow(const QPainterPath &shape, const QSize &size, int radius, const QColor &colour)
{
    QImage mask(size, QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillPath(shape, Qt::white);
    }
    const QImage alpha = blurAlpha(mask, radius);
    QImage out(size, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    for (int y = 0; y < size.height(); ++y) {
        const uchar *a = alpha.constScanLine(y);
        auto *px = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int al = a[x] * colour.alpha() / 255;
            px[x] = qRgba(colour.red() * al / 255, colour.green() * al / 255,
                          colour.blue() * al / 255, al);
        }
    }
    return out;
}

// The default menu button, and the same button lit up for mouse-over.
QImage buttonPicture(bool hover)
{
    QImage img(ButtonWidth, ButtonHeight, QImage::Format_ARGB32_Premultiplied);
    img.fill(SurfaceColour);

    const QRectF body(7, 8, ButtonWidth - 14, ButtonHeight - 16);
    const qreal radius = 12;
    QPainterPath shape;
    shape.addRoundedRect(body, radius, radius);

    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    if (hover)
        p.drawImage(0, 0, glow(shape, img.size(), 4, QColor(0x7C, 0xC2, 0xFF, 255)));

    // Body: a gentle top-to-bottom gradient.
    QLinearGradient fill(body.topLeft(), body.bottomLeft());
    if (hover) {
        fill.setColorAt(0, QColor(0x8A, 0xC4, 0xFF));
        fill.setColorAt(0.5, QColor(0x4F, 0x9A, 0xFF));
        fill.setColorAt(1, QColor(0x2F, 0x74, 0xEE));
    } else {
        fill.setColorAt(0, QColor(0x4E, 0x93, 0xF5));
        fill.setColorAt(0.5, QColor(0x2C, 0x72, 0xE6));
        fill.setColorAt(1, QColor(0x1B, 0x55, 0xC4));
    }
    p.fillPath(shape, fill);

    // A thin light rim along the upper edge, fading out downwards.
    QLinearGradient rim(body.topLeft(), body.bottomLeft());
    rim.setColorAt(0, QColor(255, 255, 255, hover ? 200 : 140));
    rim.setColorAt(0.45, QColor(255, 255, 255, 0));
    p.setPen(QPen(QBrush(rim), 1.2));
    p.drawPath(shape);
    QPainterPath inner;
    inner.addRoundedRect(body.adjusted(1.5, 1.5, -1.5, -1.5), radius - 1.5, radius - 1.5);
    p.setPen(QPen(QBrush(rim), 1.0));
    p.drawPath(inner);
    p.setPen(Qt::NoPen);

    // The label, with a soft shadow beneath it.
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(20);
    font.setBold(true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.3);
    font.setHintingPreference(QFont::PreferNoHinting);
    p.setFont(font);
    const QString label = QStringLiteral("Button");
    const QFontMetricsF fm(font);
    const qreal tx = std::round(body.center().x() - fm.horizontalAdvance(label) / 2);
    const qreal ty = std::round(body.center().y() + (fm.ascent() - fm.descent()) / 2);
    p.setPen(QColor(0x0B, 0x2C, 0x75, hover ? 110 : 150));
    p.drawText(QPointF(tx, ty + 1.2), label);
    p.setPen(Qt::white);
    p.drawText(QPointF(tx, ty), label);
    p.end();
    return img;
}

void writeGif(const QImage &picture, const QString &path)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    QByteArray pixels;
    pixels.reserve(rgb.width() * rgb.height() * 3);
    for (int y = 0; y < rgb.height(); ++y)
        pixels.append(reinterpret_cast<const char *>(rgb.constScanLine(y)), rgb.width() * 3);
    Magick::Image image(rgb.width(), rgb.height(), "RGB", Magick::CharPixel, pixels.constData());
    image.quantizeDither(false);
    image.quantizeColors(256);
    image.quantize();
    image.magick("GIF");
    image.write(QFile::encodeName(path).toStdString());
}

// --- Sounds ---------------------------------------------------------------

// Small fixed-seed generator, so the noise is the same on every run.
class Noise {
public:
    explicit Noise(uint32_t seed) : m_state(seed) {}
    // Uniform in [-1, 1).
    double next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return (m_state >> 8) / double(1 << 23) - 1.0;
    }
    double unit() { return (next() + 1.0) / 2.0; }

private:
    uint32_t m_state;
};

void put32be(QByteArray &out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(char((v >> shift) & 0xFF));
}

void put32le(QByteArray &out, uint32_t v)
{
    for (int shift = 0; shift <= 24; shift += 8)
        out.append(char((v >> shift) & 0xFF));
}

void put16le(QByteArray &out, uint16_t v)
{
    out.append(char(v & 0xFF));
    out.append(char(v >> 8));
}

// Scales the samples so that the loudest reaches peak.
void normalise(std::vector<double> &samples, double peak)
{
    double max = 0;
    for (double s : samples)
        max = std::max(max, std::abs(s));
    if (max > 0)
        for (double &s : samples)
            s *= peak / max;
}

int16_t toPcm16(double s)
{
    return int16_t(std::lround(std::clamp(s, -1.0, 1.0) * 32767.0));
}

// G.711 mu-law encoding of one 16-bit sample.
uint8_t muLaw(int16_t sample)
{
    constexpr int Bias = 0x84;
    constexpr int Clip = 32635;
    int s = sample;
    const int sign = s < 0 ? 0x80 : 0;
    if (s < 0)
        s = -s;
    if (s > Clip)
        s = Clip;
    s += Bias;
    int exponent = 7;
    for (int mask = 0x4000; (s & mask) == 0 && exponent > 0; mask >>= 1)
        --exponent;
    const int mantissa = (s >> (exponent + 3)) & 0x0F;
    return uint8_t(~(sign | (exponent << 4) | mantissa));
}

// A short, soft tick: two damped tones over a very short burst of noise.
// Sun audio, 8000 Hz mono mu-law, the format browsers' applet players take.
QByteArray clickAu()
{
    constexpr int Rate = 8000;
    constexpr int Count = Rate * 40 / 1000;
    Noise noise(0x51C4u);
    std::vector<double> samples(Count);
    for (int n = 0; n < Count; ++n) {
        const double t = double(n) / Rate;
        double s = 0.55 * std::sin(2 * M_PI * 1750 * t) * std::exp(-t / 0.005)
                 + 0.30 * std::sin(2 * M_PI * 620 * t) * std::exp(-t / 0.011)
                 + 0.45 * noise.next() * std::exp(-t / 0.0012);
        // Let the tail die away to silence.
        const int left = Count - 1 - n;
        if (left < 48)
            s *= double(left) / 48;
        samples[n] = s;
    }
    normalise(samples, 0.7);

    QByteArray au;
    put32be(au, 0x2E736E64); // ".snd"
    put32be(au, 24);         // offset of the data
    put32be(au, Count);      // data size in bytes
    put32be(au, 1);          // 8-bit G.711 mu-law
    put32be(au, Rate);
    put32be(au, 1);          // channels
    for (double s : samples)
        au.append(char(muLaw(toPcm16(s))));
    return au;
}

// About a second of a burning fuse that ends in a bang. 22050 Hz, 16-bit
// mono PCM in a RIFF WAVE file.
QByteArray bombWav()
{
    constexpr int Rate = 22050;
    constexpr int Count = Rate;             // 1 s
    constexpr double BangAt = 0.36;         // seconds
    Noise hiss(0xF05Eu);
    Noise sparks(0xC0FFEEu);
    Noise blast(0xB0B0u);

    std::vector<double> samples(Count);
    double previous = 0;
    double crackle = 0;
    double thumpPhase = 0;
    double low = 0;
    double body = 0;
    double rumble = 0;
    const double crackleDecay = std::exp(-1.0 / (Rate * 0.0007));
    for (int n = 0; n < Count; ++n) {
        const double t = double(n) / Rate;
        double s = 0;

        // The fuse: bright hiss that flickers, with sparks crackling in it.
        const double fuseLevel = std::min(1.0, t / 0.03)
                               * (t < BangAt ? 1.0 : std::exp(-(t - BangAt) / 0.02));
        const double white = hiss.next();
        const double bright = white - previous; // first difference: high-pass
        previous = white;
        const double flicker = 0.75 + 0.25 * std::sin(2 * M_PI * 13 * t) * std::sin(2 * M_PI * 3.1 * t);
        s += 0.12 * bright * flicker * fuseLevel;
        if (t < BangAt && sparks.unit() < 0.0022)
            crackle = 0.25 + 0.35 * sparks.unit();
        s += crackle * sparks.next() * fuseLevel;
        crackle *= crackleDecay;

        // The bang: a falling thump under a burst of noise that darkens as
        // it dies away into a rumble.
        if (t >= BangAt) {
            const double dt = t - BangAt;
            const double attack = 1.0 - std::exp(-dt / 0.0015);
            const double freq = 40 + 80 * std::exp(-dt / 0.05);
            thumpPhase += 2 * M_PI * freq / Rate;
            s += 0.45 * std::sin(thumpPhase) * attack * std::exp(-dt / 0.14);

            const double w = blast.next();
            const double cutoff = 400 + 7000 * std::exp(-dt / 0.035);
            low += (1.0 - std::exp(-2 * M_PI * cutoff / Rate)) * (w - low);
            body += (1.0 - std::exp(-2 * M_PI * 700.0 / Rate)) * (w - body);
            rumble += (1.0 - std::exp(-2 * M_PI * 160.0 / Rate)) * (w - rumble);
            s += attack * (1.2 * low * std::exp(-dt / 0.06)
                           + 2.0 * body * std::exp(-dt / 0.12)
                           + 4.5 * rumble * std::exp(-dt / 0.30));
        }
        samples[n] = s;
    }
    // Round off the loudest peaks a little, as a real microphone would.
    normalise(samples, 1.0);
    for (double &s : samples)
        s = std::tanh(1.6 * s) / std::tanh(1.6);
    constexpr int FadeOut = Rate * 60 / 1000;
    for (int i = 0; i < FadeOut; ++i)
        samples[Count - 1 - i] *= double(i) / FadeOut;
    normalise(samples, 0.89);

    const uint32_t dataBytes = Count * 2;
    QByteArray wav;
    wav.append("RIFF");
    put32le(wav, 36 + dataBytes);
    wav.append("WAVE");
    wav.append("fmt ");
    put32le(wav, 16);
    put16le(wav, 1);        // PCM
    put16le(wav, 1);        // mono
    put32le(wav, Rate);
    put32le(wav, Rate * 2); // bytes per second
    put16le(wav, 2);        // bytes per frame
    put16le(wav, 16);       // bits per sample
    wav.append("data");
    put32le(wav, dataBytes);
    for (double s : samples)
        put16le(wav, uint16_t(toPcm16(s)));
    return wav;
}

// --- Output ---------------------------------------------------------------

bool writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(data) != data.size()) {
        std::fprintf(stderr, "quillmap_makeassets: cannot write %s: %s\n",
                     qPrintable(QDir::toNativeSeparators(path)), qPrintable(f.errorString()));
        return false;
    }
    return true;
}

bool makeFolder(const QDir &root, const QString &name)
{
    if (!root.mkpath(name)) {
        std::fprintf(stderr, "quillmap_makeassets: cannot create %s\n",
                     qPrintable(QDir::toNativeSeparators(QDir::cleanPath(root.filePath(name)))));
        return false;
    }
    return true;
}

int writeProgramFolder(const QString &folder)
{
    const QDir root(folder);
    if (!makeFolder(root, QStringLiteral(".")))
        return 1;
    for (const char *sub : {"images", "sound", "java", "tmp", "help"})
        if (!makeFolder(root, QLatin1String(sub)))
            return 1;

    try {
        writeGif(buttonPicture(false), root.filePath(QStringLiteral("images/default.gif")));
        writeGif(buttonPicture(true), root.filePath(QStringLiteral("images/mouse.gif")));
    } catch (const std::exception &e) {
        std::fprintf(stderr, "quillmap_makeassets: cannot write the button pictures: %s\n", e.what());
        return 1;
    }

    bool ok = writeFile(root.filePath(QStringLiteral("sound/click.au")), clickAu())
           && writeFile(root.filePath(QStringLiteral("bomb.wav")), bombWav());
    return ok ? 0 : 1;
}

// --- Contact sheet ----------------------------------------------------------

// Rough likeness of a push button of the window, for judging the glyphs in
// place.
void drawFakeButton(QPainter &p, const QRect &r)
{
    p.setPen(QColor(0xB5, 0xB5, 0xB5));
    p.setBrush(QColor(0xF6, 0xF6, 0xF6));
    p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
    p.setBrush(Qt::NoBrush);
}

int writeContactSheet(const QString &path)
{
    using namespace qm::artwork;
    const QColor windowGrey(0xEF, 0xEF, 0xEF);
    QImage sheet(640, 720, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(windowGrey);
    QPainter p(&sheet);
    p.setRenderHint(QPainter::Antialiasing);
    QFont caption(QStringLiteral("Liberation Sans"));
    caption.setPixelSize(11);
    p.setFont(caption);

    // Tool bar at its real size.
    int x0 = 12;
    for (int i = 0; i < 8; ++i) {
        const QRect r(x0 + i * 56, 12, 57, 57);
        drawFakeButton(p, r);
        p.drawImage(r.x() + 12, r.y() + 5, glyphImage(Glyph(i)));
        p.setPen(Qt::black);
        p.drawText(QRect(r.x(), r.y() + 38, 57, 16), Qt::AlignCenter, QLatin1String(glyphCaption(Glyph(i))));
    }
    // Command row.
    for (int i = 0; i < 4; ++i) {
        const QRect r(x0 + i * 112, 80, 112, 42);
        drawFakeButton(p, r);
        p.drawImage(r.x() + 6, r.y() + 5, glyphImage(Glyph(AddButton + i)));
        p.setPen(Qt::black);
        p.drawText(QRect(r.x() + 40, r.y(), 70, 42), Qt::AlignVCenter | Qt::AlignLeft,
                   QLatin1String(glyphCaption(Glyph(AddButton + i))));
    }
    // Logo, placed the way the window places it.
    p.drawImage(x0 + 27, 132, logo());

    // Glyphs enlarged three times, pixel for pixel, to judge their 1x pixels.
    for (int i = 0; i < GlyphCount; ++i) {
        const QImage big = glyphImage(Glyph(i)).scaled(96, 96, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        const int col = i % 6;
        const int row = i / 6;
        p.fillRect(QRect(x0 + col * 102, 186 + row * 102, 96, 96), QColor(0xF8, 0xF8, 0xF8));
        p.drawImage(x0 + col * 102, 186 + row * 102, big);
    }
    // Glyphs at pixel ratio 2.
    for (int i = 0; i < GlyphCount; ++i) {
        QImage hi = glyphImage(Glyph(i), 2.0);
        hi.setDevicePixelRatio(1.0);
        const int col = i % 8;
        const int row = i / 8;
        p.drawImage(x0 + col * 76, 400 + row * 72, hi);
    }
    // Button pictures on the surface colour, and the glyphs on black too.
    p.fillRect(QRect(x0, 548, 616, 160), SurfaceColour);
    p.drawImage(x0 + 20, 560, buttonPicture(false));
    p.drawImage(x0 + 200, 560, buttonPicture(true));
    for (int i = 0; i < GlyphCount; ++i)
        p.drawImage(x0 + 20 + i * 46, 650, glyphImage(Glyph(i)));
    p.end();

    if (!sheet.save(path, "PNG")) {
        std::fprintf(stderr, "quillmap_makeassets: cannot write %s\n", qPrintable(path));
        return 1;
    }
    return 0;
}

// Build machines often have no XDG runtime folder; Qt's note about that is
// of no interest here and would only clutter the build log.
void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtWarningMsg && text.startsWith(QLatin1String("QStandardPaths:")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(text));
}

} // namespace

// The program's icon in the sizes an icon theme keeps, as
// <folder>/<N>x<N>/apps/quillmap.png; the build renames them to the
// program's desktop id when it installs them.
int writeIcons(const QString &folder)
{
    for (int size : {16, 24, 32, 48, 64, 128, 256, 512}) {
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
        if (!QDir().mkpath(dir) || !qm::artwork::appIcon(size).save(dir + QStringLiteral("/quillmap.png"), "PNG")) {
            std::fprintf(stderr, "quillmap_makeassets: cannot write the icons into %s\n", qPrintable(dir));
            return 1;
        }
    }
    return 0;
}

// The icon in the sizes a window's title bar and the task list use, as a
// C++ source of ARGB words that the program builds in. A window gets its
// icon from this without drawing or decoding anything.
int writeWindowIconSource(const QString &fileName)
{
    QByteArray out = "// Written by quillmap_makeassets --window-icons: the program's icon as drawn by\n"
                     "// qm::artwork::appIcon, in the sizes a window uses. Do not edit.\n\n"
                     "#include \"app/windowicon.h\"\n\n#include <QPixmap>\n\nnamespace {\n\n";
    const int sizes[] = {16, 32, 48, 64};
    for (int size : sizes) {
        const QImage icon = qm::artwork::appIcon(size).convertToFormat(QImage::Format_ARGB32);
        out += "const quint32 icon" + QByteArray::number(size) + "[] = {";
        for (int y = 0; y < size; ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(icon.constScanLine(y));
            for (int x = 0; x < size; ++x)
                out += ((x % 8) == 0 ? "\n    " : " ") + QByteArray("0x") + QByteArray::number(line[x], 16).rightJustified(8, '0') + ',';
        }
        out += "\n};\n\n";
    }
    out += "} // namespace\n\nQIcon qm::windowIcon()\n{\n    QIcon icon;\n";
    for (int size : sizes) {
        const QByteArray n = QByteArray::number(size);
        out += "    icon.addPixmap(QPixmap::fromImage(QImage(reinterpret_cast<const uchar *>(icon" + n + "), " + n + ", " + n
             + ", " + QByteArray::number(size * 4) + ", QImage::Format_ARGB32)));\n";
    }
    out += "    return icon;\n}\n";
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(out) != out.size()) {
        std::fprintf(stderr, "quillmap_makeassets: cannot write %s\n", qPrintable(fileName));
        return 1;
    }
    return 0;
}

int main(int argc, char **argv)
{
    // Needs fonts but no screen.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietMessages);
    QGuiApplication app(argc, argv);
    Magick::InitializeMagick(argv[0]);

    const QStringList args = app.arguments();
    if (args.size() == 3 && args.at(1) == QLatin1String("--contact-sheet"))
        return writeContactSheet(args.at(2));
    if (args.size() == 3 && args.at(1) == QLatin1String("--icons"))
        return writeIcons(args.at(2));
    if (args.size() == 3 && args.at(1) == QLatin1String("--window-icons"))
        return writeWindowIconSource(args.at(2));
    if (args.size() == 2 && !args.at(1).startsWith(QLatin1Char('-')))
        return writeProgramFolder(args.at(1));
    std::fprintf(stderr,
                 "usage: quillmap_makeassets <program folder>\n"
                 "       quillmap_makeassets --contact-sheet <file.png>\n"
                 "       quillmap_makeassets --icons <folder>\n"
                 "       quillmap_makeassets --window-icons <file.cpp>\n");
    return 2;
}
