#pragma once
// The program's image command button showing a caption: the caption is drawn into the
// button's picture, and as a "text" property the language table can replace it.
#include <QString>

#include "controls/CommandButton.h"

class TextButton : public CommandButton {
  Q_OBJECT
  Q_PROPERTY(QString text READ text WRITE setText)
 public:
  explicit TextButton(const QString& text = QString(), QWidget* parent = nullptr);

  QString text() const { return text_; }
  void setText(const QString& text);

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void Render();

  QString text_;
};
