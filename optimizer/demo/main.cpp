// trimjet-optimizer-demo FILE [quality Q] [effect NAME LEVEL | dialog NAME LEVEL]
// Opens the optimiser on a picture as start-up does, then sets the quality, applies a level
// effect through the effect dialog, or leaves that dialog open on its preview: a window to
// look at (run it under the screenshot tool).
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTimer>

#include "optimizer/frmEffect.h"
#include "optimizer/frmImgOpt.h"
#include "settings/clsLanguage.h"

namespace {
void DriveDialog(int level, bool confirm) {
  QTimer::singleShot(200, [level, confirm] {
    // The effect dialog runs modal.
    auto* dialog = qobject_cast<frmEffect*>(QApplication::activeModalWidget());
    if (!dialog) return;
    dialog->SetLevel(level);
    if (confirm) dialog->cmdOK_Click();
  });
}
}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  Language().AddDefaultStrings();
  const QStringList args = app.arguments().mid(1);
  if (args.isEmpty()) return 2;
  auto* window = new frmImgOpt;
  window->show();
  window->LoadPicture(args[0], true);
  for (int i = 1; i + 1 < args.size(); ++i) {
    if (args[i] == QLatin1String("quality")) {
      window->SetQuality(args[i + 1].toInt());
    } else if ((args[i] == QLatin1String("effect") || args[i] == QLatin1String("dialog")) &&
               i + 2 < args.size()) {
      const QString name = args[i + 1];
      const int level = args[i + 2].toInt();
      const bool confirm = args[i] == QLatin1String("effect");
      QTimer::singleShot(300, window, [window, name, level, confirm] {
        DriveDialog(level, confirm);
        for (QAction* entry : window->EffectsMenu()->actions())
          if (entry->text() == name) entry->trigger();
      });
    }
  }
  return app.exec();
}
