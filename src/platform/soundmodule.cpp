#include "platform/soundmodule.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QString>
#include <QThread>
#include <QUrl>

namespace {

QtMessageHandler g_previousHandler = nullptr;
QThread *g_quietThread = nullptr;

// While the audio devices are being looked up, what Qt Multimedia says about
// a missing sound server is dropped: no sound is not worth a word. Messages
// of other threads pass on.
void quietAudioMessages(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (QThread::currentThread() == g_quietThread)
        return;
    if (g_previousHandler)
        g_previousHandler(type, context, text);
}

} // namespace

extern "C" {

Q_DECL_EXPORT int quillmap_sound_outputs()
{
    g_quietThread = QThread::currentThread();
    g_previousHandler = qInstallMessageHandler(quietAudioMessages);
    const bool any = !QMediaDevices::audioOutputs().isEmpty();
    qInstallMessageHandler(g_previousHandler);
    g_previousHandler = nullptr;
    g_quietThread = nullptr;
    return any ? 1 : 0;
}

Q_DECL_EXPORT void *quillmap_sound_create()
{
    return new QSoundEffect;
}

Q_DECL_EXPORT void quillmap_sound_destroy(void *player)
{
    delete static_cast<QSoundEffect *>(player);
}

Q_DECL_EXPORT void quillmap_sound_play(void *player, const QString &absolutePath)
{
    // QSoundEffect loads the file in the background and starts playing once
    // it is loaded; the player lives until the program ends.
    auto *effect = static_cast<QSoundEffect *>(player);
    effect->stop();
    effect->setSource(QUrl::fromLocalFile(absolutePath));
    effect->play();
}

} // extern "C"
