#pragma once
// The folder tree of the main window: every folder from the root down, hidden ones left out,
// with the four operations the window uses (set, re-read, read the folder, folder chosen).
#include <QElapsedTimer>
#include <QString>
#include <QWidget>

class QFileSystemModel;
class QModelIndex;
class QTimer;
class QTreeView;

class TreeControl : public QWidget {
  Q_OBJECT
 public:
  explicit TreeControl(QWidget* parent = nullptr);

  // Makes an existing folder current, expanded to and scrolled into view; other paths are
  // ignored. FolderSelected follows when the current folder changes.
  void SetCurrentFolder(const QString& path);
  // Reads the folder structure afresh, keeping the current folder while it exists.
  void Refresh();
  // The current folder's full path; empty before one was set.
  QString CurrentFolder() const { return current_; }
  QTreeView* View() const { return view_; }

 Q_SIGNALS:
  void FolderSelected(const QString& path);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateModel();
  void CurrentChanged(const QModelIndex& index);
  void ListingChanged();

  QTreeView* view_;
  QFileSystemModel* model_ = nullptr;
  QString current_;
  QString scrollPending_;  // kept in view while the listings around it arrive
  QElapsedTimer scrollSince_;
  QTimer* scrollTimer_;
};
