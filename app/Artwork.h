#pragma once
// The shell dialogs' artwork, drawn in code so that no image file has to be found.
#include <QPixmap>

namespace Artwork {

// A small landscape "photo", 96 x 96 pixels.
QPixmap ProductPicture();

}  // namespace Artwork
