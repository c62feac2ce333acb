#pragma once
// A test fixture holding one optimiser window on a picture file of its temporary folder, with
// the dialog seam recorded, and short ways to reach the window's controls.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QSlider>
#include <QTemporaryDir>

#include "OptimizerFixtures.h"
#include "RecordingDialogs.h"
#include "optimizer/frmImgOpt.h"
#include "settings/clsReg.h"

class OptimizerWindowTest : public ::testing::Test {
 protected:
  OptimizerWindowTest() {
    OptimizerFixtures::UseDefaultTexts();
    // Each test starts from the default quality and size, whatever an earlier one closed with.
    Registry().OpenReg(frmImgOpt::kOptionsKey);
    Registry().SetValue("Quality", "");
    Registry().SetValue("Scale", "");
  }
  void TearDown() override {
    delete window_.data();
    QApplication::processEvents();  // previews closed by the window go now
  }

  frmImgOpt* Open(const QString& path) {
    window_ = new frmImgOpt;
    window_->show();
    window_->LoadPicture(path, true);
    return window_;
  }
  frmImgOpt* OpenPicture(int width, int height, const QString& name = "picture.png") {
    return Open(OptimizerFixtures::Write(dir_, name, OptimizerFixtures::Gradient(width, height)));
  }

  template <typename T>
  T* Child(const char* name) const {
    T* child = window_->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
  }
  QString Text(const char* label) const { return Child<QLabel>(label)->text(); }
  QSlider* Quality() const { return Child<QSlider>("sldQuality"); }
  QSlider* Scale() const { return Child<QSlider>("sldSize"); }
  QLineEdit* Box(const char* name) const { return Child<QLineEdit>(name); }
  void TickManual() const { Child<QCheckBox>("chkManualSize")->click(); }

  RecordingDialogs dialogs_;
  QTemporaryDir dir_;
  QPointer<frmImgOpt> window_;
};
