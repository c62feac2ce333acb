#pragma once
// Pictures, a recording dialog seam and a wizard for the batch wizard tests.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <ostream>

#include "RecordingDialogs.h"
#include "TestEnv.h"
#include "batch/frmAddDir.h"
#include "batch/frmBatch.h"
#include "controls/TreeControl.h"
#include "controls/UserProgress.h"
#include "core/modPublic.h"
#include "engine/clsImage.h"
#include "settings/clsLanguage.h"
#include "settings/clsReg.h"

inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

namespace WizardFixtures {

inline QImage Gradient(int w, int h) {
  QImage image(w, h, QImage::Format_RGB888);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      image.setPixelColor(x, y, QColor(x * 255 / w, y * 255 / h, (x * y) % 256));
  return image;
}

// A picture file; JPEG through the engine, other formats through Qt, ".gif" from the fixtures.
inline QString Picture(const QString& path, int w = 64, int h = 48, int jpegQuality = 95) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  if (path.endsWith(".gif")) {
    QFile::copy(TestEnv::SourceDir() + "/tests/engine/fixtures/photo.gif", path);
  } else if (path.endsWith(".jpg") || path.endsWith(".jpeg")) {
    clsImage picture;
    picture.Create(w, h, 24);
    QImage surface = picture.Surface();
    const QImage g = Gradient(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) surface.setPixelColor(x, y, g.pixelColor(x, y));
    picture.SaveIJLjpg(path, jpegQuality);
  } else {
    Gradient(w, h).save(path, path.endsWith(".bmp") ? "BMP" : "PNG");
  }
  return path;
}

inline void Text(const QString& path, const QByteArray& bytes = "not a picture") {
  QFile f(path);
  if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

inline QByteArray Bytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

template <typename T>
T* Child(QWidget* w, const char* name) {
  return w->findChild<T*>(QString::fromLatin1(name));
}

inline QStringList Keys(frmBatch& batch) {
  QStringList keys;
  for (int i = 0; i < batch.FileList()->topLevelItemCount(); ++i)
    keys << batch.FileList()->topLevelItem(i)->data(0, Qt::UserRole).toString();
  return keys;
}

// Waits for cond while events run; false after the time limit.
inline bool WaitFor(const std::function<bool()>& cond, int ms = 60000) {
  return QTest::qWaitFor(cond, ms);
}

inline QString WorkerProgram() { return TestEnv::BinDir() + "/trimjet-batch-worker"; }

// Fills the wizard, chooses the output, answers Yes to the overwrite warning and runs on
// worker processes (0: in-process); false when the run did not end.
inline bool RunToEnd(frmBatch& batch, const QStringList& files, bool overwrite,
                     const QString& outputDir, RecordingDialogs& dialogs, int workers = 2) {
  batch.SetWorkerProgram(WorkerProgram());
  batch.SetWorkers(workers);
  for (const QString& f : files) batch.AddFile(f);
  batch.StartOnOptionsPage();
  batch.FillCombo();
  batch.cmdNext_Click();
  batch.ChooseOutput(overwrite, outputDir);
  dialogs.answers << Dialogs::Yes;
  QSignalSpy finished(&batch, &frmBatch::RunFinished);
  Child<QPushButton>(&batch, "cmdFinish")->click();
  return finished.count() > 0 || finished.wait(60000);
}

// A scratch folder with an output folder under it, the recording seam, and no output choice
// left over from an earlier wizard.
class RunFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Language().AddDefaultStrings();
    root = dir.path();
    out = root + "/out";
    Registry().OpenReg(frmBatch::kOptionsKey);
    Registry().SetValue("Quality", "");
    Registry().SetValue("Scale", "");
    // Left open: tests set more of the output choices.
    Registry().OpenReg("Batch");
    Registry().SetValue("OutputDir", "");
    Registry().SetValue("OutputMode", "");
    Registry().SetValue("IfExists", "");
  }
  static QString Ratio(frmBatch& batch) { return Child<QLabel>(&batch, "lblCompression")->text(); }

  QTemporaryDir dir;
  QString root, out;
  RecordingDialogs dialogs;
};

}  // namespace WizardFixtures
