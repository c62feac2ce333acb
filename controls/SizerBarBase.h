#pragma once
// What the two splitter bars share: a fixed 10-pixel thickness, a raised line along the
// middle, and Dragged(delta) on every pointer move while a button is held.
#include <QWidget>

class SizerBarBase : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kThickness = 10;
  static constexpr int kKeyStep = 10;

  Qt::Orientation Orientation() const { return orientation_; }

 signals:
  // Pixels the pointer has moved along the drag axis since the press, in the bar's own
  // coordinates: once the holder moves the bar along, each delta is the step since the last.
  void Dragged(int delta);

 protected:
  // Qt::Vertical: a vertical bar dragged sideways; Qt::Horizontal: dragged up and down.
  SizerBarBase(Qt::Orientation orientation, QWidget* parent);

  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  // The arrow keys along the drag axis move the bar a step, as a short drag would.
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  int AlongAxis(const QMouseEvent* event) const;

  Qt::Orientation orientation_;
  bool dragging_ = false;
  int pressPosition_ = 0;
};
