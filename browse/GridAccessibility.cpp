#include "browse/GridAccessibility.h"

#include <QAccessibleWidget>
#include <QScrollBar>
#include <map>

#include "browse/BrowseGeometry.h"
#include "browse/PictureBrowser.h"
#include "browse/clsBrowsePic.h"
#include "browse/clsDirPics.h"

namespace {

constexpr const char* kSurfaceName = "Pictures";

const PictureBrowser* BrowserOf(const QWidget* surface) {
  return qobject_cast<const PictureBrowser*>(surface->parentWidget());
}

// One picture of the grid, by its place in the list: it reads the list as it is now, so a
// new folder needs no new interfaces.
class PictureItem : public QAccessibleInterface {
 public:
  PictureItem(QAccessibleInterface* grid, int index) : grid_(grid), index_(index) {}

  bool isValid() const override { return Pic() != nullptr; }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return grid_->window(); }
  QAccessibleInterface* parent() const override { return grid_; }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessible::Role role() const override { return QAccessible::ListItem; }
  void setText(QAccessible::Text, const QString&) override {}

  QString text(QAccessible::Text t) const override {
    const clsBrowsePic* pic = Pic();
    return pic && t == QAccessible::Name ? pic->GetDiskName() : QString();
  }

  QAccessible::State state() const override {
    QAccessible::State s;
    s.selectable = true;
    const clsBrowsePic* pic = Pic();
    s.selected = pic && pic->IsSelected();
    s.invisible = rect().isEmpty();
    s.offscreen = s.invisible;
    return s;
  }

  // The cell on screen, or empty when the picture is scrolled out of sight.
  QRect rect() const override {
    const auto* surface = static_cast<const QWidget*>(grid_->object());
    const PictureBrowser* browser = BrowserOf(surface);
    if (!browser || !Pic()) return {};
    const int perLine = browser->Current()->GetImagesPerLine(surface->width());
    if (perLine < 1) return {};
    const int first = BrowseGeometry::FirstIndexOfPage(browser->VScroll()->value(), perLine);
    if (index_ < first) return {};
    const int row = (index_ - first) / perLine;
    const QRect cell = BrowseGeometry::InnerCell(row, (index_ - first) % perLine);
    if (cell.top() >= surface->height()) return {};
    return QRect(surface->mapToGlobal(cell.topLeft()), cell.size());
  }

 private:
  const clsBrowsePic* Pic() const {
    const auto* surface = static_cast<const QWidget*>(grid_->object());
    const PictureBrowser* browser = surface ? BrowserOf(surface) : nullptr;
    return browser ? browser->Current()->Item(index_) : nullptr;
  }

  QAccessibleInterface* grid_;
  int index_;  // 1-based, as the list counts
};

class GridInterface : public QAccessibleWidget {
 public:
  explicit GridInterface(QWidget* surface) : QAccessibleWidget(surface, QAccessible::List) {}
  ~GridInterface() override {
    for (const auto& [index, id] : items_) QAccessible::deleteAccessibleInterface(id);
  }

  int childCount() const override {
    const PictureBrowser* browser = BrowserOf(widget());
    return browser ? browser->Current()->GetImagesCount() : 0;
  }

  QAccessibleInterface* child(int i) const override {
    if (i < 0 || i >= childCount()) return nullptr;
    auto found = items_.find(i);
    if (found == items_.end()) {
      auto* item = new PictureItem(const_cast<GridInterface*>(this), i + 1);
      found = items_.emplace(i, QAccessible::registerAccessibleInterface(item)).first;
    }
    return QAccessible::accessibleInterface(found->second);
  }

  int indexOfChild(const QAccessibleInterface* child) const override {
    for (const auto& [index, id] : items_)
      if (QAccessible::accessibleInterface(id) == child) return index < childCount() ? index : -1;
    return -1;
  }

  QAccessibleInterface* childAt(int x, int y) const override {
    for (int i = 0; i < childCount(); ++i)
      if (QAccessibleInterface* c = child(i); c->rect().contains(x, y)) return c;
    return nullptr;
  }

 private:
  mutable std::map<int, QAccessible::Id> items_;
};

}  // namespace

namespace GridAccessibility {

void Install() {
  // Once: Qt keeps every factory it is given, and asks each of them.
  static const bool once = (QAccessible::installFactory(&Factory), true);
  (void)once;
}

QAccessibleInterface* Factory(const QString& className, QObject* object) {
  if (className != QLatin1String("QWidget") || !object || !object->isWidgetType() ||
      object->objectName() != QLatin1String(kSurfaceName))
    return nullptr;
  auto* surface = static_cast<QWidget*>(object);
  return BrowserOf(surface) ? new GridInterface(surface) : nullptr;
}

}  // namespace GridAccessibility
