#pragma once
// The per-user settings store: named string values in keys below the settings root
// "SOFTWARE\Norvale\Trimjet 1.8", one key open at a time. The values live in a QSettings
// INI file that every operation opens afresh, so other store objects and other processes
// of the program see a write on their next read.
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class clsReg {
 public:
  // The base path that OpenReg extends by product name and version.
  static const QString kBasePath;  // "SOFTWARE\Norvale\"

  // Opens the settings root.
  clsReg();
  ~clsReg();
  clsReg(const clsReg&) = delete;
  clsReg& operator=(const clsReg&) = delete;

  // Closes the open key, then opens (creating it when missing) basePath + "\" + dirName.
  // A basePath of exactly kBasePath is first extended to the settings root and written
  // back. Keys outside the settings root cannot be opened. True when a key is open.
  bool OpenReg(const QString& dirName, QString& basePath);
  bool OpenReg(const QString& dirName);
  // The named value of the open key; "" when nothing is open or the value is missing.
  // An empty name reads the key's unnamed value.
  QString GetValue(const QString& valueName) const;
  // Writes a value of the open key; "Default" (or an empty name) writes the unnamed value.
  void SetValue(const QString& valName, const QString& valValue);
  // Calls addItem with the name of each subkey of the open key.
  void GetAllSubKeys(const std::function<void(const QString&)>& addItem) const;
  QStringList GetAllSubKeys() const;
  // Remembered folders in the key "Paths"; both leave the object on "Paths".
  void WriteRegDir(const QString& dirName, const QString& dirPath);
  // The stored folder when it is set and still exists, otherwise defaultPath.
  QString ReadRegDir(const QString& dirName, const QString& defaultPath);
  // Deletes a subkey of the open key with everything below it; errors are ignored.
  void DeleteSubKey(const QString& dirName);

  bool IsOpen() const { return group_.has_value(); }
  // The full path of the open key, e.g. "SOFTWARE\Norvale\Trimjet 1.8\Paths".
  QString KeyPath() const { return keyPath_; }
  // "SOFTWARE\Norvale\" + product name + " " + major.minor version.
  static QString RootPath();

 private:
  void CloseReg();

  std::optional<QString> group_;  // settings group of the open key ("" for the root)
  QString keyPath_;
};

// The program's shared store, created on first use.
clsReg& Registry();
