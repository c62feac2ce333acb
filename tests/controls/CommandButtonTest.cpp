#include <gtest/gtest.h>

#include <QCursor>
#include <QImage>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>
#include <functional>

#include "RecordingDialogs.h"
#include "controls/CommandButton.h"

namespace {

constexpr QPoint kInside(20, 15);
constexpr QPoint kOutside(90, 15);

bool WaitUntil(const std::function<bool()>& done, int ms = 3000) {
  for (int waited = 0; !done() && waited < ms; waited += 10) QTest::qWait(10);
  return done();
}

QPixmap Solid(QColor colour, int w = 16, int h = 16) {
  QPixmap pm(w, h);
  pm.fill(colour);
  return pm;
}

class CommandButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.resize(200, 100);
    button = new CommandButton(&window);
    button->setGeometry(10, 10, 40, 30);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
  void TearDown() override {
    // QTest keeps the held buttons between tests.
    if (held_ != Qt::NoButton) QTest::mouseRelease(button, held_, {}, kOutside);
  }

  void PointerTo(QPoint local) { QCursor::setPos(button->mapToGlobal(local)); }
  void Press(QPoint p = kInside, Qt::MouseButton b = Qt::LeftButton) {
    PointerTo(p);
    QTest::mousePress(button, b, {}, p);
    held_ = b;
  }
  void DragTo(QPoint p) {
    PointerTo(p);
    QTest::mouseMove(button, p);
  }
  void Release(QPoint p = kInside, Qt::MouseButton b = Qt::LeftButton) {
    QTest::mouseRelease(button, b, {}, p);
    held_ = Qt::NoButton;
  }
  QImage Shot() { return button->grab().toImage(); }
  QRgb Role(QPalette::ColorRole role) { return button->palette().color(role).rgb(); }

  QWidget window;
  CommandButton* button = nullptr;
  Qt::MouseButton held_ = Qt::NoButton;
};

struct BorderCase {
  bool pressed;
  QPalette::ColorRole top, topInner, bottom, bottomInner, left, right;
};
class CommandButtonBorderTest : public CommandButtonTest,
                                public ::testing::WithParamInterface<BorderCase> {};

TEST_P(CommandButtonBorderTest, DrawsTheEightLinesForTheState) {
  const BorderCase& c = GetParam();
  if (c.pressed) {
    button->SetToggleMode(true);
    button->SetValue(true);
  }
  const QImage img = Shot();
  EXPECT_EQ(img.pixel(20, 0), Role(c.top));
  EXPECT_EQ(img.pixel(20, 1), Role(c.topInner));
  EXPECT_EQ(img.pixel(20, 29), Role(c.bottom));
  EXPECT_EQ(img.pixel(20, 28), Role(c.bottomInner));
  EXPECT_EQ(img.pixel(0, 15), Role(c.left));
  EXPECT_EQ(img.pixel(39, 15), Role(c.right));
  EXPECT_EQ(img.pixel(20, 15), button->BackColor().rgb());
}
INSTANTIATE_TEST_SUITE_P(
    States, CommandButtonBorderTest,
    ::testing::Values(BorderCase{false, QPalette::Light, QPalette::Midlight, QPalette::Shadow,
                                 QPalette::Dark, QPalette::Light, QPalette::Shadow},
                      BorderCase{true, QPalette::Shadow, QPalette::Dark, QPalette::Light,
                                 QPalette::Midlight, QPalette::Shadow, QPalette::Light}));

TEST_F(CommandButtonTest, CentresThePictureAndShiftsItWhenPressed) {
  button->SetPicture(Solid(Qt::red));
  QImage img = Shot();
  EXPECT_EQ(img.pixel(12, 7), QColor(Qt::red).rgb());
  EXPECT_EQ(img.pixel(27, 22), QColor(Qt::red).rgb());
  EXPECT_NE(img.pixel(28, 23), QColor(Qt::red).rgb());
  Press();
  img = Shot();
  EXPECT_NE(img.pixel(12, 7), QColor(Qt::red).rgb());
  EXPECT_EQ(img.pixel(13, 8), QColor(Qt::red).rgb());
  EXPECT_EQ(img.pixel(28, 23), QColor(Qt::red).rgb());
}

