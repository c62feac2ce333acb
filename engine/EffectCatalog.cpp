#include "engine/EffectCatalog.h"

#include <algorithm>

#include "engine/clsImage.h"

namespace {

using Group = EffectCatalog::Group;
using Entry = EffectCatalog::Entry;

Entry Direct(const char* name, bool listed = true) {
  return {QString::fromLatin1(name), Group::kDirect, 0, 0, 0, listed};
}
Entry Level(const char* name, int minimum, int maximum, int start) {
  return {QString::fromLatin1(name), Group::kLevel, minimum, maximum, start, true};
}

}  // namespace

const std::vector<Entry>& EffectCatalog::All() {
  static const std::vector<Entry> entries = {
      Direct("Detect Outline"),
      Direct("Flip Image"),
      Direct("Intermediate Brightness"),
      Direct("Mirror Image"),
      Direct("Negative Image"),
      Direct("Sharpen"),
      Direct("Sharpen More"),
      Level("Blur", 0, 255, 0),
      Level("Brightness", -255, 255, 0),
      Level("Dilate", 0, 255, 0),
      Level("Kodalith", 0, 255, 128),
      Level("Limit Brightness Level", 0, 255, 255),
      Level("Remove Noise", 3, 11, 3),
      Level("Rotate", -180, 180, 0),
      Direct("Gray Scale", false),
  };
  return entries;
}

const Entry* EffectCatalog::Find(const QString& name) {
  // Scripts written before the name was spelt right still work.
  const QString wanted = name == QLatin1String("Delate") ? QStringLiteral("Dilate") : name;
  for (const Entry& entry : All())
    if (entry.name == wanted) return &entry;
  return nullptr;
}

QStringList EffectCatalog::SortedNames() {
  QStringList names;
  for (const Entry& entry : All())
    if (entry.listed) names << entry.name;
  std::sort(names.begin(), names.end());
  return names;
}

QStringList EffectCatalog::MenuNames() {
  QStringList names;
  for (Group group : {Group::kDirect, Group::kLevel}) {
    if (group == Group::kLevel) names << QStringLiteral("-");
    for (const Entry& entry : All())
      if (entry.listed && entry.group == group) names << entry.name;
  }
  return names;
}

bool EffectCatalog::Apply(clsImage& image, const Entry& effect, int level) {
  if (image.hDC() == 0) return false;
  level = std::clamp(level, effect.minimum, effect.maximum);
  const QString& n = effect.name;
  if (n == QLatin1String("Detect Outline")) return image.Effect_DetectOutline();
  if (n == QLatin1String("Flip Image")) return image.Effect_FlipImage();
  if (n == QLatin1String("Intermediate Brightness")) return image.Effect_BrightenMidRange();
  if (n == QLatin1String("Mirror Image")) return image.Effect_MirrorImage();
  if (n == QLatin1String("Negative Image")) return image.Effect_NegativeImage();
  if (n == QLatin1String("Sharpen")) return image.Effect_Sharpen();
  if (n == QLatin1String("Sharpen More")) return image.Effect_SharpenMore();
  if (n == QLatin1String("Gray Scale")) return image.Effect_GrayScale();
  if (n == QLatin1String("Blur")) return image.Effect_Blur(level);
  if (n == QLatin1String("Brightness")) return image.Effect_ChangeBrightness(level);
  if (n == QLatin1String("Dilate")) return image.Effect_Delate(level);
  if (n == QLatin1String("Kodalith")) return image.Effect_Kodalith(level);
  if (n == QLatin1String("Limit Brightness Level")) return image.Effect_LimitBrightnessLevel(level);
  if (n == QLatin1String("Remove Noise")) return image.Effect_RemoveNoise(level);
  if (n == QLatin1String("Rotate")) return image.Effect_Rotate(level, true);
  return false;
}

bool EffectCatalog::Apply(clsImage& image, const QString& name, int level) {
  const Entry* entry = Find(name);
  return entry != nullptr && Apply(image, *entry, level);
}
