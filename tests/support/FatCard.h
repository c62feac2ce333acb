#pragma once
// A FAT memory card image mounted with fusefat in a test's folder: a file system of its own,
// which folds case and whose top folder the test controls. Unmounted when it goes.
#include <unistd.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

class FatCard {
 public:
  FatCard() = default;
  FatCard(const FatCard&) = delete;
  FatCard& operator=(const FatCard&) = delete;
  ~FatCard() {
    if (!folder_.isEmpty()) QProcess::execute("fusermount", {"-u", folder_});
  }

  // Empty once mounted on folder (which must exist), else why not, for GTEST_SKIP.
  QString Mount(const QString& image, const QString& folder) {
    const QString mkfs = QStandardPaths::findExecutable("mkfs.vfat", {"/usr/sbin", "/sbin"});
    const QString fusefat = QStandardPaths::findExecutable("fusefat");
    if (geteuid() != 0 || mkfs.isEmpty() || fusefat.isEmpty() || !QFile::exists("/dev/fuse"))
      return "needs root, mkfs.vfat, fusefat and /dev/fuse (scripts/setup.sh adds them)";
    QFile f(image);
    if (!f.open(QIODevice::WriteOnly) || !f.resize(8 << 20)) return "no room for " + image;
    f.close();
    if (QProcess::execute(mkfs, {image}) != 0) return "mkfs.vfat failed";
    if (QProcess::execute(fusefat, {"-o", "rw+", image, folder}) != 0)
      return "fusefat could not mount here";
    folder_ = folder;
    return {};
  }

 private:
  QString folder_;
};
