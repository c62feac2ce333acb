#pragma once
// The quality, size and "Image statistics" controls that the optimiser window and the batch
// options panel share, built under each one's own object names (the language file's keys).
#include <QString>
#include <optional>

#include "core/PreviewSession.h"

class QCheckBox;
class QFontMetrics;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QWidget;

struct OptionControls {
  // What differs between the two windows.
  struct Names {
    const char* qualityCaption;  // the "Quality :" label
    QString qualityText;         // lblQuality's caption until the slider first moves
    const char* scaleCaption;    // the label before sldSize
    QString scaleCaptionText;
    const char* applySize;           // the size "Apply" button
    const char* statistics;          // the "Image statistics" box
    const char* compressionCaption;  // its "File compression :" label
  };

  // Every control is made without a parent except the statistics box's own labels: the window
  // places them, and the order it places them in is its tab order. metrics: the window's font.
  static OptionControls Build(const Names& names, const QFontMetrics& metrics);
  // The last quality and scale a window was left with, under its own key of the settings
  // store; Restore moves the sliders without their signals (no picture is computed).
  void Restore(const QString& key) const;
  void Store(const QString& key) const;

  QLabel* lblQualityCaption = nullptr;
  QSlider* sldQuality = nullptr;
  QLabel* lblQuality = nullptr;

  QLabel* lblScale = nullptr;
  QSlider* sldSize = nullptr;
  QLabel* lblSize = nullptr;
  QCheckBox* chkManualSize = nullptr;
  QCheckBox* chkMaintain = nullptr;
  QLabel* txtWidth = nullptr;
  QLabel* txtHeight = nullptr;
  QLineEdit* txtSizeX = nullptr;
  QLineEdit* txtSizeY = nullptr;
  QPushButton* cmdApplySize = nullptr;

  // "Strip metadata": checked from the settings, and every click is remembered there.
  QCheckBox* chkStripMetadata = nullptr;

  // "Progressive" and the target file size, laid out in fraFile; remembered under the
  // window's key with the quality and scale (OptionControlsFile.cpp).
  QWidget* fraFile = nullptr;
  QCheckBox* chkProgressive = nullptr;
  QLabel* lblMaxSize = nullptr;
  QLineEdit* txtMaxSize = nullptr;   // "300k", "2M" or bytes, as trimjet-cli's --max-size
  QLabel* lblMaxSizeNote = nullptr;  // what the target gave, or why it was refused
  // The target in bytes, 0 for an empty box; nullopt with the reason in problem when the box
  // holds no size.
  std::optional<long long> MaxBytes(QString* problem = nullptr) const;

  QGroupBox* fraStatistics = nullptr;  // laid out already, with the five labels below
  QLabel* txtOriginalSize = nullptr;
  QLabel* txtOriginalDimensions = nullptr;
  QLabel* txtOptimizedSize = nullptr;
  QLabel* txtOptimizedDimensions = nullptr;
  QLabel* txtCompression = nullptr;
  // The five statistics of a session's picture. sayLarger: the optimiser's marks, a result
  // bigger than its file in red and a lossless rewrite.
  void ShowFigures(const PreviewSession::Figures& figures, bool sayLarger) const;

 private:
  void BuildFileChoices(const QFontMetrics& metrics);
  void RestoreFileChoices() const;  // from the key Restore opened
  void StoreFileChoices() const;
};
