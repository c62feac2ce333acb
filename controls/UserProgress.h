#pragma once
// The program's own progress bar: a bar from the left edge whose width follows Value
// between Min and Max, under a centred label showing the percentage or a fixed text.
#include <QColor>
#include <QFrame>
#include <QRect>
#include <QString>
#include <optional>

class QLabel;

class UserProgress : public QFrame {
  Q_OBJECT
 public:
  explicit UserProgress(QWidget* parent = nullptr);

  // Setting runs the update; reading gives the value as clamped by the last update.
  int Value() const { return value_; }
  void SetValue(int value);
  // Plain fields: they take effect at the next update.
  int Min() const { return min_; }
  void SetMin(int min) { min_ = min; }
  int Max() const { return max_; }
  void SetMax(int max) { max_ = max; }
  QColor BarColor() const { return barColor_; }
  void SetBarColor(const QColor& c) { barColor_ = c; }
  QColor TextColor() const { return textColor_; }
  void SetTextColor(const QColor& c) { textColor_ = c; }
  QColor BkColor() const { return bkColor_; }
  void SetBkColor(const QColor& c) { bkColor_ = c; }
  // The desktop's palette for bar, text and background instead of the fixed navy, red and
  // grey: readable in a light and a dark palette alike.
  void UseDesktopColours();
  // "%" shows the percentage, other texts show as they are, "" shows nothing.
  QString BarText() const { return barText_; }
  void SetBarText(const QString& text) { barText_ = text; }
  // The surface colour, applied at once.
  QColor BackColor() const;
  void SetBackColor(const QColor& colour);

  // Shows text at once and keeps it as BarText.
  void SetText(const QString& text);
  // Hides the label and sets the value to Min without an update; the bar stays.
  void Clear();

  // What is drawn, in pixels of the widget; an empty rectangle when the bar is hidden.
  QRect BarRect() const;
  const QLabel* Label() const { return label_; }

 signals:
  // Button 1 left, 2 right, 4 middle; Shift 1 shift, 2 ctrl, 4 alt; X, Y in pixels.
  void Click();
  void MouseDown(int button, int shift, float x, float y);
  void MouseUp(int button, int shift, float x, float y);
  void MouseMove(int button, int shift, float x, float y);
  void DblClick();
  void ValueChange(int value);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void Redraw();
  void UpdateText();
  void LayOut();
  void ApplyColours();

  QLabel* label_;
  int min_ = 0;
  int max_ = 100;
  int value_ = 0;
  QColor barColor_{0, 0, 128};
  QColor textColor_{255, 0, 0};
  QColor bkColor_{192, 192, 192};
  QString barText_ = "%";
  bool barVisible_ = true;
  int barWidth_ = 0;
  std::optional<int> lastDrawn_;  // empty until the first update
  bool pressedInside_ = false;
};
