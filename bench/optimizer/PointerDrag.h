#pragma once
// The real-pointer drag measure of optimizer_bench (see PointerDrag.cpp). Needs an X display
// and xdotool; bench/optimizer/drag.sh provides both.
#include <QString>

int PointerDrag(const QString& file, int drags);
