#pragma once
// SlideShow: the batch list's small preview box: shows the clicked entry, and while several
// entries are selected shows them in turn, one a second, from a cache of fitted pictures.
#include <QFrame>
#include <QTimer>
#include <memory>
#include <vector>

class QLabel;
class QTreeWidget;
class clsImage;

class SlideShow : public QFrame {
  Q_OBJECT
 public:
  SlideShow(QTreeWidget* list, QWidget* parent = nullptr);
  ~SlideShow() override;

  // A click on the entry at position (1-based): shown at once while fewer than two entries
  // are selected.
  void EntryClicked(int position);
  // One timer step: the next selected entry after the current one, wrapping.
  void Tick();
  // Forgets every cached picture, for a list whose entries changed.
  void ClearCache();
  void Stop() { timer_.stop(); }
  int Current() const { return current_; }
  QTimer& Timer() { return timer_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void Show(int position);

  QTreeWidget* list_;
  QLabel* lblPreview_;
  QTimer timer_;
  std::vector<std::shared_ptr<clsImage>> cache_;  // by position; position 0 stays empty
  int current_ = 0;
};
