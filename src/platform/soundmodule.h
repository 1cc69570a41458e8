#pragma once

// The entry points of the sound module, the one part of the program that
// links Qt Multimedia. The program loads it at the first sound (the
// splash's bang, seconds after start-up): Qt Multimedia and the libraries it
// brings along would otherwise cost every start some 20 ms and 3 MB.

class QString;

extern "C" {
// 1 when the machine has at least one audio output, 0 otherwise.
using QuillmapSoundOutputs = int (*)();
// A player for one sound at a time, and its end.
using QuillmapSoundCreate = void *(*)();
using QuillmapSoundDestroy = void (*)(void *player);
// Starts playing the WAV file at an absolute path; a new sound stops the
// one before.
using QuillmapSoundPlay = void (*)(void *player, const QString &absolutePath);
}

namespace qm {
// The module's name, as QLibrary takes it (the file is libqmsound.so).
inline constexpr const char *SoundModuleName = "qmsound";
} // namespace qm
