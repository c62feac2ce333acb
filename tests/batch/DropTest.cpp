// Pictures dragged from a file manager: onto the optimiser (the first one loads) and onto the
// wizard's list page (pictures and folders are listed, other files are not).
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "WizardFixtures.h"
#include "optimizer/frmImgOpt.h"

using namespace WizardFixtures;

namespace {

// Sends a drag entering the window and, when it is accepted, the drop; true when both are.
bool Drop(QWidget* target, const QStringList& paths, const QString& text = QString()) {
  QMimeData mime;
  QList<QUrl> urls;
  for (const QString& p : paths) urls << QUrl::fromLocalFile(p);
  if (!urls.isEmpty()) mime.setUrls(urls);
  if (!text.isEmpty()) mime.setText(text);
  const QPoint at(target->width() / 2, target->height() / 2);
  QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
  return drop.isAccepted();
}

class Dropping : public RunFolderTest {};

TEST_F(Dropping, APictureDroppedOnTheOptimiserLoads) {
  const QString a = Picture(root + "/a.png", 64, 48);
  const QString b = Picture(root + "/b.jpg", 30, 20);
  struct Row {
    const char* what;
    QStringList paths;
    QString text;
    bool accepted;
    QString loaded;  // the picture shown afterwards
    int width;
  };
  frmImgOpt window;
  window.setAttribute(Qt::WA_DeleteOnClose, false);
  window.show();
  for (const Row& row : {Row{"text only", {}, "not a file", false, QString(), 0},
                         Row{"a picture", {a}, {}, true, a, 64},
                         Row{"two: the first loads", {b, a}, {}, true, b, 30}}) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(Drop(&window, row.paths, row.text), row.accepted);
    EXPECT_EQ(window.GetFileName(), row.loaded);
    if (row.width) {
      EXPECT_EQ(window.SourcePicture()->Width(), row.width);
      EXPECT_TRUE(window.windowTitle().endsWith(QFileInfo(row.loaded).fileName() + "]"))
          << window.windowTitle().toStdString();
    }
  }
  EXPECT_EQ(dialogs.MessageCount(), 0);
}

TEST_F(Dropping, PicturesAndFoldersDroppedOnTheWizardAreListed) {
  const QString a = Picture(root + "/a.png");
  const QString inFolder = Picture(root + "/folder/sub/c.png");
  QFile note(root + "/note.txt");
  ASSERT_TRUE(note.open(QIODevice::WriteOnly));
  note.write("text");
  note.close();
  frmBatch batch;
  batch.show();
  struct Row {
    const char* what;
    QStringList paths;
    bool accepted;
    int files;
  };
  for (const Row& row : {Row{"a picture and a text file", {a, note.fileName()}, true, 1},
                         Row{"a folder, with its subfolders", {root + "/folder"}, true, 2},
                         Row{"the same picture again", {a}, true, 2}}) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(Drop(&batch, row.paths), row.accepted);
    EXPECT_EQ(batch.FileCount(), row.files);
  }
  // Past the list page the list is what the run takes: a drop is refused.
  Child<QPushButton>(&batch, "cmdNext")->click();
  ASSERT_EQ(batch.Page(), 1);
  EXPECT_FALSE(Drop(&batch, {Picture(root + "/late.png")}));
  EXPECT_EQ(batch.FileCount(), 2);
}

}  // namespace
