#pragma once
// The program's own push button: a picture centred on a flat face inside a drawn 3D border,
// with toggle mode, auto-repeat while held, and hot-track mode (border only under the mouse).
#include <QColor>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include "controls/ClickRepeater.h"

class ButtonPicture;

class CommandButton : public QWidget {
  Q_OBJECT
 public:
  explicit CommandButton(QWidget* parent = nullptr);

  // The face colour; the palette's button colour until one is set.
  QColor BackColor() const;
  void SetBackColor(const QColor& colour);
  bool PictureBorder() const;
  void SetPictureBorder(bool framed);
  // The toggled state; always false outside toggle mode.
  bool Value() const { return toggleMode_ && pressed_; }
  void SetValue(bool value);
  bool ToggleMode() const { return toggleMode_; }
  void SetToggleMode(bool on);
  bool HideBorder() const { return hideBorder_; }
  void SetHideBorder(bool on);
  QPixmap Picture() const;
  void SetPicture(const QPixmap& picture);
  bool Enabled() const { return isEnabled(); }
  void SetEnabled(bool on);
  bool GenerateClicks() const { return generateClicks_; }
  void SetGenerateClicks(bool on);

  // What is drawn: sunken or raised, border lines shown or hidden.
  bool Pressed() const { return pressed_; }
  bool BorderShown() const { return borderShown_; }

  QSize sizeHint() const override;
  // What a click does, for the keyboard (Space, Enter) and assistive tools.
  void Activate();

 signals:
  void Click();
  // Button 1 left, 2 right, 4 middle; Shift 1 shift, 2 ctrl, 4 alt; X, Y in pixels.
  void MouseDown(int button, int shift, float x, float y);
  void MouseMove(int button, int shift, float x, float y);
  void MouseUp(int button, int shift, float x, float y);
  void MouseEnter();
  void MouseExit();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void SetPressed(bool pressed);
  void PlacePicture();
  void ApplyBorderVisibility();
  void ShowBorder(bool shown);
  bool Contains(QPointF local) const;
  bool HitTest() const;  // is the screen cursor over the button?
  void FollowPointer(bool over);
  void OnButtonTimer();
  void OnVisibleTimer();

  ButtonPicture* picture_;
  QTimer buttonTimer_;
  QTimer visibleTimer_;
  ClickRepeater repeater_;
  QColor backColor_;
  bool pressed_ = false;
  bool toggleMode_ = false;
  bool generateClicks_ = false;
  bool hideBorder_ = false;
  bool borderShown_ = true;
  bool leftDown_ = false;
  bool lastOver_ = false;
};
