#include "platform/qtsound.h"

#include "platform/caseresolve.h"
#include "platform/modules.h"
#include "platform/soundmodule.h"

#include <QFileInfo>
#include <QLibrary>

namespace qm {

namespace {

struct SoundModule {
    QuillmapSoundOutputs outputs = nullptr;
    QuillmapSoundCreate create = nullptr;
    QuillmapSoundDestroy destroy = nullptr;
    QuillmapSoundPlay play = nullptr;
    bool usable() const { return outputs && create && destroy && play; }
};

const SoundModule &soundModule()
{
    static const SoundModule module = [] {
        SoundModule m;
        QLibrary library;
        if (!loadModule(SoundModuleName, library))
            return m;
        m.outputs = reinterpret_cast<QuillmapSoundOutputs>(library.resolve("quillmap_sound_outputs"));
        m.create = reinterpret_cast<QuillmapSoundCreate>(library.resolve("quillmap_sound_create"));
        m.destroy = reinterpret_cast<QuillmapSoundDestroy>(library.resolve("quillmap_sound_destroy"));
        m.play = reinterpret_cast<QuillmapSoundPlay>(library.resolve("quillmap_sound_play"));
        if (!m.usable())
            m = SoundModule();
        return m;
    }();
    return module;
}

} // namespace

bool hasAudioOutput()
{
    static const bool any = soundModule().usable() && soundModule().outputs() != 0;
    return any;
}

QtSoundPlayer::QtSoundPlayer() = default;

QtSoundPlayer::~QtSoundPlayer()
{
    if (m_player)
        soundModule().destroy(m_player);
}

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
    if (!m_player)
        m_player = soundModule().create();
    soundModule().play(m_player, QFileInfo(found).absoluteFilePath());
    m_last = Outcome::Started;
}

} // namespace qm
