#include "controls/TreeControl.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

namespace {
constexpr int kSortSettleMs = 150;
constexpr int kScrollFollowMs = 3000;
}  // namespace

TreeControl::TreeControl(QWidget* parent) : QWidget(parent), view_(new QTreeView(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view_);
  view_->setHeaderHidden(true);
  view_->setAccessibleName(QStringLiteral("Folders"));
  view_->setUniformRowHeights(true);
  view_->setSelectionMode(QAbstractItemView::SingleSelection);
  setFocusProxy(view_);
  scrollTimer_ = new QTimer(this);
  scrollTimer_->setSingleShot(true);
  scrollTimer_->setInterval(kSortSettleMs);
  connect(scrollTimer_, &QTimer::timeout, this, [this] {
    const QModelIndex index = model_->index(scrollPending_);
    if (index.isValid()) view_->scrollTo(index, QAbstractItemView::PositionAtCenter);
  });
  // A click or a key in the tree is the user's own scrolling from then on.
  view_->viewport()->installEventFilter(this);
  view_->installEventFilter(this);
  CreateModel();
}

void TreeControl::CreateModel() {
  QFileSystemModel* old = model_;
  QItemSelectionModel* oldSelection = view_->selectionModel();
  model_ = new QFileSystemModel(this);
  model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
  model_->setReadOnly(true);
  connect(model_, &QFileSystemModel::directoryLoaded, this, &TreeControl::ListingChanged);
  connect(model_, &QFileSystemModel::rowsInserted, this, &TreeControl::ListingChanged);
  connect(model_, &QFileSystemModel::layoutChanged, this, &TreeControl::ListingChanged);
  view_->setModel(model_);
  view_->setRootIndex(model_->setRootPath(QStringLiteral("/")));
  for (int column = 1; column < model_->columnCount(); ++column) view_->hideColumn(column);
  connect(view_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& index) { CurrentChanged(index); });
  delete oldSelection;  // the view does not delete the one it replaces
  delete old;
}

void TreeControl::SetCurrentFolder(const QString& path) {
  const QFileInfo info(path);
  if (path.isEmpty() || !info.isDir()) return;
  // The model builds the chain of nodes down to the folder at once; rows above it may still
  // be sorted in as their listings arrive, so the scrolling is repeated once they settle.
  const QModelIndex index = model_->index(QDir::cleanPath(info.absoluteFilePath()));
  if (!index.isValid()) return;
  view_->setCurrentIndex(index);
  view_->scrollTo(index, QAbstractItemView::PositionAtCenter);
  scrollPending_ = model_->filePath(index);
  scrollSince_.start();
  scrollTimer_->start();
}

bool TreeControl::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::MouseButtonPress || type == QEvent::Wheel || type == QEvent::KeyPress)
    scrollPending_.clear();
  return QWidget::eventFilter(watched, event);
}

void TreeControl::Refresh() {
  const QString folder = current_;
  CreateModel();
  QString keep = folder;
  // A folder that went away gives way to the nearest one still there.
  while (!keep.isEmpty() && !QFileInfo(keep).isDir()) {
    const QString up = QFileInfo(keep).path();
    keep = up == keep ? QString() : up;
  }
  SetCurrentFolder(keep.isEmpty() ? QStringLiteral("/") : keep);
}

void TreeControl::CurrentChanged(const QModelIndex& index) {
  if (!index.isValid()) return;
  const QString path = model_->filePath(index);
  if (path == current_) return;
  current_ = path;
  Q_EMIT FolderSelected(path);
}

void TreeControl::ListingChanged() {
  // Listings arrive and are sorted in bit by bit, each moving the rows; the folder is kept in
  // view until they have settled or the user starts using the tree.
  if (scrollPending_.isEmpty()) return;
  if (scrollSince_.elapsed() > kScrollFollowMs) {
    scrollPending_.clear();
    return;
  }
  scrollTimer_->start();
}
