#include <gtest/gtest.h>

#include <QWidget>
#include <memory>

#include "controls/modModal.h"

namespace {
std::unique_ptr<QWidget> Window(const char* name) {
  auto w = std::make_unique<QWidget>();
  w->setObjectName(name);
  w->show();
  return w;
}
}  // namespace

TEST(WindowCoordination, OptimiserDisablesPreviewButNotMainWindow) {
  auto main = Window("frmMainForm");
  auto preview = Window("frmPicturePreview");
  auto optimiser = Window("frmImgOpt");
  modModal::BeginModal(optimiser.get());
  EXPECT_TRUE(main->isEnabled());
  EXPECT_FALSE(preview->isEnabled());
  EXPECT_TRUE(optimiser->isEnabled());
  modModal::EndModal(optimiser.get());
  EXPECT_TRUE(preview->isEnabled());
  EXPECT_EQ(modModal::RecordCount(), 0);
}

TEST(WindowCoordination, NestedRecordsAreUndoneTogether) {
  auto main = Window("frmMainForm");
  auto preview = Window("frmPicturePreview");
  auto optimiser = Window("frmImgOpt");
  modModal::BeginModal(optimiser.get());
  auto batch = Window("frmBatch");
  modModal::BeginModal(batch.get());
  EXPECT_FALSE(optimiser->isEnabled());
  EXPECT_EQ(modModal::RecordCount(), 2);
  modModal::EndModal(optimiser.get());
  EXPECT_TRUE(optimiser->isEnabled());
  EXPECT_TRUE(preview->isEnabled());
  EXPECT_EQ(modModal::RecordCount(), 0);
}

TEST(WindowCoordination, AlreadyDisabledWindowStaysDisabled) {
  auto main = Window("frmMainForm");
  auto other = Window("other");
  other->setEnabled(false);
  auto optimiser = Window("frmImgOpt");
  modModal::BeginModal(optimiser.get());
  modModal::EndModal(optimiser.get());
  EXPECT_FALSE(other->isEnabled());
}

TEST(WindowCoordination, NothingHappensWithoutTheMainWindow) {
  auto preview = Window("frmPicturePreview");
  auto optimiser = Window("frmImgOpt");
  modModal::BeginModal(optimiser.get());
  EXPECT_TRUE(preview->isEnabled());
  EXPECT_EQ(modModal::RecordCount(), 0);
  modModal::EndModal(optimiser.get());  // no record: no effect
  EXPECT_TRUE(preview->isEnabled());
}

TEST(WindowCoordination, FormsByNameInOpeningOrder) {
  auto b = Window("second");
  auto a = Window("first");
  EXPECT_TRUE(modModal::IsFormLoaded("first"));
  EXPECT_FALSE(modModal::IsFormLoaded("First"));  // names compare exactly
  const QList<QWidget*> forms = modModal::OpenForms();
  ASSERT_EQ(forms.size(), 2);
  EXPECT_EQ(forms[0], b.get());
  EXPECT_EQ(forms[1], a.get());
  b.reset();
  EXPECT_FALSE(modModal::IsFormLoaded("second"));
  EXPECT_TRUE(modModal::IsFormLoaded("first"));
}
