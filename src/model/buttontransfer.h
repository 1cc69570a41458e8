#pragma once

#include "model/design.h"

#include <QByteArray>
#include <QList>
#include <optional>

namespace qm {

// Buttons on the clipboard, between two running programs as within one:
// every field of each, in a form of the program's own.
inline constexpr const char *ButtonsMimeType = "application/x-quillmap-buttons";

// At most this many buttons come in by one paste.
inline constexpr qsizetype MaxPastedButtons = 1000;

QByteArray buttonsToBytes(const QList<ButtonData> &buttons);

// The buttons of buttonsToBytes. What another program put there is held to
// what a project file may hold: texts to their limits (a Title to its first
// line), places inside the surface's range and sizes of at least a pixel.
// nullopt when the bytes are not buttons of this form or are too many.
std::optional<QList<ButtonData>> buttonsFromBytes(const QByteArray &bytes);

} // namespace qm
