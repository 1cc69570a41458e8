// The main of every benchmark: an application on the offscreen platform
// and a temporary working folder.

#include "benchmain.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {
QTemporaryDir *g_dir = nullptr;
}

qmbench::Form::Form()
{
    services.prompts = &prompts;
    services.files = &files;
    services.images = TPMultiImage::standardContext(&prompts);
    services.splash = false;
    form = std::make_unique<TMainForm>(services);
}

QString qmbench::workDir()
{
    return g_dir->path();
}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    g_dir = &dir;
    QDir::setCurrent(dir.path());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
