#pragma once
// BatchInputs: the pictures of a folder as the batch list takes them: files whose extension
// names a supported format, in name order, subfolders depth-first when asked for.
#include <QString>
#include <QStringList>

class BatchInputs {
 public:
  // Full paths ("/" separated). Linked folders are not entered, so a link loop cannot
  // make the list endless.
  static QStringList FilesFromPath(const QString& folder, bool subFolders);
  static bool IsSupportedName(const QString& fileName);

 private:
  static void AddUndecodableNames(const QString& folder, QStringList& files);
};