TEST_F(CommandButtonTest, DisabledPictureIsStippledWithTheFace) {
  button->SetBackColor(Qt::yellow);
  button->SetPicture(Solid(Qt::blue));
  button->SetEnabled(false);
  const QImage img = Shot();
  const QRgb face = QColor(Qt::yellow).rgb(), blue = QColor(Qt::blue).rgb();
  // The picture starts at (12, 7); its own (x, y) is face where x and y have equal parity.
  EXPECT_EQ(img.pixel(12, 7), face);
  EXPECT_EQ(img.pixel(13, 7), blue);
  EXPECT_EQ(img.pixel(12, 8), blue);
  EXPECT_EQ(img.pixel(13, 8), face);
  button->SetEnabled(true);
  EXPECT_EQ(Shot().pixel(12, 7), blue);
}

TEST_F(CommandButtonTest, PictureFrameEnlargesThePictureArea) {
  button->SetPicture(Solid(Qt::red));
  button->SetPictureBorder(true);
  const QImage img = Shot();
  EXPECT_EQ(img.pixel(11, 6), button->palette().color(QPalette::WindowText).rgb());
  EXPECT_EQ(img.pixel(12, 7), QColor(Qt::red).rgb());
}

TEST_F(CommandButtonTest, ClickRaisesEventsInOrder) {
  QStringList events;
  QObject::connect(button, &CommandButton::MouseDown, [&](int b, int, float x, float y) {
    events << QString("down %1 %2,%3").arg(b).arg(x).arg(y);
  });
  QObject::connect(button, &CommandButton::MouseUp,
                   [&](int b, int, float, float) { events << QString("up %1").arg(b); });
  QObject::connect(button, &CommandButton::Click, [&] { events << "click"; });
  Press();
  EXPECT_TRUE(button->Pressed());
  EXPECT_FALSE(button->Value());  // not a toggle button
  Release();
  EXPECT_FALSE(button->Pressed());
  EXPECT_EQ(events, (QStringList{"down 1 20,15", "up 1", "click"}));
}

TEST_F(CommandButtonTest, RightButtonGivesMouseEventsButNoClick) {
  QSignalSpy clicks(button, &CommandButton::Click);
  QSignalSpy downs(button, &CommandButton::MouseDown);
  Press(kInside, Qt::RightButton);
  EXPECT_FALSE(button->Pressed());
  Release(kInside, Qt::RightButton);
  EXPECT_EQ(downs.count(), 1);
  EXPECT_EQ(downs.at(0).at(0).toInt(), 2);
  EXPECT_EQ(clicks.count(), 0);
}

TEST_F(CommandButtonTest, DraggedOffPressPopsUpAndRaisesNoClick) {
  QSignalSpy clicks(button, &CommandButton::Click);
  Press();
  DragTo(kOutside);
  EXPECT_TRUE(WaitUntil([&] { return !button->Pressed(); }));
  DragTo(kInside);
  EXPECT_TRUE(WaitUntil([&] { return button->Pressed(); }));  // sinks again on the way back
  DragTo(kOutside);
  EXPECT_TRUE(WaitUntil([&] { return !button->Pressed(); }));
  Release(kOutside);
  EXPECT_FALSE(button->Pressed());
  EXPECT_EQ(clicks.count(), 0);
}

TEST_F(CommandButtonTest, ToggleButtonFlipsOnClickAndNotWhenDraggedOff) {
  QSignalSpy clicks(button, &CommandButton::Click);
  button->SetToggleMode(true);
  Press();
  Release();
  EXPECT_TRUE(button->Value());
  EXPECT_TRUE(button->Pressed());
  EXPECT_EQ(clicks.count(), 1);
  // Released off the button before any timer tick: the state still goes back.
  Press();
  EXPECT_FALSE(button->Pressed());
  PointerTo(kOutside);
  Release(kOutside);
  EXPECT_TRUE(button->Value());
  EXPECT_EQ(clicks.count(), 1);
  Press();
  Release();
  EXPECT_FALSE(button->Value());
  EXPECT_EQ(clicks.count(), 2);
}

TEST_F(CommandButtonTest, AutoRepeatClicksOnlyWhileHeldOverTheButton) {
  QSignalSpy clicks(button, &CommandButton::Click);
  button->SetGenerateClicks(true);
  Press();
  EXPECT_EQ(clicks.count(), 1);  // at once, before any tick
  EXPECT_TRUE(WaitUntil([&] { return clicks.count() >= 3; }));
  DragTo(kOutside);
  ASSERT_TRUE(WaitUntil([&] { return !button->Pressed(); }));
  const int offCount = clicks.count();
  QTest::qWait(250);
  EXPECT_EQ(clicks.count(), offCount);
  DragTo(kInside);
  EXPECT_TRUE(WaitUntil([&] { return clicks.count() > offCount; }));
  Release();
  const int released = clicks.count();
  QTest::qWait(150);
  EXPECT_EQ(clicks.count(), released);  // no click from the release, no repeats after it
}

