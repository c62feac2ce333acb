#pragma once
// "Add Effect": pick one effect, set its level and watch it on the visible part of the
// picture; Apply changes the picture, OK applies and closes, Cancel undoes a proof. Auto
// Proof shows the effect on the whole picture in the Optimized preview (and its figures in an
// open optimiser window).
#include <QDialog>
#include <QPointer>
#include <memory>

#include "engine/EffectCatalog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSlider;
class EffectPicture;
class ImageView;
class clsImage;
class frmPicturePreview;

class frmEffect : public QDialog {
  Q_OBJECT
 public:
  explicit frmEffect(QWidget* parent = nullptr);
  ~frmEffect() override;

  // Call after creating and before showing: the picture edited and the two previews.
  void Init(std::shared_ptr<clsImage> sourceImg, frmPicturePreview* originalView,
            frmPicturePreview* optimizedView);
  // The chosen effect at the slider's level; nothing without an image or a chosen effect.
  void ApplyEffect(const std::shared_ptr<clsImage>& image) const;
  // Moves the dialog beside anchor's frame (right, else left), never over it, on anchor's screen.
  void PlaceBeside(const QWidget* anchor);
  // The top-left for a frame of size own beside anchor within screen.
  static QPoint BesidePosition(QRect anchor, QSize own, QRect screen);
  // Sets the effect list's text; acts exactly like the user picking that entry, and gives
  // the level the focus when the effect has one.
  void SetEffectText(const QString& name);
  QString EffectText() const;
  int Level() const;
  // Moves the level as the slider would (the preview follows).
  void SetLevel(int level);
  // OK: the effect goes into the picture and the dialog closes.
  void cmdOK_Click();
  bool OkPressed() const { return ok_; }
  // While false, closing hides the dialog (its effect and level kept) instead of ending it.
  void SetUnloadAllowed(bool allowed) { unloadAllowed_ = allowed; }
  bool UnloadAllowed() const { return unloadAllowed_; }
  // The options panel keeps confirmed dialogs as its effect list: a new one has no Apply, an
  // opened one no Cancel.
  void HideApply();
  void HideCancel();
  std::shared_ptr<clsImage> SourceImg() const { return source_; }

 signals:
  // The automatic proof put proof in the Optimized preview; the optimiser recomputes from it.
  void ProofShown(const std::shared_ptr<clsImage>& proof);
  // Apply or OK changed the picture with this effect at this level.
  void Applied(const QString& name, int level);

 protected:
  bool event(QEvent* event) override;
  void reject() override;

 private:
  void BuildControls();
  const EffectCatalog::Entry* ChosenEffect() const;
  void EffectPicked();
  void SliderMoved();
  void UpdatePreview();
  void AutoProof();
  void ApplyToSource();
  void cmdApply_Click();
  void cmdCancel_Click();
  void RestoreOptimized();
  void Unload(int result);

  std::shared_ptr<clsImage> source_;
  QPointer<frmPicturePreview> originalView_;
  QPointer<frmPicturePreview> optimizedView_;
  std::shared_ptr<clsImage> working_;  // the visible part of the picture, with the effect
  bool effectChosen_ = true;
  bool ok_ = false;
  bool unloadAllowed_ = true;

  QComboBox* cboEffect_ = nullptr;
  QSlider* slider_ = nullptr;
  QLabel* sliderText_ = nullptr;
  QLabel* lblLevel_ = nullptr;
  QCheckBox* chkAutoProof_ = nullptr;
  ImageView* originalImageView_ = nullptr;
  EffectPicture* effectImageView_ = nullptr;
  QPushButton* cmdApply_ = nullptr;
  QPushButton* cmdOK_ = nullptr;
  QPushButton* cmdCancel_ = nullptr;
};
