// Shows every custom control in its typical states: buttons raised, held, toggled on,
// disabled, hot-track and framed; progress at 0, 3 of 8 and full; both splitter bars.
#include <QApplication>
#include <QCursor>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <QVBoxLayout>

#include "controls/CommandButton.h"
#include "controls/SizerBarX.h"
#include "controls/SizerBarY.h"
#include "controls/UserProgress.h"

namespace {

QPixmap Icon() {
  QPixmap pm(24, 24);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(20, 60, 140), 1.5));
  p.setBrush(QColor(70, 130, 220));
  p.drawEllipse(QRectF(2.5, 2.5, 19, 19));
  QPainterPath arrow;
  arrow.moveTo(9, 7);
  arrow.lineTo(17, 12);
  arrow.lineTo(9, 17);
  arrow.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawPath(arrow);
  return pm;
}

CommandButton* AddButton(QGridLayout* grid, int column, const QString& caption) {
  auto* button = new CommandButton;
  button->SetPicture(Icon());
  button->setFixedSize(44, 36);
  grid->addWidget(button, 0, column, Qt::AlignCenter);
  grid->addWidget(new QLabel(caption), 1, column, Qt::AlignCenter);
  return button;
}

UserProgress* AddProgress(QVBoxLayout* box, const QString& caption, int max, int value) {
  auto* row = new QHBoxLayout;
  auto* label = new QLabel(caption);
  label->setFixedWidth(110);
  auto* bar = new UserProgress;
  bar->setFixedHeight(22);
  bar->SetMax(max);
  bar->SetValue(value);
  row->addWidget(label);
  row->addWidget(bar, 1);
  box->addLayout(row);
  return bar;
}

QWidget* Pane(const QString& text) {
  auto* pane = new QLabel(text);
  pane->setAlignment(Qt::AlignCenter);
  pane->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  pane->setMinimumSize(120, 50);
  return pane;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle("Trimjet controls");
  auto* outer = new QVBoxLayout(&window);

  auto* buttons = new QGroupBox("CommandButton");
  auto* grid = new QGridLayout(buttons);
  AddButton(grid, 0, "Raised");
  CommandButton* held = AddButton(grid, 1, "Pressed (held)");
  CommandButton* toggled = AddButton(grid, 2, "Toggled on");
  toggled->SetToggleMode(true);
  toggled->SetValue(true);
  AddButton(grid, 3, "Disabled")->SetEnabled(false);
  AddButton(grid, 4, "Hot-track")->SetHideBorder(true);
  AddButton(grid, 5, "Picture frame")->SetPictureBorder(true);
  outer->addWidget(buttons);

  auto* progress = new QGroupBox("UserProgress");
  auto* bars = new QVBoxLayout(progress);
  AddProgress(bars, "0 of 100", 100, 0);
  AddProgress(bars, "3 of 8", 8, 3);
  AddProgress(bars, "Full", 100, 100);
  AddProgress(bars, "Text, 5 of 10", 10, 5)->SetText("Reading files...");
  outer->addWidget(progress);

  auto* sizers = new QGroupBox("SizerBarX and SizerBarY");
  auto* split = new QHBoxLayout(sizers);
  auto* left = new QVBoxLayout;
  left->addWidget(Pane("Tree"));
  left->addWidget(new SizerBarY);
  left->addWidget(Pane("Preview"));
  split->addLayout(left);
  split->addWidget(new SizerBarX);
  split->addWidget(Pane("Browser"), 1);
  outer->addWidget(sizers);

  window.resize(520, 420);
  window.move(40, 40);
  window.show();

  // Hold the second button down with the pointer over it, as a user would.
  QTimer::singleShot(600, held, [held] {
    const QPointF centre(held->width() / 2.0, held->height() / 2.0);
    QCursor::setPos(held->mapToGlobal(centre.toPoint()));
    QMouseEvent press(QEvent::MouseButtonPress, centre, held->mapToGlobal(centre), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(held, &press);
  });
  return app.exec();
}
