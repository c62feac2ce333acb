#pragma once
// The table of user-visible texts: messages by key (language file, then built-in English
// defaults) and per-control captions, texts and tool tips read from the language file.
#include <QHash>
#include <QString>

class QObject;

class clsLanguage {
 public:
  // Reads the default language file (DefaultFilePath()); a missing file leaves it unloaded.
  clsLanguage();
  explicit clsLanguage(const QString& filePath);
  clsLanguage(const clsLanguage&) = delete;
  clsLanguage& operator=(const clsLanguage&) = delete;

  // The message for name (any letter case); the name itself when there is none.
  QString GetString(const QString& name) const;
  // Adds a message unless the key is already there.
  void AddLanguageString(const QString& name, const QString& value);
  // The built-in English messages; called once at start-up, after the file was read.
  void AddDefaultStrings();
  // Applies the control texts of the file to obj (named by its object name, or by
  // windowName) and to every named child object, but not to the inside of a child that was
  // given its own texts this way (an embedded panel). Does nothing when no file was read.
  void UpdateObject(QObject* obj) const;
  void UpdateObject(QObject* obj, const QString& windowName) const;
  bool IsLoaded() const { return loaded_; }

  // The help file's name cut before its first "." + ".lng", found like any data file.
  static QString DefaultFilePath();

 private:
  void LoadLanguageFile(const QString& fileName);
  void ApplyTexts(QObject* target, const QString& keyPrefix, bool isWindow) const;
  void ApplyToChildren(QObject* parent, const QString& windowName) const;
  // Dynamic property set on every object that UpdateObject was called for.
  static constexpr const char* kTextScope = "trimjetTextScope";
  static QString Key(const QString& name) { return name.toCaseFolded(); }

  QHash<QString, QString> messages_;
  QHash<QString, QString> controlTexts_;
  bool loaded_ = false;
};

// The program's one language table, created on first use from the default file.
clsLanguage& Language();
