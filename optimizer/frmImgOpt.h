#pragma once
// "Image Optimization": the window for one picture. It keeps the source, working (scaled) and
// optimised pictures, shows Original and Optimized in two preview windows, recomputes the JPEG
// round trip on every change of quality, size or effect, and saves the result as JPEG.
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <memory>

#include "browse/frmPicturePreview.h"
#include "core/PreviewSession.h"
#include "optimizer/DragRoundTrips.h"
#include "engine/SafeFile.h"
#include "optimizer/OptionControls.h"
#include "optimizer/SizeControls.h"
#include "optimizer/clsFileData.h"

class QCheckBox;
class QLineEdit;
class QMenu;
class QSlider;
class SliderDrag;
class TextButton;
class CommandButton;
class clsImage;
class AutoQualityButton;

class PendingRoundTrip;
class PreviewPair;
class frmImgOpt : public QWidget {
  Q_OBJECT
 public:
  static constexpr const char* kWebAddress = "https://trimjet.norvale.example/";
  // The settings key of the quality and size the window was last closed with.
  static constexpr const char* kOptionsKey = "OptimizerOptions";

  explicit frmImgOpt(QWidget* parent = nullptr);
  ~frmImgOpt() override;

  // Loads and optimises a picture; arrange places the previews and this window. A missing,
  // hidden or empty file leaves the window without a picture; one that does not decode closes
  // the window and says so.
  void LoadPicture(const QString& fileName, bool arrange);
  // Recomputes the optimised picture and the statistics from picture.
  void OptimizeWithImage(const std::shared_ptr<clsImage>& picture);
  bool CanSave() const { return true; }
  // Moves the quality slider as code does: the round trip and the figures follow at once.
  void SetQuality(int quality);
  QString GetFileName() const { return fileName_; }
  // Writes the working picture as JPEG under fileName (made a .jpg name); on a refused name or
  // a failed write it says so and offers Save As. True when a file was written.
  // Writes the JPEG for fileName (its name made a JPEG's). Another file at that name is
  // replaced only when the user says so; a loaded picture of another format goes to the
  // trash after asking, unless trashAgreed says the question was already answered.
  bool SaveAs(const QString& fileName, bool trashAgreed = false);
  // "The picture is saved as "photo.jpg"; "photo.png" goes to the trash.", or empty when a
  // save of fileName removes nothing.
  QString TrashNote(const QString& fileName) const;
  bool cmdSaveAs_Click();
  // Asks for a name (Save As) and saves there; false when nothing was written.
  bool SaveUnderNewName();
  // The effects without a level (and "Gray Scale"); other names and a null picture do nothing.
  static void ApplyEffect(const std::shared_ptr<clsImage>& dstImg, const QString& effectName);
  bool Unloading() const { return unloading_; }
  // A modified picture: asks whether to save it first (Yes saves). False when the user cancels,
  // so the picture must stay; true otherwise.
  bool AskToKeepChanges();
  // The window this one and its previews are kept above and placed against (the main window).
  void SetOwner(QWidget* owner);

  std::shared_ptr<clsImage> SourcePicture() const { return session_.Source(); }
  std::shared_ptr<clsImage> WorkingPicture() const { return session_.Working(); }
  std::shared_ptr<clsImage> OptimizedPicture() const { return session_.Optimized(); }
  frmPicturePreview* OriginalPreview() const { return original_; }
  frmPicturePreview* OptimizedPreview() const { return optimizedView_; }
  QMenu* EffectsMenu() const { return mnuEffects_; }
  // Shows the previews again after the user closed one or both.
  void ShowPreviews();

 signals:
  // Activated: the main window should bring its commands in step.
  void UpdateControlsRequested();
  // Closed for good (after the save question): the main window takes the focus back.
  void Closed();

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  bool IsLoadedFile(const QString& path) const;
  // Layout (frmImgOptLayout.cpp).
  void BuildControls();
  void ConnectControls();
  void BindKeys();
  void ArrangeWindows();
  // Zoom and pan of one preview followed by the other while "Link previews" is ticked.
  void LinkPreviews();

  // Size and quality (frmImgOptSizing.cpp).
  int Quality() const;
  void UpdateSizeFromScale();
  void EditSizeBox(QLineEdit* box, QLineEdit* other, bool isWidth);
  void EnableSizeControls();
  void UpdateScaledImage();
  void QualityScrolled();
  void QualityChanged();
  void SliderMouseUp(QSlider* slider);
  // A quality drag's round trip from the worker: shown when it is still the slider's position.
  void DragRoundTripArrived(DragRoundTrips::Result result);
  void SizeScrolled();
  void SizeChanged();
  void ManualSizeClicked();
  void ShowOptimized();
  // The working picture at its final size, made first when a size change left none.
  std::shared_ptr<clsImage> PictureAsSaved();
  void ScaledImageFailed();
  void SetModified(bool modified);
  bool IsModified() const;

  // Progressive scans and the target size (frmImgOptFile.cpp).
  void ConnectFileChoices();
  // With a target size, moves the quality slider to the highest quality whose file fits and
  // says so below the box, or says that even the lowest does not fit (the slider stays).
  void FitTarget();
  void ShowTargetNote(const QString& text, bool bad);
  // Moves the window up when a note has made it reach below the screen's usable area.
  void KeepOnScreen();

  // Effects (frmImgOptEffects.cpp).
  void BuildEffectsMenu();
  void AddEffectMenuItem(const QString& caption);
  void ShowEffectsMenu();
  void EffectChosen(const QString& caption);

  void Reset();
  void LoadFromBytes(const QString& fileName, bool arrange);
  bool DecodeBytes(clsImage& picture);
  void EnablePictureCommands();
  bool HasPicture() const;

  PreviewSession session_;
  QString fileName_;
  SafeFile::Identity loaded_;  // the file as it was read, to notice another program's save
  QString bytesPath_;          // the path the kept bytes were read from
  clsFileData fileData_;
  PreviewPair* previews_ = nullptr;  // Original and Optimized
  QPointer<frmPicturePreview> original_;
  QPointer<frmPicturePreview> optimizedView_;
  QPointer<QWidget> owner_;
  SliderDrag* drag_ = nullptr;
  PendingRoundTrip* roundTrip_ = nullptr;  // the newest slider position, once
  DragRoundTrips* dragTrips_ = nullptr;     // a quality drag's positions, off the window thread
  bool unloading_ = false;
  bool placeRemembered_ = false;  // the window stands where the user left it last time
  QSize optimizedSizeShown_;      // the Optimized preview shows a size drag's quick stretch

  OptionControls controls_;
  SizeControls sizing_{controls_};

  AutoQualityButton* cmdAutoQuality_ = nullptr;
  TextButton* cmdSave_ = nullptr;
  TextButton* cmdSaveAs_ = nullptr;
  TextButton* cmdReset_ = nullptr;
  TextButton* cmdEffects_ = nullptr;
  TextButton* cmdHelp_ = nullptr;
  TextButton* cmdShowPreviews_ = nullptr;
  QCheckBox* chkLinkPreviews_ = nullptr;
  CommandButton* cmdLink_ = nullptr;
  QMenu* mnuEffects_ = nullptr;
};
