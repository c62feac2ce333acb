#include "WorkWindows.h"

#include <QVariant>
#include <QWidget>

#include "modModal.h"

namespace WorkWindows {

QWidget* FindOpenForm(const QString& name) {
  for (QWidget* w : modModal::OpenForms())
    if (w->objectName() == name && w->isVisible()) return w;
  return nullptr;
}

void BringToFront(QWidget* keepOnTop) {
  bool raised = false;
  for (const char* name : {kOptimizerName, kBatchName}) {
    if (QWidget* w = FindOpenForm(QString::fromLatin1(name))) {
      w->raise();
      raised = true;
    }
  }
  if (raised && keepOnTop) keepOnTop->window()->raise();
}

QWidget* OptimizerToAsk() {
  QWidget* optimizer = FindOpenForm(QString::fromLatin1(kOptimizerName));
  if (!optimizer || optimizer->property(kUnloadingProperty).toBool()) return nullptr;
  return optimizer;
}

}  // namespace WorkWindows
