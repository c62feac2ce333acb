// frmMainForm: the window side of a folder scan. While it runs only Cancel takes input,
// and any key or mouse press (Cancel has both) or the loss of Cancel's focus stops it.
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

#include "app/frmMainForm.h"
#include "controls/UserProgress.h"

void frmMainForm::BeginScan() {
  scanning_ = true;
  scanDisabled_.clear();
  cmdCancel_->show();
  cmdCancel_->raise();
  // Disabling the window itself would take Cancel with it, so its other parts go instead.
  QList<QWidget*> parts = centralWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  parts += BottomBar_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  parts.append(menuBar());
  for (QWidget* w : parts) {
    if (w == BottomBar_ || w == cmdCancel_ || !w->isEnabled()) continue;
    w->setEnabled(false);
    scanDisabled_.append(w);
  }
  cmdCancel_->setFocus(Qt::OtherFocusReason);
  cmdCancel_->grabMouse();
  cancel_ = false;
}

void frmMainForm::SetScanRange(int count) {
  Progress_->SetMin(0);
  Progress_->SetMax(count);
  Progress_->SetValue(0);
}

void frmMainForm::SetScanValue(int value) { Progress_->SetValue(value); }

void frmMainForm::EndScan() {
  cmdCancel_->releaseMouse();
  for (QWidget* w : scanDisabled_) w->setEnabled(true);
  scanDisabled_.clear();
  cmdCancel_->hide();
  Progress_->SetValue(0);
  scanning_ = false;
  if (closePending_) QTimer::singleShot(0, this, &frmMainForm::close);
}

void frmMainForm::ShowPictureCount(int count) { txtPics_->setText(QString::number(count)); }
