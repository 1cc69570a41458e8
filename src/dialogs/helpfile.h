#pragma once

#include <QString>

// The program's help file: HTML, kept under its old name help/QUILLMAP.HLP
// in the program folder. It opens with the contents; every topic is a
// section that starts at an <h2> heading holding its anchor
// (<a name="context-N"> for a help context) and runs to the next <h2>.
namespace qm::help {

// The help file's name, relative to the program folder.
inline constexpr char HelpFileName[] = "help/QUILLMAP.HLP";

// The help file of a program folder, found without regard to case; the
// absolute name it should have when there is none.
QString helpFilePath(const QString &programFolder);

// The section of the page that holds the anchor, heading included; empty
// when the page has no such anchor.
QString topicSection(const QString &page, const QString &anchor);

// The opening of a topic, up to its first <h3>: what a pop-up shows.
QString topicSummary(const QString &page, const QString &anchor);

// Reads the help file as UTF-8; empty when it cannot be read.
QString readHelpFile(const QString &path);

} // namespace qm::help
