#pragma once
// The Original and Optimized preview windows of one editor (the optimiser window or the batch
// options panel), made in one place: titled from the language file, shown without taking the
// keyboard, zoom and pan followed one by the other while linked, brought up together with the
// editor's window, and deleted with the pair.
#include <QObject>
#include <QPointer>

class QWidget;
class frmPicturePreview;

class PreviewPair : public QObject {
 public:
  // editor: the widget whose window comes up with a preview the user brings forward.
  explicit PreviewPair(QWidget* editor);
  ~PreviewPair() override;

  frmPicturePreview* Original() const { return original_; }
  frmPicturePreview* Optimized() const { return optimized_; }
  // Off: each preview zooms and pans on its own; on again, Optimized shows Original's view.
  void SetLinked(bool linked);
  // The window both are kept above (the main window), or null.
  void Own(QWidget* owner);

 private:
  void Follow(frmPicturePreview* from, frmPicturePreview* to);

  QPointer<frmPicturePreview> original_;
  QPointer<frmPicturePreview> optimized_;
  bool linked_ = true;
};
