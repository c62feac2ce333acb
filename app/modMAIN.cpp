#include "app/modMAIN.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QWidget>
#include <algorithm>
#include <csignal>

#include "app/RunningProgram.h"
#include "app/Shell.h"
#include "app/StartupTargets.h"
#include "app/frmStartupWizard.h"
#include "controls/Dialogs.h"
#include "core/AppInfo.h"
#include "core/modString.h"
#include "settings/clsLanguage.h"

namespace modMAIN {
namespace {

constexpr const char* kStartMain = "Debug:StartMain";
constexpr const char* kOptimize = "OptimizeImage";
constexpr const char* kBatch = "BatchProcess";
// The path follows the keyword and one blank: from the 15th (14th) character on.
constexpr int kOptimizePathStart = 14;
constexpr int kBatchListStart = 13;
// A folder may follow "Debug:StartMain" and one blank; the main window opens on it.
constexpr int kStartFolderStart = 16;

// The folder-tree control needs no registration on this platform.
void RegisterOcx(const QString& /*controlFile*/) {}

void RunBatch(const QString& args, StartupTargets& targets) {
  QStringList paths;
  QString list = args.mid(kBatchListStart);
  for (QString path = modString::NextPathFromList(list, '?'); !path.isEmpty();
       path = modString::NextPathFromList(list, '?')) {
    const QFileInfo info(path);
    if (info.isFile() || info.isDir()) paths << path;
  }
  targets.SetWaitCursor(true);
  const bool shown =
      !paths.isEmpty() && targets.OpenBatch(paths, StartupTargets::BatchPage::kOptions);
  targets.SetWaitCursor(false);
  if (!shown)
    targets.Message(Language().GetString("NoSupFilesInFolder"),
                    Dialogs::OkOnly | Dialogs::Exclamation);
}

}  // namespace

QString ArgsFromCommandLine(const QStringList& arguments) { return arguments.mid(1).join(' '); }

void Prepare() {
  AppInfo::SetHelpFile(AppInfo::ProgramFolder() + "/" + AppInfo::kHelpFileName);
  RegisterOcx("vbExplorer.ocx");
  Language().AddDefaultStrings();
}

void Main(const QString& args, StartupTargets& targets) {
  // The keyword the line starts with decides: what follows it are paths, and a folder or
  // file named like a keyword must not take over. Only a line that starts with none of them
  // is searched for a keyword anywhere, in the fixed order.
  const char* const keywords[] = {kStartMain, kOptimize, kBatch};
  const char* chosen = nullptr;
  for (const char* k : keywords)
    if (!chosen && args.startsWith(k)) chosen = k;
  for (const char* k : keywords)
    if (!chosen && args.contains(k)) chosen = k;

  if (chosen == kStartMain) {
    const QString folder =
        args.startsWith(QLatin1String(kStartMain) + ' ') ? args.mid(kStartFolderStart) : QString();
    targets.ShowMainWindow(folder);
    // The launcher starts the program with the bare keyword; a named folder means a script.
    if (args == QLatin1String(kStartMain) && frmStartupWizard::WantedOnStart())
      targets.OfferStartupWizard();
  } else if (chosen == kOptimize)
    targets.ShowOptimizer(args.mid(kOptimizePathStart));
  else if (chosen == kBatch)
    RunBatch(args, targets);
  else
    targets.ShowAbout();
}

void NameWindows() {
  // The hand-off starts "Trimjet.dat": without this the windows' class would be that file
  // name, and docks could not match them to the desktop entry (StartupWMClass=Trimjet).
  QGuiApplication::setApplicationName(QString::fromLatin1(AppInfo::kProductName));
  QGuiApplication::setDesktopFileName(QStringLiteral("trimjet"));
  // X11's instance name comes from argv[0] unless this is set; read at the first window.
  if (!qEnvironmentVariableIsSet("RESOURCE_NAME")) qputenv("RESOURCE_NAME", AppInfo::kProductName);
}

void TakeOver(const QString& folder, const QString& args, StartupTargets& targets) {
  // Relative paths are the second start's: read them from its folder.
  const QString own = QDir::currentPath();
  QDir::setCurrent(folder);
  Main(args, targets);
  QDir::setCurrent(own);
}

void IgnoreBrokenPipes() {
  // A launcher that has gone leaves standard error a broken pipe (Qt writes its first warnings
  // while the application is made), and a second start may close its socket early: a write
  // there fails, it must not end the program with its pictures.
  std::signal(SIGPIPE, SIG_IGN);
}

int Run(QApplication& app) {
  NameWindows();
  const QString args = ArgsFromCommandLine(QApplication::arguments());
  RunningProgram running;
  if (running.HandOver(QDir::currentPath(), args)) return 0;
  Prepare();
  Shell windows;
  running.Listen();
  QObject::connect(&running, &RunningProgram::Received, &windows,
                   [&windows](const QString& folder, const QString& rest) {
                     TakeOver(folder, rest, windows);
                   });
  // The shell ends the program with its last window, owned ones included.
  app.setQuitOnLastWindowClosed(false);
  Main(args, windows);
  // With no window left (a batch hand-off with nothing usable) there is nothing to wait for.
  if (!windows.AnyWindowShown()) return 0;
  windows.SetQuitWithLastWindow(true);
  return app.exec();
}

}  // namespace modMAIN
