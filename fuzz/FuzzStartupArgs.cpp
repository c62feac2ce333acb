// Start-up's command-line handling on arbitrary text: NextPathFromList with both separators
// its callers use, then modMAIN::Main with recording window targets.
#include <QApplication>
#include <QFileInfo>
#include <QStringList>
#include <cstdlib>

#include "FuzzSupport.h"
#include "app/StartupTargets.h"
#include "app/modMAIN.h"
#include "core/modString.h"

namespace {
using FuzzSupport::Check;

// Every call returns a path without the separator and uses one separator up, so the list
// runs out after at most one call more than it has separators.
void CheckListSplitting(QString list, QChar separator) {
  const qsizetype calls = list.count(separator) + 1;
  for (qsizetype i = 0; i < calls && !list.isEmpty(); ++i) {
    const QString path = modString::NextPathFromList(list, separator);
    // Start-up stops at the first empty path, so one must mean the list is used up.
    Check(!path.isEmpty(), "an empty path before the end of the list");
    Check(!path.contains(separator), "a path still holds the separator");
  }
  Check(list.isEmpty(), "the list does not run out");
  Check(modString::NextPathFromList(list, separator).isEmpty(), "a used-up list gave a path");
}

class RecordingTargets : public StartupTargets {
 public:
  int windows = 0;  // windows shown, the batch wizard included
  int messages = 0;
  int mainWindows = 0;
  int wizardOffers = 0;  // the start-up wizard, offered over the main window
  bool batchLoaded = false;
  QString optimizerPath;
  QStringList added;

  void ShowMainWindow(const QString&) override {
    ++windows;
    ++mainWindows;
  }
  void ShowOptimizer(const QString& path) override {
    ++windows;
    optimizerPath = path;
  }
  void ShowAbout() override { ++windows; }
  void OfferStartupWizard() override { ++wizardOffers; }
  bool OpenBatch(const QStringList& paths, BatchPage) override {
    added << paths;
    batchLoaded = true;
    ++windows;
    return true;
  }
  void Message(const QString& text, int) override {
    ++messages;
    Check(!text.isEmpty(), "an empty message");
  }
  void SetWaitCursor(bool) override {}
};

void CheckMain(const QString& args) {
  RecordingTargets targets;
  modMAIN::Main(args, targets);
  // Exactly one window, or the batch's one message and no window.
  Check(targets.windows + targets.messages == 1, "not exactly one window or message");
  Check(targets.wizardOffers <= targets.mainWindows,
        "the start-up wizard offered without the main window");
  // The keyword the line starts with decides, whatever the paths after it contain.
  if (args.startsWith("OptimizeImage"))
    Check(targets.optimizerPath == args.mid(14) && targets.windows == 1,
          "the optimiser did not get the rest of the line");
  if (args.startsWith("BatchProcess"))
    Check(targets.optimizerPath.isNull() && (targets.messages == 1 || targets.batchLoaded),
          "a batch line opened another window");
  for (const QString& path : targets.added)
    Check(QFileInfo(path).exists(), "a path that names nothing reached the batch");
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Start-up's library code assumes the program's QApplication, as in the real program.
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char name[] = "trimjet-fuzz";
  static char* argv[] = {name, nullptr};
  static QApplication app(argc, argv);
  FuzzSupport::Initialize();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString text = QString::fromUtf8(FuzzSupport::Bytes(data, size));
  CheckListSplitting(text, QChar('?'));
  CheckListSplitting(text, QChar(0));
  // Only the keywords' own starts are tried: the rest of the text stays arbitrary.
  CheckMain(text);
  for (const char* keyword : {"BatchProcess ", "OptimizeImage "})
    CheckMain(QString::fromLatin1(keyword) + text);
  return 0;
}
