#pragma once
// PreviewSession: the picture that one editor works on (the optimiser window, or the batch
// options panel on its sample picture) and its JPEG round trip, without any window. The
// editors only draw what it holds. The preview and the save both encode with its quality and
// the pictures' own choices (scans, metadata), so the size shown is the size written.
#include <QByteArray>
#include <QSize>
#include <QString>
#include <memory>

class clsImage;

class PreviewSession {
 public:
  // Called once at the start of a process that may run round trips on a second thread (a
  // drag's), before any thread is made.
  static void ShareOneHeap();

  // What the "Image statistics" frame shows.
  struct Figures {
    qint64 fileBytes = 0;  // the file the picture was loaded from
    QSize original;
    QSize optimized;
    int jpegBytes = -1;     // -1 when nothing was encoded (no picture, or a quick stretch)
    bool lossless = false;  // the loaded JPEG rewritten without encoding it again
    bool Larger() const { return fileBytes > 0 && jpegBytes > fileBytes; }
  };

  // A decoded picture and the file it came from; every result of the last picture goes.
  void Start(std::shared_ptr<clsImage> source, const QString& fileName);
  void Clear();
  bool HasPicture() const;
  const QString& FileName() const { return fileName_; }
  // The picture now lives in fileName (after a save): the original's figures follow it.
  void Rename(const QString& fileName);

  void SetQuality(int quality) { quality_ = quality; }
  int Quality() const { return quality_; }
  // Progressive scans and stripped metadata change the file, so they belong to every picture
  // the session encodes.
  void SetProgressive(bool progressive);
  void SetStripMetadata(bool strip);

  // The picture to optimise: the source at the chosen size (and with the chosen effects).
  // quick: a stretch shown while a size slider is dragged; it is never encoded or saved, and
  // the figures keep their last JPEG size.
  void SetWorking(std::shared_ptr<clsImage> working, bool quick = false);
  // Drops the working picture, so that the editor makes it anew before the next round trip.
  void ForgetWorking() { working_.reset(); }
  // The JPEG round trip of the working picture (or of picture, an effect's proof shown in its
  // place): the Optimized picture and the figures. False when nothing could be encoded (the
  // last result stays).
  bool Optimize(const std::shared_ptr<clsImage>& picture = nullptr);
  // A round trip of the working picture at quality computed elsewhere (a drag's worker
  // thread) becomes the result; gives back the picture it replaces, when nothing else of the
  // session holds it, so that the next round trip can be written into it.
  std::shared_ptr<clsImage> Adopt(std::shared_ptr<clsImage> optimized, int quality,
                                  int jpegBytes, bool lossless);
  // The file the save writes: the working picture encoded as the preview was.
  bool Encode(QByteArray& jpeg) const;

  // True when the result shown is the round trip of working at quality, with today's choices.
  bool Shows(const std::shared_ptr<clsImage>& working, int quality) const;

  std::shared_ptr<clsImage> Source() const { return source_; }
  std::shared_ptr<clsImage> Working() const { return working_; }
  std::shared_ptr<clsImage> Optimized() const { return optimized_; }
  bool QuickShown() const { return quick_; }
  const Figures& Current() const { return figures_; }

 private:
  void Take(std::shared_ptr<clsImage> optimized, const std::shared_ptr<clsImage>& from,
            int jpegBytes, bool lossless);

  std::shared_ptr<clsImage> source_;
  std::shared_ptr<clsImage> working_;
  std::shared_ptr<clsImage> optimized_;
  std::weak_ptr<clsImage> optimizedFrom_;  // the picture optimized_ is the round trip of
  QString fileName_;
  int quality_ = 70;
  bool quick_ = false;
  Figures figures_;
};
