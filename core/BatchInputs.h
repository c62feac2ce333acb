#pragma once
// BatchInputs: the pictures of a folder as the batch list takes them: files whose extension
// names a supported format, in name order, subfolders depth-first when asked for.
#include <QString>
#include <QStringList>

class BatchInputs {
 public:
  // Full paths ("/" separated). Linked folders are not entered, so a link loop cannot
  // make the list endless. Folders that cannot be read are added to unreadable.
  static QStringList FilesFromPath(const QString& folder, bool subFolders,
                                   QStringList* unreadable = nullptr);
  static bool IsSupportedName(const QString& fileName);
  // The file a path reaches (device and inode), so that one file reached by two names (a
  // folder given twice, or once through a link) is done once; the path when it cannot be read.
  static QString Identity(const QString& path);
  // True for a picture found below root that lies in outputDir, itself a folder below root:
  // a run's outputs are never read back as its inputs.
  static bool InOutputFolder(const QString& path, const QString& root, const QString& outputDir);

 private:
  static void AddUndecodableNames(const QString& folder, QStringList& files);
};
