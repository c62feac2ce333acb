#pragma once
// A Dialogs instance for tests: records every request and answers from a script,
// so a widget test never blocks on a modal dialog.
#include <QList>
#include <QString>
#include <QStringList>

#include "controls/Dialogs.h"

class RecordingDialogs : public Dialogs {
 public:
  struct Call {
    QString kind;  // "message", "open", "openMany", "save", "folder", "url"
    QString text;  // message text, or the title of a file dialog, or the URL
    int style = 0;
    QString title;
    Answer defaultAnswer = Ok;  // the button Enter would press
    QString path{};             // the name or folder a file dialog starts on
  };

  RecordingDialogs() { Dialogs::Install(this); }
  ~RecordingDialogs() override { Dialogs::Install(nullptr); }

  QList<Call> calls;
  QList<Answer> answers;    // popped for each message; Ok / Cancel-by-style when empty
  QStringList fileAnswers;  // popped for each file or folder dialog; "" when empty

  Answer Message(QWidget*, const QString& text, int style, const QString& title) override {
    calls.append({"message", text, style, title, DefaultAnswer(style)});
    if (!answers.isEmpty()) return answers.takeFirst();
    return (style & 7) == OkOnly ? Ok : Cancel;
  }
  QString OpenFile(QWidget*, const QString& title, const QString&, const QString&) override {
    calls.append({"open", title, 0, title});
    return NextFile();
  }
  QStringList OpenFiles(QWidget*, const QString& title, const QString&, const QString&) override {
    calls.append({"openMany", title, 0, title});
    const QString f = NextFile();
    return f.isEmpty() ? QStringList() : f.split('\n');
  }
  QString SaveFile(QWidget*, const QString& title, const QString& path, const QString&) override {
    calls.append({"save", title, 0, title, Ok, path});
    return NextFile();
  }
  QString Folder(QWidget*, const QString& title, const QString&) override {
    calls.append({"folder", title, 0, title});
    return NextFile();
  }
  void OpenUrl(const QString& url) override { calls.append({"url", url, 0, {}}); }

  int MessageCount() const {
    int n = 0;
    for (const Call& c : calls) n += c.kind == "message";
    return n;
  }

 private:
  QString NextFile() { return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst(); }
};
