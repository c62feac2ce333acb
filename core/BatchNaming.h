#pragma once
// BatchNaming: the output name of each picture of a batch run, decided for the whole run in
// input order before any work starts, so that no two pictures write the same file.
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class BatchNaming {
 public:
  enum class Mode { kOverwrite, kOtherDir };

  struct Output {
    QString dest;       // the file to write
    QString wanted;     // the name the table gives; differs from dest when numbered
    bool skip = false;  // an existing file is left alone: the picture is not processed
    bool Numbered() const { return dest != wanted; }
  };

  struct Request {
    Mode mode = Mode::kOverwrite;
    QString outputDir;
    // Per source, the folder it was found under (ending with "/"): in another folder its
    // subfolders are recreated below outputDir. Empty (or an empty entry): flat.
    QStringList roots;
    // Names that count as taken before the run starts (files already on disk).
    std::function<bool(const QString& source, const QString& dest)> occupied;
    // The output folder takes "A.jpg" and "a.jpg" for one file (FAT, exFAT, SMB).
    bool foldCase = false;
  };

  // The table: a JPEG replaces itself or goes to outputDir under its own name; any other
  // picture becomes NAME.jpg beside itself or in outputDir. outputDir ends with "/".
  // With a root, the source's folder below it is kept below outputDir.
  static QString OutputName(const QString& source, Mode mode, const QString& outputDir,
                            const QString& root = QString());
  // The output file name of a picture among the names of its folder: its own table name,
  // unless another picture there wants the same one; then a JPEG keeps it and every other
  // picture adds its extension ("beach.png" -> "beach (png).jpg"); with foldCase, names equal
  // but for case are numbered in byte order ("A.png" -> "A.jpg", "a.png" -> "a (2).jpg").
  // Decided by the folder alone, so runs that share out one list agree without talking.
  static QString OwnName(const QString& fileName, const QStringList& siblings, bool foldCase);
  // "a.jpg", 2 -> "a (2).jpg": the number goes before the file name's extension.
  static QString Numbered(const QString& name, int number);
  // One output per source, in order, its name made its own among its folder (OwnName). A
  // name already given to an earlier source, or that is another source's own file, is
  // numbered from 2 until free.
  static std::vector<Output> Plan(const QStringList& sources, Mode mode, const QString& outputDir);
  static std::vector<Output> Plan(const QStringList& sources, const Request& request);
};
