#include "controls/Dialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

#include "core/AppInfo.h"

namespace {

class QtDialogs final : public Dialogs {
 public:
  Answer Message(QWidget* parent, const QString& text, int style, const QString& title) override {
    QMessageBox box(parent);
    box.setWindowTitle(title);
    box.setText(text);
    switch (style & 0x70) {
      case Critical:
        box.setIcon(QMessageBox::Critical);
        break;
      case Question:
        box.setIcon(QMessageBox::Question);
        break;
      case Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
      case Information:
        box.setIcon(QMessageBox::Information);
        break;
      default:
        break;
    }
    switch (style & 0x7) {
      case OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
      case YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
      case YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
      default:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    switch (DefaultAnswer(style)) {
      case Yes:
        box.setDefaultButton(QMessageBox::Yes);
        break;
      case No:
        box.setDefaultButton(QMessageBox::No);
        break;
      case Cancel:
        box.setDefaultButton(QMessageBox::Cancel);
        break;
      default:
        box.setDefaultButton(QMessageBox::Ok);
        break;
    }
    switch (box.exec()) {
      case QMessageBox::Yes:
        return Yes;
      case QMessageBox::No:
        return No;
      case QMessageBox::Cancel:
        return Cancel;
      default:
        return (style & 0x7) == YesNoCancel ? Cancel : Ok;  // closed by Esc or the frame
    }
  }
  QString OpenFile(QWidget* parent, const QString& title, const QString& folder,
                   const QString& filter) override {
    return QFileDialog::getOpenFileName(parent, title, folder, filter);
  }
  QStringList OpenFiles(QWidget* parent, const QString& title, const QString& folder,
                        const QString& filter) override {
    return QFileDialog::getOpenFileNames(parent, title, folder, filter);
  }
  QString SaveFile(QWidget* parent, const QString& title, const QString& path,
                   const QString& filter) override {
    return QFileDialog::getSaveFileName(parent, title, path, filter);
  }
  QString Folder(QWidget* parent, const QString& title, const QString& folder) override {
    return QFileDialog::getExistingDirectory(parent, title, folder);
  }
  void OpenUrl(const QString& url) override { QDesktopServices::openUrl(QUrl(url)); }
};

Dialogs* g_installed = nullptr;

}  // namespace

Dialogs::Answer Dialogs::DefaultAnswer(int style) {
  const int second = (style & DefaultButton2) ? 1 : (style & DefaultButton3) ? 2 : 0;
  switch (style & 0x7) {
    case OkCancel:
      return second ? Cancel : Ok;
    case YesNoCancel:
      return second == 2 ? Cancel : second ? No : Yes;
    case YesNo:
      return second ? No : Yes;
    default:
      return Ok;
  }
}

Dialogs& Dialogs::Current() {
  static QtDialogs qt;
  return g_installed ? *g_installed : qt;
}

void Dialogs::Install(Dialogs* d) { g_installed = d; }

Dialogs::Answer MsgBox(QWidget* parent, const QString& text, int style, const QString& title) {
  return Dialogs::Current().Message(parent, text, style,
                                    title.isEmpty() ? QString(AppInfo::kProductName) : title);
}
