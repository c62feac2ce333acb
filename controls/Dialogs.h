#pragma once
// The one seam through which windows show message boxes, file dialogs and web pages.
// Tests install a recording instance that answers without blocking and keeps the texts.
#include <QString>
#include <QStringList>

class QWidget;

class Dialogs {
 public:
  // Message box style = buttons + icon, as the windows pass it (48 = OK with exclamation).
  static constexpr int OkOnly = 0, OkCancel = 1, YesNoCancel = 3, YesNo = 4;
  static constexpr int Critical = 16, Question = 32, Exclamation = 48, Information = 64;
  // The button Enter presses; the first unless one of these is added. A question whose Yes
  // replaces or removes a file makes the safe answer the default.
  static constexpr int DefaultButton2 = 256, DefaultButton3 = 512;
  enum Answer { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

  virtual ~Dialogs() = default;

  // The answer of the default button of style (OK, Yes, No or Cancel).
  static Answer DefaultAnswer(int style);

  virtual Answer Message(QWidget* parent, const QString& text, int style, const QString& title) = 0;
  // Empty text / list when the user cancels. filter uses Qt's "Name (*.a *.b);;..." form.
  virtual QString OpenFile(QWidget* parent, const QString& title, const QString& folder,
                           const QString& filter) = 0;
  virtual QStringList OpenFiles(QWidget* parent, const QString& title, const QString& folder,
                                const QString& filter) = 0;
  virtual QString SaveFile(QWidget* parent, const QString& title, const QString& path,
                           const QString& filter) = 0;
  virtual QString Folder(QWidget* parent, const QString& title, const QString& folder) = 0;
  virtual void OpenUrl(const QString& url) = 0;

  // The instance in use; the Qt one unless a test installed another.
  static Dialogs& Current();
  // Installs d (not owned) or, with nullptr, goes back to the Qt dialogs.
  static void Install(Dialogs* d);
};

// Shorthand for the common message box with the program's title as caption.
Dialogs::Answer MsgBox(QWidget* parent, const QString& text, int style = Dialogs::OkOnly,
                       const QString& title = QString());
