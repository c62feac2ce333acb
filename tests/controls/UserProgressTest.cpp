#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include "controls/UserProgress.h"

namespace {

// A 202 x 22 control with a one-pixel frame: the inner area is 200 x 20.
std::unique_ptr<UserProgress> MakeBar(int min = 0, int max = 100) {
  auto bar = std::make_unique<UserProgress>();
  bar->resize(202, 22);
  bar->SetMin(min);
  bar->SetMax(max);
  return bar;
}

struct UpdateCase {
  int min, max, value;
  int stored;    // Value after the update
  int barWidth;  // 0 = bar hidden
  QString text;  // "" = label hidden
};
class UserProgressUpdateTest : public ::testing::TestWithParam<UpdateCase> {};

TEST_P(UserProgressUpdateTest, DrawsBarAndText) {
  const UpdateCase& c = GetParam();
  auto bar = MakeBar(c.min, c.max);
  bar->SetValue(c.value);
  EXPECT_EQ(bar->Value(), c.stored);
  EXPECT_EQ(bar->BarRect().width(), c.barWidth);
  EXPECT_EQ(bar->Label()->isVisibleTo(bar.get()), !c.text.isEmpty());
  if (!c.text.isEmpty()) {
    EXPECT_EQ(bar->Label()->text(), c.text);
  }
}
INSTANTIATE_TEST_SUITE_P(
    Values, UserProgressUpdateTest,
    ::testing::Values(UpdateCase{0, 8, 3, 3, 75, "38%"},  // 37.5 -> 38
                      UpdateCase{0, 8, 1, 1, 25, "12%"},  // 12.5 -> 12
                      UpdateCase{0, 100, 100, 100, 200, "100%"},
                      UpdateCase{0, 100, 250, 100, 200, "100%"},  // above Max is stored as Max
                      UpdateCase{10, 20, 5, 10, 0, ""},           // below Min is stored as Min
                      UpdateCase{0, 200, 0, 0, 0, ""},
                      UpdateCase{0, 200, 1, 1, 1, ""},  // 0.5 % rounds to 0: bar, no text
                      UpdateCase{0, 200, 3, 3, 3, "2%"},
                      UpdateCase{50, 50, 70, 70, 0, ""},  // Min = Max: never a bar
                      UpdateCase{60, 50, 55, 55, 0, ""}));

TEST(UserProgressTest, FixedTextIsShownUnchangedAndEmptyTextNothing) {
  auto bar = MakeBar();
  bar->SetBarText("Working");
  bar->SetValue(40);
  EXPECT_TRUE(bar->Label()->isVisibleTo(bar.get()));
  EXPECT_EQ(bar->Label()->text(), "Working");
  bar->SetValue(0);  // a fixed text stays with an empty bar
  EXPECT_TRUE(bar->Label()->isVisibleTo(bar.get()));
  bar->SetBarText("");
  bar->SetValue(50);
  EXPECT_FALSE(bar->Label()->isVisibleTo(bar.get()));
}

TEST(UserProgressTest, SetTextShowsAtOnceAndClearHides) {
  auto bar = MakeBar();
  bar->SetValue(50);
  bar->SetText("Done");
  EXPECT_EQ(bar->BarText(), "Done");
  EXPECT_EQ(bar->Label()->text(), "Done");
  EXPECT_TRUE(bar->Label()->isVisibleTo(bar.get()));
  bar->Clear();
  EXPECT_FALSE(bar->Label()->isVisibleTo(bar.get()));
  EXPECT_EQ(bar->Value(), 0);
  EXPECT_EQ(bar->BarRect().width(), 100);  // the bar waits for the next update
}

TEST(UserProgressTest, ValueChangeOnlyWhenTheValueChanged) {
  auto bar = MakeBar();
  QSignalSpy changes(bar.get(), &UserProgress::ValueChange);
  bar->SetValue(30);
  bar->SetValue(30);
  ASSERT_EQ(changes.count(), 1);
  EXPECT_EQ(changes.at(0).at(0).toInt(), 30);
  bar->SetValue(150);
  bar->SetValue(120);  // stored as Max again: no change
  ASSERT_EQ(changes.count(), 2);
  EXPECT_EQ(changes.at(1).at(0).toInt(), 100);
  bar->SetValue(0);
  EXPECT_EQ(changes.count(), 3);
}

TEST(UserProgressTest, NewRangeIsDrawnEvenForTheSameValue) {
  auto bar = MakeBar(0, 5);
  bar->SetValue(5);
  bar->SetMax(10);
  bar->SetValue(5);
  EXPECT_EQ(bar->BarRect().width(), 100);
  EXPECT_EQ(bar->Label()->text(), "50%");
}

TEST(UserProgressTest, DefaultsOfANewControl) {
  UserProgress bar;
  EXPECT_EQ(bar.Min(), 0);
  EXPECT_EQ(bar.Max(), 100);
  EXPECT_EQ(bar.Value(), 0);
  EXPECT_EQ(bar.BarText(), "%");
  EXPECT_EQ(bar.BarColor(), QColor(0, 0, 128));
  EXPECT_EQ(bar.TextColor(), QColor(255, 0, 0));
  EXPECT_EQ(bar.BkColor(), QColor(192, 192, 192));
  EXPECT_EQ(bar.BackColor(), QColor(192, 192, 192));
  EXPECT_TRUE(bar.BarRect().isEmpty());
  EXPECT_FALSE(bar.Label()->isVisibleTo(&bar));  // 0 % shows no text
}

TEST(UserProgressTest, PaintsBarBackgroundAndTextColours) {
  auto bar = MakeBar(0, 8);
  bar->SetBarColor(Qt::darkGreen);
  bar->SetTextColor(Qt::magenta);
  bar->SetBkColor(Qt::white);
  bar->SetValue(3);  // colours are fields: they apply with the update
  const QImage img = bar->grab().toImage();
  EXPECT_EQ(img.pixel(3, 3), QColor(Qt::darkGreen).rgb());
  EXPECT_EQ(img.pixel(75, 20), QColor(Qt::darkGreen).rgb());  // last bar column
  EXPECT_EQ(img.pixel(77, 20), QColor(Qt::white).rgb());
  EXPECT_EQ(img.pixel(198, 3), QColor(Qt::white).rgb());
  EXPECT_EQ(bar->Label()->palette().color(QPalette::WindowText), QColor(Qt::magenta));
}

TEST(UserProgressTest, FontFitsTheHeightAndGrowsWithIt) {
  auto bar = MakeBar();
  bar->show();  // resize events reach shown widgets only
  bar->SetValue(50);
  const QLabel* label = bar->Label();
  const int small = label->font().pointSize();
  EXPECT_LT(QFontMetrics(label->font()).height(), 20);
  EXPECT_GE(label->geometry().top(), 1);
  EXPECT_LE(label->geometry().bottom(), 20);
  EXPECT_EQ(label->width(), 200);
  bar->resize(202, 82);
  EXPECT_GT(label->font().pointSize(), small);
  EXPECT_LT(QFontMetrics(label->font()).height(), 80);
  bar->resize(202, 6);
  EXPECT_EQ(label->font().pointSize(), 7);  // nothing fits
}

TEST(UserProgressTest, ResizeKeepsTheBarProportional) {
  auto bar = MakeBar(0, 8);
  bar->show();
  bar->SetValue(3);
  bar->resize(402, 22);
  EXPECT_EQ(bar->BarRect().width(), 150);
}

TEST(UserProgressTest, ForwardsMouseEvents) {
  auto bar = MakeBar();
  bar->show();
  QSignalSpy clicks(bar.get(), &UserProgress::Click);
  QSignalSpy downs(bar.get(), &UserProgress::MouseDown);
  QSignalSpy doubles(bar.get(), &UserProgress::DblClick);
  QTest::mouseClick(bar.get(), Qt::LeftButton, Qt::ShiftModifier, QPoint(100, 10));
  ASSERT_EQ(downs.count(), 1);
  EXPECT_EQ(downs.at(0).at(0).toInt(), 1);
  EXPECT_EQ(downs.at(0).at(1).toInt(), 1);
  EXPECT_FLOAT_EQ(downs.at(0).at(2).toFloat(), 100.0f);
  EXPECT_EQ(clicks.count(), 1);
  QTest::mouseDClick(bar.get(), Qt::LeftButton, {}, QPoint(100, 10));
  EXPECT_EQ(doubles.count(), 1);
}

}  // namespace
