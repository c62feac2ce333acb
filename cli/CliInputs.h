#pragma once
// CliInputs: the pictures a trimjet-cli run was given, each file once however it was reached,
// in the order given: files named directly and the supported pictures of folders, from the
// arguments or a list file; a name that cannot be taken is kept with the reason.
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <vector>

class CliInputs {
 public:
  struct Picture {
    QString path;  // absolute, clean
    // The folder its folders are kept below, ending with "/": the folder it was found in;
    // for a file named directly, the current folder when named by a relative name below
    // it, else "/" (so "/a/2019/x.jpg" and "/a/2020/x.jpg" stay apart, as in tar).
    QString root;
    QString key;   // the path as given (a folder as given + "/" + the path below it): hashed
                   // for --shard, so machines with other working folders agree
    bool inFolder = false;  // found in a folder rather than named
    QString problem;        // why it cannot be taken ("no such file or folder", ...)
  };

  // The names of a list file ("-": standard input), one a line or NUL-terminated. Empty
  // names are dropped. False with error when the file cannot be read.
  static bool ReadNames(const QString& file, bool nulSeparated, QStringList& names, QString& error);
  // Appends the pictures of inputs not met before. A name that is missing or no file, a
  // folder (or, recursively, a subfolder) that cannot be read: an entry with its problem.
  static void Collect(const QStringList& inputs, bool recursive, std::vector<Picture>& pictures);
};
