#include "platform/qtsound.h"

#include "platform/caseresolve.h"

#include <QFileInfo>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QThread>
#include <QUrl>

namespace qm {

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

bool lookUpAudioOutput()
{
    g_quietThread = QThread::currentThread();
    g_previousHandler = qInstallMessageHandler(quietAudioMessages);
    const bool any = !QMediaDevices::audioOutputs().isEmpty();
    qInstallMessageHandler(g_previousHandler);
    g_previousHandler = nullptr;
    g_quietThread = nullptr;
    return any;
}

} // namespace

bool hasAudioOutput()
{
    static const bool any = lookUpAudioOutput();
    return any;
}

QtSoundPlayer::QtSoundPlayer() = default;

QtSoundPlayer::~QtSoundPlayer() = default;

void QtSoundPlayer::playAsync(const QString &fileName)
{
    const QString found = fileName.isEmpty() ? QString() : resolveCaseInsensitive(fileName);
    if (found.isEmpty() || !QFileInfo(found).isFile()) {
        m_last = Outcome::NoFile;
        return;
    }
    if (!hasAudioOutput()) {
        m_last = Outcome::NoOutput;
        return;
    }
    // QSoundEffect loads the file in the background and starts playing once
    // it is loaded; it has to live until then, so it is kept here.
    m_effect = std::make_unique<QSoundEffect>();
    m_effect->setSource(QUrl::fromLocalFile(QFileInfo(found).absoluteFilePath()));
    m_effect->play();
    m_last = Outcome::Started;
}

} // namespace qm
