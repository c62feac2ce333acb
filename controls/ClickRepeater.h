#pragma once
// The auto-repeat count of a held image button: one tick per timer interval, a click
// after about 100 ms over the button and then about every 50 ms.
class ClickRepeater {
 public:
  explicit ClickRepeater(int intervalMs);

  void Reset() { counter_ = 0; }
  // One timer tick; true when a repeated click is due. Off the button the count restarts.
  bool Tick(bool overButton);
  long Counter() const { return counter_; }

 private:
  double threshold_;
  long step_;
  long counter_ = 0;
};
