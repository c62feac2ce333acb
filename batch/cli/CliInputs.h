#pragma once
// CliInputs: the pictures a trimjet-cli run was given, each once, in the order given: files
// named directly and the supported pictures of folders, from the arguments or a list file.
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <vector>

class CliInputs {
 public:
  struct Picture {
    QString path;  // absolute, clean
    QString root;  // the folder it was found under, ending with "/"; empty when named directly
    QString key;   // the path as given (a folder as given + "/" + the path below it): hashed
                   // for --shard, so machines with other working folders agree
  };

  // The names of a list file ("-": standard input), one a line or NUL-terminated. Empty
  // names are dropped. False with error when the file cannot be read.
  static bool ReadNames(const QString& file, bool nulSeparated, QStringList& names, QString& error);
  // Appends the pictures of inputs not met before; a missing INPUT gets a message on err
  // and makes the result false. listed: the names come from a list, whose relative file
  // names count as found under the current folder (find . -print0 keeps its folders).
  static bool Collect(const QStringList& inputs, bool recursive, bool listed,
                      std::vector<Picture>& pictures, QTextStream& err);
};
