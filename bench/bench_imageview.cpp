// Reading the image name of a button happens at every mouse move over the
// design; it must cost a stat, not a decode. The first load shows what a
// decode of a typical photo costs.

#include "benchmain.h"
#include "imageview/magickdecoder.h"
#include "imageview/tpmultiimage.h"
#include "scriptedprompts.h"

#include <QHash>

#include <benchmark/benchmark.h>

namespace {

// A JPEG with some detail, so the decoder has real work.
QString photo(int width = 1024, int height = 768)
{
    static QHash<int, QString> paths;
    QString &path = paths[width];
    if (path.isEmpty()) {
        path = qmbench::workDir() + QStringLiteral("/Photo%1.jpg").arg(width);
        QImage img(width, height, QImage::Format_RGB32);
        for (int y = 0; y < img.height(); ++y) {
            QRgb *line = reinterpret_cast<QRgb *>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x)
                line[x] = qRgb(x & 255, y & 255, (x * y) & 255);
        }
        if (!img.save(path, "JPEG", 85))
            qFatal("cannot write %s", qPrintable(path));
    }
    return path;
}

void BM_ReadUnchangedImageName10k(benchmark::State &state)
{
    qm::ScriptedPrompts prompts;
    TPMultiImage view(nullptr, TPMultiImage::standardContext(&prompts));
    const QString name = photo().toUpper();
    view.setImageName(name);
    if (!view.hasPicture()) {
        state.SkipWithError("photo did not decode");
        return;
    }
    for (auto _ : state) {
        for (int i = 0; i < 10000; ++i) {
            QString reported = view.ImageName();
            benchmark::DoNotOptimize(reported);
        }
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_ReadUnchangedImageName10k)->Unit(benchmark::kMillisecond);

void BM_FirstLoad(benchmark::State &state)
{
    qm::ScriptedPrompts prompts;
    const QString name = photo().toUpper();
    for (auto _ : state) {
        // A fresh store each time: nothing decoded or resolved before.
        TPMultiImage view(nullptr, TPMultiImage::standardContext(&prompts));
        view.setImageName(name);
        benchmark::DoNotOptimize(view.Picture().constBits());
    }
}
BENCHMARK(BM_FirstLoad)->Unit(benchmark::kMillisecond);

// Photos of 0.8, 12 and 25 million pixels through the decoder process, the
// pixels carried back to the program: all well inside the time limit.
void BM_DecodePhoto(benchmark::State &state)
{
    const int width = int(state.range(0)), height = int(state.range(1));
    const QString file = photo(width, height);
    qm::MagickDecoder &decoder = qm::MagickDecoder::instance();
    for (auto _ : state) {
        const qm::DecodeResult r = decoder.decode(file, qm::DecoderFormat::Jpeg, 24, false);
        if (!r.ok) {
            state.SkipWithError(qPrintable(r.errorText));
            return;
        }
        benchmark::DoNotOptimize(r.image.constBits());
    }
    state.counters["Mpx"] = width * double(height) / 1e6;
}
BENCHMARK(BM_DecodePhoto)->Args({1024, 768})->Args({4000, 3000})->Args({5000, 5000})->Unit(benchmark::kMillisecond);

} // namespace