TEST_F(CommandButtonTest, DisablingAHeldButtonEndsThePress) {
  QSignalSpy clicks(button, &CommandButton::Click);
  button->SetGenerateClicks(true);
  Press();
  button->SetEnabled(false);
  EXPECT_FALSE(button->Pressed());
  QTest::qWait(250);
  EXPECT_EQ(clicks.count(), 1);
}

TEST_F(CommandButtonTest, HotTrackShowsTheBorderOnlyUnderTheMouse) {
  QSignalSpy enter(button, &CommandButton::MouseEnter);
  QSignalSpy exit(button, &CommandButton::MouseExit);
  PointerTo(kOutside);
  button->SetHideBorder(true);
  EXPECT_FALSE(button->BorderShown());
  EXPECT_EQ(Shot().pixel(20, 0), button->BackColor().rgb());
  QTest::mouseMove(button, kInside);
  EXPECT_TRUE(button->BorderShown());
  EXPECT_EQ(enter.count(), 1);
  QTest::mouseMove(button, kInside + QPoint(1, 0));
  EXPECT_EQ(enter.count(), 1);
  PointerTo(kOutside);
  EXPECT_TRUE(WaitUntil([&] { return exit.count() == 1; }));
  EXPECT_FALSE(button->BorderShown());
}

TEST_F(CommandButtonTest, ToggledOnButtonKeepsItsBorderInHotTrack) {
  QSignalSpy exit(button, &CommandButton::MouseExit);
  button->SetToggleMode(true);
  button->SetHideBorder(true);
  EXPECT_FALSE(button->BorderShown());
  QTest::mouseMove(button, kInside);
  Press();
  Release();
  ASSERT_TRUE(button->Value());
  PointerTo(kOutside);
  QTest::qWait(100);
  EXPECT_TRUE(button->BorderShown());
  EXPECT_EQ(exit.count(), 0);
  button->SetValue(false);  // now nothing holds the border
  EXPECT_FALSE(button->BorderShown());
  EXPECT_TRUE(WaitUntil([&] { return exit.count() == 1; }));
}

TEST_F(CommandButtonTest, ValueOfANonToggleButtonCannotBeSet) {
  RecordingDialogs dialogs;
  button->SetValue(true);
  ASSERT_EQ(dialogs.MessageCount(), 1);
  EXPECT_EQ(dialogs.calls[0].text, "In non-toggle mode, value can't be set!");
  EXPECT_EQ(dialogs.calls[0].style, 48);
  EXPECT_FALSE(button->Pressed());
  EXPECT_FALSE(button->Value());
  button->SetValue(false);
  EXPECT_EQ(dialogs.MessageCount(), 1);
}

TEST_F(CommandButtonTest, ModesExcludeEachOther) {
  button->SetGenerateClicks(true);
  button->SetToggleMode(true);
  EXPECT_FALSE(button->GenerateClicks());
  button->SetValue(true);
  EXPECT_TRUE(button->Pressed());
  button->SetGenerateClicks(true);  // a toggled-on button must not stay sunken
  EXPECT_FALSE(button->ToggleMode());
  EXPECT_FALSE(button->Pressed());
  button->SetToggleMode(true);
  button->SetValue(true);
  button->SetToggleMode(false);
  EXPECT_FALSE(button->Pressed());
  EXPECT_FALSE(button->Value());
}

TEST_F(CommandButtonTest, DefaultsOfANewButton) {
  CommandButton fresh;
  EXPECT_FALSE(fresh.ToggleMode());
  EXPECT_FALSE(fresh.Value());
  EXPECT_TRUE(fresh.Picture().isNull());
  EXPECT_TRUE(fresh.Enabled());
  EXPECT_FALSE(fresh.GenerateClicks());
  EXPECT_EQ(fresh.BackColor(), fresh.palette().color(QPalette::Button));
  EXPECT_FALSE(fresh.HideBorder());
  EXPECT_FALSE(fresh.PictureBorder());
  EXPECT_TRUE(fresh.BorderShown());
}

}  // namespace
