// wizard_bench: times the batch wizard's run (Finish to the end of the run) on the given
// pictures at quality 70 and 50 % scale into OUTPUT_DIR, with the wizard's own worker count.
// Usage: wizard_bench OUTPUT_DIR FILE...   Prints the seconds.
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <cstdio>

#include "batch/frmBatch.h"
#include "controls/Dialogs.h"
#include "settings/clsLanguage.h"

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  Language().AddDefaultStrings();
  const QStringList args = app.arguments().mid(1);
  if (args.size() < 2) return 2;
  frmBatch batch;
  for (const QString& file : args.mid(1)) batch.AddFile(file);
  batch.StartOnOptionsPage();
  batch.FillCombo();
  batch.findChild<QCheckBox*>("chkSize")->click();
  batch.findChild<QSlider*>("sldSize")->setValue(50);
  batch.findChild<QSlider*>("sldQuality")->setValue(70);
  batch.findChild<QPushButton*>("cmdNext")->click();
  batch.findChild<QRadioButton*>("optOtherDir")->setChecked(true);
  batch.findChild<QLineEdit*>("txtOutputDir")->setText(args[0]);
  QElapsedTimer clock;
  QObject::connect(&batch, &frmBatch::RunFinished, &app, [&] {
    std::printf("%.3f\n", clock.elapsed() / 1000.0);
    app.quit();
  });
  clock.start();
  batch.findChild<QPushButton*>("cmdFinish")->click();
  return app.exec();
}
