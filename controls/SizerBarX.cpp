#include "controls/SizerBarX.h"

SizerBarX::SizerBarX(QWidget* parent) : SizerBarBase(Qt::Vertical, parent) {}
