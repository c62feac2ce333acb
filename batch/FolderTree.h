#pragma once
// FolderTree: the folder tree of the add-folder dialog: folders only, shows a given folder
// and reports each change of the selected folder.
#include <QTreeView>

class QFileSystemModel;

class FolderTree : public QTreeView {
  Q_OBJECT
 public:
  explicit FolderTree(QWidget* parent = nullptr);

  void SetCurrentFolder(const QString& path);
  QString CurrentFolder() const;
  void Refresh();

 signals:
  void FolderSelected(const QString& path);

 private:
  QFileSystemModel* model_;
};
