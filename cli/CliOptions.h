#pragma once
// CliOptions: every option of trimjet-cli in one table, read by the parser, --help, the
// manual page and the shell completions alike, so none of them can miss an option.
#include <QString>
#include <vector>

class CliOptions {
 public:
  enum class Group { kRead, kEncode, kWrite, kPrint, kFleet, kInfo };
  // What a value is, for the completions.
  enum class Value { kNone, kNumber, kFile, kFolder, kWord };

  struct Option {
    const char* name;       // "--quality"
    char shortName;         // 'Q', or 0
    const char* valueName;  // "Q" in the help; nullptr for a switch
    Group group;
    const char* help;     // lines separated by '\n'
    const char* choices;  // the words a value may be, blank-separated, or nullptr
    Value value;
  };

  static const std::vector<Option>& All();
  static const std::vector<Group>& Groups();
  static QString Title(Group group);  // "What to read"
  // By long name ("--quality") or by letter; nullptr when there is none.
  static const Option* Find(const QString& name);
  static const Option* FindShort(QChar letter);
  // The long name closest to a mistyped one (at most two edits, or a unique start); empty
  // when none is close.
  static QString Closest(const QString& typo);
};
