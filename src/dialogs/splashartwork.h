#pragma once

#include <QImage>

// The pictures of the start-up splash, drawn at run time: a night scene with
// the program's name, a menu being written by a quill, and a cartoon bomb
// whose fuse is lit (first animation picture) and goes off (second).
namespace qm::splashart {

// Size of the splash picture.
inline constexpr int PictureWidth = 310;
inline constexpr int PictureHeight = 334;

// Size of each animation picture, and where its top left corner lies on the
// splash picture.
inline constexpr int FuseWidth = 83;
inline constexpr int FuseHeight = 75;
inline constexpr int FuseLeft = 6;
inline constexpr int FuseTop = 174;

// The splash picture: opaque.
QImage splashPicture();
// The burning fuse and the explosion: transparent where the splash picture
// is to show through.
QImage fusePicture();
QImage bangPicture();

} // namespace qm::splashart
