#pragma once
// AutoQualityButton: "Auto" beside a quality slider. A click finds the lowest quality at which
// the picture still looks the same at the chosen level (its menu; "High" at first) and moves
// the slider there, so the window computes and shows that result as for any quality. Made
// checkable, it stands for "auto quality for every picture" in the batch options.
#include <QToolButton>
#include <functional>
#include <memory>

#include "core/AutoQuality.h"

class QSlider;
class clsImage;

class AutoQualityButton : public QToolButton {
  Q_OBJECT
 public:
  // picture: the picture as it would be saved (sized, effects applied); null while there is none.
  using Picture = std::function<std::shared_ptr<clsImage>()>;
  AutoQualityButton(QSlider* slider, Picture picture, QWidget* parent = nullptr);

  AutoQuality::Level Level() const { return level_; }
  void SetLevel(AutoQuality::Level level);
  // Searches now and moves the slider; false when there is no picture or it cannot be encoded.
  bool Apply();

 protected:
  // Down, Alt+Down or F4 open the level menu.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QSlider* slider_;
  Picture picture_;
  AutoQuality::Level level_ = AutoQuality::kDefaultLevel;
};
