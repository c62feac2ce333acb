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
  };

  // The table: a JPEG replaces itself or goes to outputDir under its own name; any other
  // picture becomes NAME.jpg beside itself or in outputDir. outputDir ends with "/".
  // With a root, the source's folder below it is kept below outputDir.
  static QString OutputName(const QString& source, Mode mode, const QString& outputDir,
                            const QString& root = QString());
  // "a.jpg", 2 -> "a (2).jpg": the number goes before the file name's extension.
  static QString Numbered(const QString& name, int number);
  // One output per source, in order. A name already given to an earlier source, or that
  // is another source's own file, is numbered from 2 until free.
  static std::vector<Output> Plan(const QStringList& sources, Mode mode, const QString& outputDir);
  static std::vector<Output> Plan(const QStringList& sources, const Request& request);
};
