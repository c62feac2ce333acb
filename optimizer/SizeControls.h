#pragma once
// The size controls of OptionControls as the optimiser window and the batch options panel both
// drive them: the scale label and the size boxes follow the scale slider, typed sizes are held
// to the limit, and the boxes are filled without their own edit handlers running.
#include <QSize>
#include <QString>

#include "optimizer/OptionControls.h"

class QLineEdit;
class clsImage;

class SizeControls {
 public:
  // controls may still be empty; it is read on each call.
  explicit SizeControls(const OptionControls& controls) : c_(controls) {}

  // The scale label from the slider's position and, with a picture, the boxes at that scale.
  void ShowScale(const clsImage* picture);
  // The boxes with their captions, "Keep ratio" and Apply when sizing by hand, the slider and
  // its label otherwise; with sizing off, none of them.
  void Enable(bool sizing);
  // Whether an edit of box is the user's typing in manual mode, to be acted on. A number above
  // the limit is replaced first (which edits the box again) and so is not.
  bool TakeTypedSize(QLineEdit* box);
  // Sets a box's text without its edit being taken for the user's.
  void SetQuietly(QLineEdit* box, const QString& text);
  // The two boxes' values, 0 for a box that does not convert.
  QSize BoxSize() const;
  // What is wrong with the typed size, for the user before Apply; empty when both boxes hold
  // a whole number from 1 to the limit.
  QString BoxProblem() const;

 private:
  const OptionControls& c_;
  bool quiet_ = false;
};
