// batch_demo: opens the batch wizard on one page for a look at it (screenshots).
// Usage: batch_demo PAGE[:TAB] OUTPUT_DIR FILE...   PAGE 0, 1, 2 or 100 (runs into OUTPUT_DIR)
#include <QApplication>
#include <QTreeWidget>

#include "batch/SlideShow.h"
#include "batch/frmBatch.h"
#include "controls/Dialogs.h"
#include "optimizer/ImageOptimize.h"
#include "settings/clsLanguage.h"

namespace {
// Answers Yes to the overwrite warning so that the run page can be shown unattended.
class YesDialogs : public Dialogs {
 public:
  Answer Message(QWidget*, const QString&, int, const QString&) override { return Yes; }
  QString OpenFile(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
  QStringList OpenFiles(QWidget*, const QString&, const QString&, const QString&) override {
    return {};
  }
  QString SaveFile(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
  QString Folder(QWidget*, const QString&, const QString&) override { return {}; }
  void OpenUrl(const QString&) override {}
};
}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  Language().AddDefaultStrings();
  const QStringList args = app.arguments().mid(1);
  if (args.size() < 3) return 2;
  YesDialogs dialogs;
  Dialogs::Install(&dialogs);
  const QStringList page = args[0].split(':');
  auto* batch = new frmBatch;
  for (const QString& file : args.mid(2)) batch->AddFile(file);
  batch->StartOnOptionsPage();
  batch->FillCombo();
  batch->show();
  const int wanted = page[0].toInt();
  if (wanted == 0) {
    batch->SetPage(0);
    batch->SetVisible();
    batch->FileList()->topLevelItem(0)->setSelected(true);
    batch->Preview()->EntryClicked(1);
  }
  if (page.size() > 1) batch->Options()->ShowTab(page[1].toInt());
  if (wanted >= 2) batch->cmdNext_Click();
  batch->ChooseOutput(false, args[1]);
  if (wanted == 100) batch->cmdFinish_Click();
  return app.exec();
}
