#pragma once
// A main window on a folder of test pictures, with the dialog seam recording, and the
// helpers the window tests share: pictures, selection, and finding the windows it opened.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPointer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "RecordingDialogs.h"
#include "TestEnv.h"
#include "app/Shell.h"
#include "app/frmMainForm.h"
#include "browse/PictureBrowser.h"
#include "browse/clsBrowsePic.h"
#include "browse/clsDirPics.h"
#include "controls/TreeControl.h"
#include "settings/clsLanguage.h"
#include "settings/clsReg.h"

// The open window of that object name, or null.
inline QWidget* Form(const char* name) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == QLatin1String(name)) return w;
  return nullptr;
}

class MainWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { Language().AddDefaultStrings(); }

  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    // Every test starts with the designed window, whatever an earlier one was left like.
    Registry().OpenReg("Windows");
    for (const char* value : {"Main", "LeftBarWidth", "PreviewHeight"}) Registry().SetValue(value, "");
  }

  void TearDown() override {
    // Every window a test opened goes, so the next test starts with none.
    QList<QPointer<QWidget>> open;
    for (QWidget* w : QApplication::topLevelWidgets()) open.append(w);
    for (const QPointer<QWidget>& w : open)
      if (w) w->close();
    for (const QPointer<QWidget>& w : open)
      if (w) delete w.data();
  }

  QString Path(const QString& name) const { return dir.path() + "/" + name; }

  // A real picture the engine loads.
  QString Picture(const QString& name, int w = 64, int h = 48) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    EXPECT_TRUE(image.save(Path(name), "PNG"));
    return Path(name);
  }
  // A file of exactly that many bytes, listed for its extension.
  QString FileOfSize(const QString& name, int bytes) {
    QFile file(Path(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(bytes, 'x'));
    return Path(name);
  }

  // Opens the window on folder (the test folder by default) through the shell, which opens
  // what the window asks for, and waits for the browser.
  frmMainForm* Open(const QString& folder = QString()) {
    const QString shown = folder.isEmpty() ? dir.path() : folder;
    shell.ShowMainWindow(shown);
    window = shell.MainWindow();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Shown() == shown + "/"; }));
    return window;
  }
  QString Shown() const { return window->Browser()->Current()->GetDirectory(); }

  // Selects the named pictures the way a click would report it.
  void Select(const QStringList& names) {
    clsDirPics* model = window->Browser()->Current();
    for (int i = 1; i <= model->GetImagesCount(); ++i)
      model->Item(i)->SetSelected(names.contains(model->Item(i)->GetDiskName()));
    Q_EMIT window->Browser()->SelectionChanged();
  }

  template <typename T>
  T* Child(const char* name) const {
    return window->findChild<T*>(QString::fromLatin1(name));
  }

  QTemporaryDir dir;
  RecordingDialogs dialogs;
  Shell shell;
  QPointer<frmMainForm> window;
};
