#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include "TestPictures.h"
#include "browse/ImageView.h"
#include "browse/frmPicturePreview.h"

using TestPictures::At;
using TestPictures::Filled;

namespace {

// Stands in for the optimiser window: answers its close as told and counts the questions.
class FakeOptimizer : public QWidget {
 public:
  explicit FakeOptimizer(bool accept) : accept_(accept) {}
  int asked = 0;

 protected:
  void closeEvent(QCloseEvent* event) override {
    ++asked;
    event->setAccepted(accept_);
  }

 private:
  bool accept_;
};

TEST(frmPicturePreviewTest, ViewAreaIsExactlyThePicture) {
  frmPicturePreview preview;
  preview.show();
  auto img = Filled(640, 480, Qt::green);
  preview.SetImage(img);
  EXPECT_EQ(preview.View()->ViewSize(), QSize(640, 480));
  EXPECT_EQ(preview.size(),
            QSize(640 + preview.View()->GetDeltaWidth(), 480 + preview.View()->GetDeltaHeight()));
  EXPECT_EQ(preview.View()->size(), preview.size());
  // The window holds the object itself, as does its view.
  EXPECT_EQ(preview.GetImage(), img);
  EXPECT_EQ(preview.View()->Image(), img);
}

TEST(frmPicturePreviewTest, TinyPictureStillLeavesRoomForTheControls) {
  frmPicturePreview preview;
  preview.show();
  preview.SetImage(Filled(24, 16, Qt::green));
  EXPECT_GE(preview.width(), frmPicturePreview::kMinimumSize.width());
  EXPECT_GE(preview.height(), frmPicturePreview::kMinimumSize.height());
  EXPECT_EQ(preview.View()->size(), preview.size());
  // The whole picture shows: nothing to scroll.
  EXPECT_FALSE(preview.View()->findChild<QScrollBar*>(QStringLiteral("HScroll"))->isEnabled());
  EXPECT_FALSE(preview.View()->findChild<QScrollBar*>(QStringLiteral("VScroll"))->isEnabled());
}

TEST(frmPicturePreviewTest, SizeLimitHoldsUntilTheWindowIsMovedAway) {
  frmPicturePreview preview;
  preview.show();
  preview.SetImage(Filled(300, 200, Qt::green));
  const QRect area(preview.frameGeometry().topLeft(), QSize(400, 300));
  preview.SetSizeLimit(area);
  preview.SetImage(Filled(1000, 800, Qt::green));  // a picture that grew
  EXPECT_TRUE(area.contains(preview.frameGeometry())) << "covers what lies below the area";
  EXPECT_EQ(preview.frameGeometry().topLeft(), area.topLeft());

  preview.move(area.right() + 50, area.top());
  preview.SetImage(Filled(600, 500, Qt::green));
  EXPECT_EQ(preview.View()->ViewSize(), QSize(600, 500)) << "a moved window sizes freely";
}

TEST(frmPicturePreviewTest, SizedBeforeItIsShown) {
  frmPicturePreview preview;
  preview.SetImage(Filled(300, 200, Qt::green));
  preview.show();
  EXPECT_EQ(preview.View()->ViewSize(), QSize(300, 200));
}

TEST(frmPicturePreviewTest, MaximisedWindowKeepsItsSize) {
  frmPicturePreview preview;
  preview.showMaximized();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview));
  const QSize before = preview.size();
  preview.SetImage(Filled(640, 480, Qt::green));
  EXPECT_TRUE(preview.isMaximized());
  EXPECT_EQ(preview.size(), before);
  EXPECT_NE(preview.View()->ViewSize(), QSize(640, 480));
}

TEST(frmPicturePreviewTest, PictureLargerThanTheScreenScrolls) {
  frmPicturePreview preview;
  preview.show();
  preview.SetImage(Filled(3000, 2000, Qt::green));
  const QRect available = preview.screen()->availableGeometry();
  EXPECT_TRUE(available.contains(preview.frameGeometry())) << preview.frameGeometry().width();
  EXPECT_LT(preview.View()->ViewSize().width(), 3000);
  EXPECT_TRUE(preview.View()->findChild<QScrollBar*>(QStringLiteral("HScroll"))->isEnabled());
  EXPECT_TRUE(preview.View()->findChild<QScrollBar*>(QStringLiteral("VScroll"))->isEnabled());
}

TEST(frmPicturePreviewTest, RedrawShowsChangesToTheHeldPicture) {
  frmPicturePreview preview;
  preview.show();
  auto img = Filled(200, 100, Qt::green);
  preview.SetImage(img);
  preview.RedrawImage();
  EXPECT_EQ(At(preview.View()->GetViewAreaAsImage(), 10, 10), QColor(Qt::green));
  img->Surface().fill(Qt::blue);  // as an effect applied to the source would
  preview.RedrawImage();
  EXPECT_EQ(At(preview.View()->GetViewAreaAsImage(), 10, 10), QColor(Qt::blue));
}

TEST(frmPicturePreviewTest, CloseAsksItsGuardFirst) {
  // The owner's guard asks the optimiser to close, as the shell's and the optimiser's do.
  const struct {
    bool optimizerAccepts, previewCloses;
  } rows[] = {
      {false, false},  // the user cancelled the optimiser's save question
      {true, true},    // the optimiser closed: so does the preview
  };
  for (const auto& r : rows) {
    FakeOptimizer optimizer(r.optimizerAccepts);
    optimizer.show();
    frmPicturePreview preview;
    preview.SetCloseGuard([&optimizer] { return optimizer.close(); });
    preview.show();
    auto img = Filled(64, 48, Qt::green);
    preview.SetImage(img);

    EXPECT_EQ(preview.close(), r.previewCloses);
    EXPECT_EQ(optimizer.asked, 1);
    EXPECT_EQ(preview.isVisible(), !r.previewCloses);
    // A closed preview lets go of the picture; one that stays keeps showing it.
    EXPECT_EQ(img.use_count(), r.previewCloses ? 1 : 3);
  }
}

TEST(frmPicturePreviewTest, CloseWithoutAGuard) {
  FakeOptimizer hidden(false);  // nobody asks it
  frmPicturePreview preview;
  preview.show();
  auto img = Filled(64, 48, Qt::green);
  preview.SetImage(img);
  EXPECT_TRUE(preview.close());
  EXPECT_EQ(hidden.asked, 0);
  EXPECT_EQ(preview.GetImage(), nullptr);
  EXPECT_EQ(img.use_count(), 1);
}

}  // namespace
