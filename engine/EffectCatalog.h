#pragma once
// EffectCatalog: the one list of picture effects (display name, group, level range) and the
// dispatcher that applies an effect by entry and level. Every list, menu and dispatcher uses it.
#include <QString>
#include <QStringList>
#include <vector>

class clsImage;

class EffectCatalog {
 public:
  // Direct effects apply at once; level effects take a level within [minimum, maximum].
  enum class Group { kDirect, kLevel };

  struct Entry {
    QString name;  // display name, the key everywhere; compared exactly
    Group group;
    int minimum;  // all three 0 for direct effects
    int maximum;
    int start;
    bool listed;  // false for "Gray Scale", understood by the dispatchers but never offered
    bool HasLevel() const { return group == Group::kLevel; }
    bool LevelInRange(int level) const { return level >= minimum && level <= maximum; }
  };

  // Every entry in catalogue order: the direct group, then the level group, then "Gray Scale".
  static const std::vector<Entry>& All();
  // The entry with exactly this name, or null.
  static const Entry* Find(const QString& name);
  // The fourteen listed names in alphabetical order (the effect dialog's list).
  static QStringList SortedNames();
  // The effects menu: listed direct names in catalogue order, "-", then the level names.
  static QStringList MenuNames();

  // Applies the effect at a level (ignored by direct effects; clamped into the range of a
  // level effect). Rotate always enlarges. False when the picture is empty or the effect
  // failed, in which case the picture is as it was.
  static bool Apply(clsImage& image, const Entry& effect, int level);
  // By name; false for an unknown name, which changes nothing.
  static bool Apply(clsImage& image, const QString& name, int level);
};
