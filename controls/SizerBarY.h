#pragma once
// A horizontal splitter bar, 10 pixels high, that reports drags up and down.
#include "controls/SizerBarBase.h"

class SizerBarY : public SizerBarBase {
  Q_OBJECT
 public:
  explicit SizerBarY(QWidget* parent = nullptr);
};
