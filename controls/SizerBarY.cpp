#include "controls/SizerBarY.h"

SizerBarY::SizerBarY(QWidget* parent) : SizerBarBase(Qt::Horizontal, parent) {}
