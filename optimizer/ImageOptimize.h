#pragma once
// ImageOptimize: the batch wizard's options panel: quality, sizing and an ordered list of
// effects, previewed on one picture of the batch in the Original and Optimized windows, and
// applied to each picture of a run through the same per-picture job as trimjet-cli.
#include <QPointer>
#include <QWidget>
#include <memory>
#include <vector>

#include "browse/frmPicturePreview.h"
#include "core/BatchOptions.h"
#include "core/PreviewSession.h"
#include "optimizer/OptionControls.h"
#include "optimizer/SizeControls.h"

class PendingRoundTrip;
class PreviewPair;
class AutoQualityButton;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSlider;
class QTabWidget;
class SliderDrag;
class clsImage;
class frmEffect;

class ImageOptimize : public QWidget {
  Q_OBJECT
 public:
  explicit ImageOptimize(QWidget* parent = nullptr);
  ~ImageOptimize() override;

  // Loads a preview picture; false (no message) when it does not decode.
  bool LoadPicture(const QString& fileName);
  // Writes one picture of a run with the current options; false when nothing was written.
  bool SaveImage(const QString& sourceFile, const QString& destFile) const;
  void HideForms();
  void ShowForms();
  bool IsPictureLoaded() const { return !fileName_.isEmpty(); }
  void UnloadForms();
  // The window the previews are kept above and placed against (the main window), or null.
  void SetOwner(QWidget* owner);
  // The quality and size controls, for remembering them between runs.
  const OptionControls& Controls() const { return controls_; }
  // The options tab at index: quality, size, effects.
  void ShowTab(int index);

  // The options as plain values, taken once before a run so that the run does not depend on
  // the controls or the effect dialogs.
  BatchOptions Options() const;
  // The picture at the chosen size: itself when unsized, null when no size results.
  std::shared_ptr<clsImage> GetSizedImage(const std::shared_ptr<clsImage>& picture,
                                          bool fast) const;
  const std::vector<frmEffect*>& Effects() const { return effects_; }

  QString FileName() const { return fileName_; }
  frmPicturePreview* OriginalPreview() const { return original_; }
  frmPicturePreview* OptimizedPreview() const { return optimizedView_; }
  std::shared_ptr<clsImage> WorkingPicture() const { return session_.Working(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  // Layout (ImageOptimizeLayout.cpp).
  void BuildControls();
  void ConnectControls();
  void ArrangePreviews();

  void RefreshPreview(bool applyEffects);
  void UpdateSizeFromScale();
  void EnableSizeControls();
  void EditSizeBox(QLineEdit* box, QLineEdit* other);
  bool CheckSizeBox(QLineEdit* box);
  void QualityScrolled();
  void SizeScrolled();
  void SizeChanged();
  void SliderMouseUp(QSlider* slider);
  void ManualSizeClicked();
  void SizeClicked();
  void FallBackToSource(const QString& message);
  bool HasPicture() const;

  // Progressive scans and the target size (ImageOptimizeFile.cpp).
  void ConnectFileChoices();
  // Below the target box: what the target does, or why the box holds no size.
  void ShowTargetNote();

  // Effects (ImageOptimizeEffects.cpp).
  void ApplyEffectList(const std::shared_ptr<clsImage>& picture) const;
  void cmdAdd_Click();
  void cmdProp_Click();
  void cmdRemove_Click();
  void cmdApply_Click();

  PreviewSession session_;
  QString fileName_;
  std::vector<frmEffect*> effects_;
  PreviewPair* previews_ = nullptr;  // Original and Optimized, made with the first picture
  QPointer<frmPicturePreview> original_;
  QPointer<frmPicturePreview> optimizedView_;
  QPointer<QWidget> owner_;
  SliderDrag* drag_ = nullptr;
  PendingRoundTrip* roundTrip_ = nullptr;  // a quality drag's newest position, once

  OptionControls controls_;
  SizeControls sizing_{controls_};
  QTabWidget* SSTab_ = nullptr;
  QCheckBox* chkSize_ = nullptr;
  AutoQualityButton* cmdAutoQuality_ = nullptr;  // checked: auto quality for the batch
  QListWidget* lstEffects_ = nullptr;
  QPushButton* cmdAdd_ = nullptr;
  QPushButton* cmdRemove_ = nullptr;
  QPushButton* cmdProp_ = nullptr;
  QPushButton* cmdApply_ = nullptr;
};
