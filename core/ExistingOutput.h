#pragma once
// ExistingOutput: what a batch does when a file already lies where a picture's output would
// go: number the new file ("a (2).jpg", as inside a run), replace it, or skip the picture
// without decoding it, so that an interrupted run started again only does what is left.
#include <QString>
#include <vector>

#include "core/BatchNaming.h"

class ExistingOutput {
 public:
  enum class Rule { kNumber, kReplace, kSkip };

  // "number", "replace" or "skip"; false for anything else.
  static bool Parse(const QString& text, Rule& rule);
  // True when dest is a file (or a link, even a broken one) other than the source itself:
  // a JPEG optimised in place replaces only itself.
  static bool IsOtherFile(const QString& source, const QString& dest);
  // True when dest is the source's own file (not a link to it).
  static bool IsSource(const QString& source, const QString& dest);
  // True when folder (or, before it is made, its nearest existing parent) takes names that
  // differ only in case for one file: a name made there is found in upper case too.
  static bool FoldsCase(const QString& folder);
  // The run's outputs under the rule, in source order. Into another folder the source's own
  // file is numbered or skipped under every rule: it is replaced only in overwrite mode.
  static std::vector<BatchNaming::Output> Plan(const QStringList& sources,
                                               BatchNaming::Request request, Rule rule);
};
