#pragma once
// Trash: moves files to the desktop's trash, laid out as the freedesktop.org Trash
// specification has every desktop share it, so the file manager lists and restores them.
// A file goes to the trash of its own file system and is never copied: the home trash
// ($XDG_DATA_HOME/Trash, made when missing) for the home's file system, else
// $topdir/.Trash/$uid (a sticky folder, not a link) or $topdir/.Trash-$uid at the top of
// the file's file system. No trash folder is ever made anywhere else.
#include <QString>

class Trash {
 public:
  // Moves path (a link itself, not its target) into the trash: its NAME.trashinfo, with the
  // path to restore and the date, is written before the file moves, under a name of its own.
  // False, with the reason in words, when no trash can take it; the file is then untouched.
  static bool Move(const QString& path, QString* reason = nullptr);
};
