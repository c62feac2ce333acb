#include "app/uikit/modModal.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <algorithm>

namespace modModal {
namespace {

bool IsProgramWindow(const QWidget* w) {
  if (!w || !w->isWindow()) return false;
  switch (w->windowType()) {
    case Qt::Popup:
    case Qt::ToolTip:
    case Qt::SplashScreen:
    case Qt::Desktop:
      return false;
    default:
      return true;
  }
}

// Qt keeps top-level widgets in no particular order, so the opening order is recorded
// from the first polish of each window, for the whole life of the application.
class OpeningOrder : public QObject {
 public:
  QList<QPointer<QWidget>> seen;

  bool eventFilter(QObject* obj, QEvent* ev) override {
    if (ev->type() == QEvent::Polish || ev->type() == QEvent::Show) {
      auto* w = qobject_cast<QWidget*>(obj);
      if (IsProgramWindow(w) && !Contains(w)) seen.append(w);
    }
    return false;
  }
  bool Contains(const QWidget* w) const {
    return std::any_of(seen.begin(), seen.end(),
                       [w](const QPointer<QWidget>& p) { return p == w; });
  }
};

OpeningOrder* Order() {
  static QPointer<OpeningOrder> order;
  if (!order && QCoreApplication::instance()) {
    order = new OpeningOrder;
    order->setParent(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(order);
  }
  return order;
}

void InstallAtStart() { Order(); }
Q_COREAPP_STARTUP_FUNCTION(InstallAtStart)

struct Record {
  QPointer<QWidget> window;
  QList<QPointer<QWidget>> disabled;
};
QList<Record>& Records() {
  static QList<Record> records;
  return records;
}

}  // namespace

QList<QWidget*> OpenForms() {
  QList<QWidget*> forms;
  if (OpeningOrder* order = Order()) {
    order->seen.removeAll(nullptr);
    for (const QPointer<QWidget>& w : order->seen) forms.append(w);
  }
  // Windows that were never polished (loaded but not yet shown) come last.
  for (QWidget* w : QApplication::topLevelWidgets())
    if (IsProgramWindow(w) && !forms.contains(w)) forms.append(w);
  return forms;
}

bool IsFormLoaded(const QString& name) {
  const QList<QWidget*> forms = OpenForms();
  return std::any_of(forms.begin(), forms.end(),
                     [&](const QWidget* w) { return w->objectName() == name; });
}

void BeginModal(QWidget* window) {
  if (!window || !IsFormLoaded(kMainWindowName)) return;
  Record record{window, {}};
  for (QWidget* v : OpenForms()) {
    if (v == window || v->objectName() == kMainWindowName || !v->isEnabled()) continue;
    record.disabled.append(v);
    v->setEnabled(false);
  }
  Records().append(record);
}

void EndModal(QWidget* window) {
  QList<Record>& records = Records();
  const auto first = std::find_if(records.begin(), records.end(),
                                  [window](const Record& r) { return r.window == window; });
  if (first == records.end()) return;
  for (auto r = first; r != records.end(); ++r)
    for (const QPointer<QWidget>& v : r->disabled)
      if (v) v->setEnabled(true);
  records.erase(first, records.end());
}

int RecordCount() { return static_cast<int>(Records().size()); }

}  // namespace modModal
