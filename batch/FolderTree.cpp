#include "FolderTree.h"

#include <QFileSystemModel>
#include <QHeaderView>

FolderTree::FolderTree(QWidget* parent) : QTreeView(parent), model_(new QFileSystemModel(this)) {
  model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  model_->setRootPath(QStringLiteral("/"));
  setModel(model_);
  for (int c = 1; c < model_->columnCount(); ++c) hideColumn(c);
  header()->hide();
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& index) { emit FolderSelected(model_->filePath(index)); });
}

void FolderTree::SetCurrentFolder(const QString& path) {
  const QModelIndex index = model_->index(path);
  if (!index.isValid()) return;
  setCurrentIndex(index);
  scrollTo(index, QAbstractItemView::PositionAtCenter);
  expand(index);
}

QString FolderTree::CurrentFolder() const { return model_->filePath(currentIndex()); }

void FolderTree::Refresh() {
  const QString current = CurrentFolder();
  model_->setRootPath(QString());
  model_->setRootPath(QStringLiteral("/"));
  SetCurrentFolder(current);
}
