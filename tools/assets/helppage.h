#pragma once

#include <QByteArray>

// The program's help file: one HTML page (UTF-8) with a section per help
// topic. Each topic starts at a heading holding <a name="context-N">, where N
// is the help context number the controls carry, and runs to the next
// heading.
QByteArray quillmapHelpPage();
