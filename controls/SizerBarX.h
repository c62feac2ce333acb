#pragma once
// A vertical splitter bar, 10 pixels wide, that reports sideways drags.
#include "controls/SizerBarBase.h"

class SizerBarX : public SizerBarBase {
  Q_OBJECT
 public:
  explicit SizerBarX(QWidget* parent = nullptr);
};
