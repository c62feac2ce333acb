#include "settings/clsReg.h"

#include <QFileInfo>
#include <QSettings>

#include "core/AppInfo.h"

static_assert(AppInfo::kProductName[0] != '\0', "the settings root needs the product name");

const QString clsReg::kBasePath = QStringLiteral("SOFTWARE\\Norvale\\");

namespace {
// Where the unnamed value of a key is kept; no value name of the program has parentheses.
const QString kUnnamedValue = QStringLiteral("(Default)");

QString ApplicationName() {
  return QStringLiteral("%1 %2.%3")
      .arg(QString::fromLatin1(AppInfo::kProductName))
      .arg(AppInfo::VersionMajor())
      .arg(AppInfo::VersionMinor());
}

// A fresh object per operation: QSettings re-reads the file when another writer changed
// it, and writes under a lock file through an atomic rename.
struct Store : QSettings {
  explicit Store(const QString& group)
      : QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Norvale"),
                  ApplicationName()) {
    if (!group.isEmpty()) beginGroup(group);
  }
};

// QSettings reads both slashes as group separators, so a name with one would reach
// into another key.
bool IsPlainName(const QString& name) { return !name.contains('/') && !name.contains('\\'); }

// The registry ignores letter case in key and value names; INI groups do not, so a name
// takes the spelling already stored.
QString StoredSpelling(const QStringList& stored, const QString& name) {
  for (const QString& s : stored)
    if (s.compare(name, Qt::CaseInsensitive) == 0) return s;
  return name;
}

QString StoredValueName(const QSettings& store, const QString& valueName) {
  return StoredSpelling(store.childKeys(), valueName.isEmpty() ? kUnnamedValue : valueName);
}

// The settings group of a full key path, or nothing when the path lies outside the root.
std::optional<QString> GroupOf(const QString& keyPath) {
  const QString root = clsReg::RootPath();
  // Registry paths ignore letter case.
  if (!keyPath.startsWith(root, Qt::CaseInsensitive)) return std::nullopt;
  const QString rest = keyPath.mid(root.size());
  if (!rest.isEmpty() && !rest.startsWith('\\')) return std::nullopt;
  const QStringList parts = rest.split('\\', Qt::SkipEmptyParts);
  Store store(QString{});
  QStringList group;
  for (const QString& part : parts) {
    if (part.contains('/')) return std::nullopt;
    group.append(StoredSpelling(store.childGroups(), part));
    store.beginGroup(group.last());
  }
  return group.join('/');
}

// A key without values or subkeys would vanish from the INI file, so a new key gets an
// empty unnamed value, which reads exactly like no value.
bool CreateKey(const QString& group) {
  if (group.isEmpty()) return true;
  Store store(group);
  if (!store.childKeys().isEmpty() || !store.childGroups().isEmpty()) return true;
  store.setValue(kUnnamedValue, QString());
  store.sync();
  return store.status() == QSettings::NoError;
}
}  // namespace

QString clsReg::RootPath() { return kBasePath + ApplicationName(); }

clsReg::clsReg() { OpenReg(QString()); }

clsReg::~clsReg() { CloseReg(); }

bool clsReg::OpenReg(const QString& dirName) {
  QString basePath = kBasePath;
  return OpenReg(dirName, basePath);
}

bool clsReg::OpenReg(const QString& dirName, QString& basePath) {
  CloseReg();
  if (basePath == kBasePath) basePath = RootPath();
  const QString keyPath = dirName.isEmpty() ? basePath : basePath + "\\" + dirName;
  const std::optional<QString> group = GroupOf(keyPath);
  if (!group || !CreateKey(*group)) return false;
  group_ = group;
  keyPath_ = keyPath;
  return true;
}

QString clsReg::GetValue(const QString& valueName) const {
  if (!group_ || !IsPlainName(valueName)) return QString();
  const Store store(*group_);
  return store.value(StoredValueName(store, valueName)).toString();
}

void clsReg::SetValue(const QString& valName, const QString& valValue) {
  if (!group_ || !IsPlainName(valName)) return;
  const QString name = valName == QLatin1String("Default") ? QString() : valName;
  Store store(*group_);
  store.setValue(StoredValueName(store, name), valValue);
}

void clsReg::GetAllSubKeys(const std::function<void(const QString&)>& addItem) const {
  if (!group_) return;
  for (const QString& name : Store(*group_).childGroups()) addItem(name);
}

QStringList clsReg::GetAllSubKeys() const {
  QStringList names;
  GetAllSubKeys([&names](const QString& name) { names.append(name); });
  return names;
}

void clsReg::WriteRegDir(const QString& dirName, const QString& dirPath) {
  OpenReg(QStringLiteral("Paths"));
  SetValue(dirName, dirPath);
}

QString clsReg::ReadRegDir(const QString& dirName, const QString& defaultPath) {
  OpenReg(QStringLiteral("Paths"));
  QString path = GetValue(dirName);
  if (path.isEmpty()) path = defaultPath;
  if (!QFileInfo::exists(path)) path = defaultPath;
  return path;
}

void clsReg::DeleteSubKey(const QString& dirName) {
  // An empty name would mean the open key itself, and at the root the whole store.
  if (!group_ || dirName.isEmpty()) return;
  const std::optional<QString> sub = GroupOf(RootPath() + "\\" + dirName);
  if (!sub || sub->isEmpty()) return;
  Store store(*group_);
  store.beginGroup(*sub);
  store.remove(QString());
}

void clsReg::CloseReg() {
  group_.reset();
  keyPath_.clear();
}

clsReg& Registry() {
  static clsReg registry;
  return registry;
}
