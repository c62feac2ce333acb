#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QSlider>
#include <memory>

#include "OptimizerFixtures.h"
#include "controls/CommandButton.h"
#include "optimizer/OptionControls.h"
#include "optimizer/frmImgOpt.h"

namespace {

// The two name sets in use: the optimiser window's and the batch options panel's.
struct NamesCase {
  OptionControls::Names names;
  const char* label;
};

class OptionControlsTest : public ::testing::TestWithParam<NamesCase> {
 protected:
  void SetUp() override {
    controls_ = OptionControls::Build(GetParam().names, QFontMetrics(QFont()));
    // The builder leaves the placing to the window; here they go with the test.
    for (QWidget* w : Placed()) owned_.emplace_back(w);
  }
  std::vector<QWidget*> Placed() const {
    const OptionControls& c = controls_;
    return {c.lblQualityCaption, c.sldQuality,    c.lblQuality,   c.lblScale,     c.sldSize,
            c.lblSize,           c.chkManualSize, c.chkMaintain,  c.txtWidth,     c.txtHeight,
            c.txtSizeX,          c.txtSizeY,      c.cmdApplySize, c.fraStatistics};
  }

  OptionControls controls_;
  std::vector<std::unique_ptr<QWidget>> owned_;
};

TEST_P(OptionControlsTest, EachControlCarriesItsWindowsNameAndIsLeftForTheWindowToPlace) {
  const OptionControls::Names& n = GetParam().names;
  const std::vector<QWidget*> placed = Placed();
  const QStringList expected = {n.qualityCaption, "sldQuality", "lblQuality",    n.scaleCaption,
                                "sldSize",        "lblSize",    "chkManualSize", "chkMaintain",
                                "txtWidth",       "txtHeight",  "txtSizeX",      "txtSizeY",
                                n.applySize,      n.statistics};
  ASSERT_EQ(placed.size(), size_t(expected.size()));
  for (size_t i = 0; i < placed.size(); ++i) {
    ASSERT_NE(placed[i], nullptr) << expected[i].toStdString();
    EXPECT_EQ(placed[i]->objectName(), expected[i]);
    // A parent given here would put the control into the tab order before the window does.
    EXPECT_EQ(placed[i]->parentWidget(), nullptr) << expected[i].toStdString();
  }
  EXPECT_EQ(controls_.lblQualityCaption->text(), "Quality :");
  EXPECT_EQ(controls_.lblQuality->text(), n.qualityText);
  EXPECT_EQ(controls_.lblScale->text(), n.scaleCaptionText);
  EXPECT_EQ(controls_.lblSize->text(), "100%");
  EXPECT_EQ(controls_.sldQuality->value(), 70);
  EXPECT_EQ(controls_.sldSize->value(), 100);
}

TEST_P(OptionControlsTest, StatisticsBoxHoldsItsLabelsInReadingOrder) {
  const OptionControls& c = controls_;
  EXPECT_EQ(c.fraStatistics->title(), "Image statistics");
  QStringList names;
  for (QLabel* label : c.fraStatistics->findChildren<QLabel*>()) names << label->objectName();
  EXPECT_EQ(names, QStringList({"lblOriginal", "txtOriginalSize", "txtOriginalDimensions",
                                "lblOptimized", "txtOptimizedSize", "txtOptimizedDimensions",
                                GetParam().names.compressionCaption, "txtCompression",
                                "lblCompressionMeaning"}));
  for (QLabel* value : {c.txtOriginalSize, c.txtOriginalDimensions, c.txtOptimizedSize,
                        c.txtOptimizedDimensions, c.txtCompression}) {
    EXPECT_EQ(value->parentWidget(), c.fraStatistics) << value->objectName().toStdString();
    EXPECT_TRUE(value->text().isEmpty());
  }
  const auto* caption =
      c.fraStatistics->findChild<QLabel*>(QString::fromLatin1(GetParam().names.compressionCaption));
  ASSERT_NE(caption, nullptr);
  EXPECT_EQ(caption->text(), "File compression :");
}

INSTANTIATE_TEST_SUITE_P(
    Windows, OptionControlsTest,
    ::testing::Values(NamesCase{{"lblQualityCaption", "70%", "lblScale", "Scale Images", "cmdApply",
                                 "fraStatistics", "lblCompression"},
                                "optimiser"},
                      NamesCase{{"Label1", "72%", "lblTabSize", "Size :", "cmdApplySize", "Frame2",
                                 "lblFileCompression"},
                                "batch"}),
    [](const auto& info) { return std::string(info.param.label); });

// The language file keys every text on window name and object name, so within the optimiser
// window no two controls may share a name.
TEST(OptionControlsInWindow, TheOptimisersControlNamesAreUniqueAndItsOwn) {
  OptimizerFixtures::UseDefaultTexts();
  auto window = std::make_unique<frmImgOpt>();
  QSet<QString> seen;
  for (const QWidget* w : window->findChildren<QWidget*>()) {
    // The image buttons' own parts share a name inside each button.
    if (w->objectName().isEmpty() || w->objectName().startsWith("qt_") ||
        qobject_cast<const CommandButton*>(w->parentWidget()))
      continue;
    EXPECT_FALSE(seen.contains(w->objectName())) << w->objectName().toStdString();
    seen.insert(w->objectName());
  }
  // The names that differ from the batch options panel's, each on its kind of control.
  EXPECT_NE(window->findChild<QGroupBox*>("fraStatistics"), nullptr);
  EXPECT_NE(window->findChild<QLabel*>("lblCompression"), nullptr);
  EXPECT_NE(window->findChild<QPushButton*>("cmdApply"), nullptr);
  EXPECT_NE(window->findChild<QLabel*>("lblScale"), nullptr);
  EXPECT_NE(window->findChild<QLabel*>("lblQualityCaption"), nullptr);
  EXPECT_NE(window->findChild<CommandButton*>("cmdLink"), nullptr);
}

}  // namespace
