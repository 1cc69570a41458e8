#include "mainformfixture.h"

MainFormFixture::MainFormFixture()
{
    previousDir = QDir::currentPath();
    QDir::setCurrent(folder.path());
    services.prompts = &prompts;
    services.files = &files;
    services.clipboard = &clipboard;
    services.images = TPMultiImage::standardContext(&prompts);
    // No splash unless a test asks for one: the window is ready at once.
    services.splash = false;
    form = std::make_unique<TMainForm>(services);
}

MainFormFixture::~MainFormFixture()
{
    form.reset();
    QDir::setCurrent(previousDir);
}

void MainFormFixture::restart()
{
    form.reset();
    form = std::make_unique<TMainForm>(services);
}
