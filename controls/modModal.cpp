#include "controls/modModal.h"

#include <QPointer>
#include <QWidget>
#include <algorithm>

#include "controls/OpenWindows.h"

namespace modModal {
namespace {

struct Record {
  QPointer<QWidget> window;
  QList<QPointer<QWidget>> disabled;
};
QList<Record>& Records() {
  static QList<Record> records;
  return records;
}

}  // namespace

QList<QWidget*> OpenForms() { return OpenWindows::List(); }

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
