#pragma once
// The maker's link button "cmdLink" of the optimiser window and the batch wizard: the maker's
// logo on a borderless image button. Each window connects its click itself.
#include <QPixmap>

class CommandButton;
class QFont;

namespace MakerLink {

// The logo drawn in a bold italic variant of base.
QPixmap Logo(const QFont& base);
CommandButton* Create(const QFont& base);

}  // namespace MakerLink
