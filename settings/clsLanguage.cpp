#include "settings/clsLanguage.h"

#include <QFileInfo>
#include <QMetaProperty>
#include <QObject>
#include <QVariant>

#include "core/AppInfo.h"
#include "settings/clsFile.h"

namespace {
struct DefaultString {
  const char* key;
  const char* text;
};

// Added in this order at start-up; a message from the language file takes precedence.
constexpr DefaultString kDefaultStrings[] = {
    {"SuppSave", "Supported save files"},
    {"Original", "Original"},
    {"Optimized", "Optimized"},
    {"SavImg", "Save image?"},
    {"NotSupported", "Sorry, this format is not (yet) supported by Trimjet"},
    {"SavErr", "Error occurred while saving file"},
    {"AllPics", "All supported picture files"},
    {"OverwriteImg", "You are about to overwrite ALL selected pictures\nContinue?"},
    {"Warning", "WARNING"},
    {"SelectOutput", "You must select an output destination!"},
    {"ErrOutputDir", "Invalid output directory"},
    {"OptSav", "Optimizing and saving"},
    {"File", "File"},
    {"Size", "Size"},
    {"NoSel", "Nothing selected !"},
    {"DelSelImg", "Delete selected image(s)?"},
    {"InvalWidth", "Invalid width !"},
    {"InvalHeight", "Invalid height !"},
    {"NotAllDel", "One or more Images were in use or write protected and could not be deleted."},
    {"NoSupInSel", "No supported files in current batch selection!"},
    {"InvalChars",
     "The following characters may not be used in file names:\n\n"
     "/ \\ : * \" ? < > |\n\n"
     "Please specify another file name."},
    {"NoSupFilesInFolder", "No supported files found in the specified folder"},
};

const QString kMessagePrefix = QStringLiteral("MSG_");

// Writes a text property the object really has; never creates a dynamic property.
bool WriteText(QObject* obj, const char* property, const QString& value) {
  const QMetaObject* meta = obj->metaObject();
  const int index = meta->indexOfProperty(property);
  if (index < 0) return false;
  const QMetaProperty p = meta->property(index);
  return p.isWritable() && p.write(obj, value);
}

// A control's caption and text are its "text", or its "title" (group boxes, menus).
void WriteCaption(QObject* obj, const QString& value) {
  if (!WriteText(obj, "text", value)) WriteText(obj, "title", value);
}
}  // namespace

clsLanguage::clsLanguage() : clsLanguage(DefaultFilePath()) {}

clsLanguage::clsLanguage(const QString& filePath) { LoadLanguageFile(filePath); }

QString clsLanguage::DefaultFilePath() {
  QString help = AppInfo::HelpFile();
  if (help.isEmpty()) help = AppInfo::kHelpFileName;
  QString name = QFileInfo(help).fileName();
  name = name.left(name.indexOf('.') < 0 ? name.size() : name.indexOf('.'));
  return AppInfo::FindDataFile(name + ".lng");
}

void clsLanguage::LoadLanguageFile(const QString& fileName) {
  clsFile file;
  if (!file.OpenFile(fileName, clsFile::kRead | clsFile::kCallerFlag)) return;
  // A damaged or truncated file keeps the entries read before the fault; an entry cut
  // short is dropped.
  const quint64 count = file.ReadValue(3);
  for (quint64 i = 0; i < count && !file.ReadFailed(); ++i) {
    const QString name = file.ReadString();
    const QString text = file.ReadString();
    if (file.ReadFailed()) break;
    if (name.startsWith(kMessagePrefix, Qt::CaseSensitive))
      messages_.insert(Key(name.mid(kMessagePrefix.size())), text);  // later entry wins
    else if (!controlTexts_.contains(Key(name)))
      controlTexts_.insert(Key(name), text);  // first entry stays
  }
  loaded_ = true;
}

QString clsLanguage::GetString(const QString& name) const {
  return messages_.value(Key(name), name);
}

void clsLanguage::AddLanguageString(const QString& name, const QString& value) {
  if (!messages_.contains(Key(name))) messages_.insert(Key(name), value);
}

void clsLanguage::AddDefaultStrings() {
  for (const DefaultString& d : kDefaultStrings)
    AddLanguageString(QString::fromLatin1(d.key), QString::fromLatin1(d.text));
}

void clsLanguage::UpdateObject(QObject* obj) const {
  if (obj) UpdateObject(obj, obj->objectName());
}

void clsLanguage::UpdateObject(QObject* obj, const QString& windowName) const {
  if (!obj || windowName.isEmpty()) return;
  // Marked even without a file: a window that contains this one must leave its controls alone.
  obj->setProperty(kTextScope, true);
  if (!loaded_) return;
  ApplyTexts(obj, windowName + "_" + windowName, true);
  ApplyToChildren(obj, windowName);
}

void clsLanguage::ApplyToChildren(QObject* parent, const QString& windowName) const {
  // Every named object below the window, nested ones included; objects sharing a name
  // (control arrays) all get the same texts. A child that applies its own texts (an embedded
  // panel, an owned preview window) is a control here, but its inside is not.
  for (QObject* child : parent->children()) {
    if (!child->objectName().isEmpty())
      ApplyTexts(child, windowName + "_" + child->objectName(), false);
    if (!child->property(kTextScope).toBool()) ApplyToChildren(child, windowName);
  }
}

void clsLanguage::ApplyTexts(QObject* target, const QString& keyPrefix, bool isWindow) const {
  const auto cap = controlTexts_.constFind(Key(keyPrefix + "_cap"));
  if (cap != controlTexts_.cend()) {
    if (isWindow)
      WriteText(target, "windowTitle", *cap);
    else
      WriteCaption(target, *cap);
  }
  const auto txt = controlTexts_.constFind(Key(keyPrefix + "_txt"));
  if (txt != controlTexts_.cend()) WriteCaption(target, *txt);
  const auto tip = controlTexts_.constFind(Key(keyPrefix + "_tip"));
  if (tip != controlTexts_.cend()) WriteText(target, "toolTip", *tip);
}

clsLanguage& Language() {
  static clsLanguage language;
  return language;
}
