#include "controls/OpenWindows.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <algorithm>

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

// Watches every widget of the application from start-up: a window is recorded when it is
// made (QEvent::Create, sent from QWidget's constructor) and again at its first polish, which
// gives the opening order.
class OpeningOrder : public QObject {
 public:
  QList<QPointer<QWidget>> made;
  QList<QPointer<QWidget>> seen;

  bool eventFilter(QObject* obj, QEvent* ev) override {
    const QEvent::Type type = ev->type();
    if (type == QEvent::Create || type == QEvent::Polish || type == QEvent::Show) {
      auto* w = qobject_cast<QWidget*>(obj);
      if (IsProgramWindow(w)) {
        QList<QPointer<QWidget>>& list = type == QEvent::Create ? made : seen;
        if (!Contains(list, w)) list.append(w);
      }
    }
    return false;
  }
  static bool Contains(const QList<QPointer<QWidget>>& list, const QWidget* w) {
    return std::any_of(list.begin(), list.end(),
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

}  // namespace

QList<QWidget*> OpenWindows::List() {
  QList<QWidget*> windows;
  OpeningOrder* order = Order();
  if (!order) return windows;
  order->seen.removeAll(nullptr);
  order->made.removeAll(nullptr);
  for (const QPointer<QWidget>& w : order->seen) windows.append(w);
  for (const QPointer<QWidget>& w : order->made)
    if (!windows.contains(w.data()) && IsProgramWindow(w)) windows.append(w);
  return windows;
}
