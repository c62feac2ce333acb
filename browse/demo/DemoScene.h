#pragma once
// A photograph-like picture (sky, sun, hills, fine texture) of any size, for looking at the
// view and timing it without a file.
#include <memory>

class clsImage;

namespace DemoScene {
std::shared_ptr<clsImage> Make(int width, int height);
}
