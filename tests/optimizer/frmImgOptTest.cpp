#include <QAction>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTimer>

#include "OptimizerWindow.h"
#include "browse/frmPicturePreview.h"
#include "core/StatisticsText.h"
#include "engine/clsImage.h"
#include "optimizer/frmEffect.h"

namespace {

TEST_F(OptimizerWindowTest, LoadShowsStatisticsAndBothPreviews) {
  const QString path =
      OptimizerFixtures::Write(dir_, "photo.png", OptimizerFixtures::Gradient(64, 48));
  Open(path);
  EXPECT_EQ(window_->windowTitle(), "Image Optimization [photo.png]");
  EXPECT_EQ(Text("txtOriginalDimensions"), "64x48");
  EXPECT_EQ(Text("txtOriginalSize"), StatisticsText::SizeText(QFile(path).size()));
  EXPECT_EQ(Text("txtOptimizedDimensions"), "64x48");
  EXPECT_EQ(Text("lblQuality"), "70%");  // the design caption until the slider first moves
  EXPECT_EQ(Box("txtSizeX")->text(), "64");
  EXPECT_EQ(Box("txtSizeY")->text(), "48");
  ASSERT_TRUE(window_->OriginalPreview()->isVisible());
  ASSERT_TRUE(window_->OptimizedPreview()->isVisible());
  // The Original preview shows the source object itself, the Optimized one the round trip.
  EXPECT_EQ(window_->OriginalPreview()->GetImage(), window_->SourcePicture());
  EXPECT_EQ(window_->OptimizedPreview()->GetImage(), window_->OptimizedPicture());
  EXPECT_EQ(window_->OriginalPreview()->windowTitle(), "Original");
  EXPECT_EQ(window_->OptimizedPreview()->windowTitle(), "Optimized");
  EXPECT_EQ(window_->WorkingPicture(), window_->SourcePicture());
}

TEST_F(OptimizerWindowTest, QualityLabelAddsTwoAndTheEncoderGetsTheValue) {
  OpenPicture(80, 60);
  for (int quality : {98, 7, 40}) {
    Quality()->setValue(quality);
    EXPECT_EQ(Text("lblQuality"), QString::number(quality + 2) + "%");
    QByteArray jpeg;
    ASSERT_TRUE(window_->WorkingPicture()->EncodeJpeg(quality, jpeg));
    // A result bigger than the file is said on the Optimized line.
    const bool larger = jpeg.size() > QFileInfo(window_->GetFileName()).size();
    EXPECT_EQ(Text("txtOptimizedSize"),
              StatisticsText::SizeText(jpeg.size()) + (larger ? " (LARGER than the original)" : ""))
        << quality;
  }
  EXPECT_TRUE(window_->windowTitle().endsWith("]*"));
}

TEST_F(OptimizerWindowTest, HeldKeysEndOnTheLastPositionByteTrueAndASaveTakesIt) {
  OpenPicture(120, 90);
  Quality()->setValue(40);
  // Five key repeats queued while the window was busy, then Save before the loop turns.
  for (int i = 0; i < 5; ++i)
    QCoreApplication::postEvent(Quality(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Right, {}));
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(Text("lblQuality"), "47%");
  const QString out = dir_.filePath("out.jpg");
  ASSERT_TRUE(window_->SaveAs(out));
  QByteArray jpeg;
  ASSERT_TRUE(window_->WorkingPicture()->EncodeJpeg(45, jpeg));
  QFile saved(out);
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_EQ(saved.readAll(), jpeg);
  // Once the loop turns, the figures are the last position's.
  QApplication::processEvents();
  EXPECT_TRUE(Text("txtOptimizedSize").startsWith(StatisticsText::SizeText(jpeg.size())));
}

TEST_F(OptimizerWindowTest, ScaleToNothingRecomputesNothing) {
  OpenPicture(50, 30);
  const auto optimized = window_->OptimizedPicture();
  Scale()->setValue(1);
  EXPECT_EQ(Text("lblSize"), "1%");
  EXPECT_EQ(Box("txtSizeX")->text(), "0");
  EXPECT_EQ(Box("txtSizeY")->text(), "0");
  EXPECT_EQ(window_->OptimizedPicture(), optimized);
  EXPECT_EQ(optimized->Width(), 50);
  EXPECT_EQ(Text("txtOptimizedDimensions"), "50x30");
}

TEST_F(OptimizerWindowTest, ScaleRoundsHalvesToEven) {
  OpenPicture(3, 3);
  Scale()->setValue(150);
  EXPECT_EQ(Box("txtSizeX")->text(), "4");
  EXPECT_EQ(Text("txtOptimizedDimensions"), "4x4");
  EXPECT_EQ(window_->WorkingPicture()->Width(), 4);
  // The source keeps its size; only the working picture is scaled.
  EXPECT_EQ(window_->SourcePicture()->Width(), 3);
}

TEST_F(OptimizerWindowTest, ManualSizingEnablesTheBoxesAndApplyTakesTheTypedSize) {
  OpenPicture(80, 60);
  EXPECT_FALSE(Box("txtSizeX")->isEnabled());
  EXPECT_TRUE(Scale()->isEnabled());
  TickManual();
  EXPECT_TRUE(Box("txtSizeX")->isEnabled());
  EXPECT_FALSE(Scale()->isEnabled());
  Box("txtSizeX")->setText("40");
  Box("txtSizeY")->setText("10");
  EXPECT_EQ(Text("txtOptimizedDimensions"), "80x60");  // typing alone changes nothing
  Child<QPushButton>("cmdApply")->click();
  EXPECT_EQ(Text("txtOptimizedDimensions"), "40x10");
  // Unticking goes back to the scale.
  TickManual();
  EXPECT_EQ(Box("txtSizeX")->text(), "80");
  EXPECT_EQ(Text("txtOptimizedDimensions"), "80x60");
}

TEST_F(OptimizerWindowTest, TypedSizeAboveTheLimitBecomesOneHundred) {
  OpenPicture(80, 60);
  TickManual();
  Box("txtSizeX")->clear();
  QTest::keyClicks(Box("txtSizeX"), "10000");
  EXPECT_EQ(Box("txtSizeX")->text(), "100");
}

struct AspectCase {
  const char* box;
  const char* typed;
  const char* other;
  const char* expected;
};
class AspectTest : public OptimizerWindowTest, public ::testing::WithParamInterface<AspectCase> {};

TEST_P(AspectTest, OtherSideFollowsWithTheFractionDropped) {
  OpenPicture(800, 600);
  TickManual();
  Child<QCheckBox>("chkMaintain")->click();
  Box(GetParam().box)->clear();
  QTest::keyClicks(Box(GetParam().box), GetParam().typed);
  EXPECT_EQ(Box(GetParam().other)->text(), GetParam().expected);
  EXPECT_EQ(Box(GetParam().box)->text(), GetParam().typed);
}

INSTANTIATE_TEST_SUITE_P(Cases, AspectTest,
                         ::testing::Values(AspectCase{"txtSizeX", "400", "txtSizeY", "300"},
                                           AspectCase{"txtSizeX", "333", "txtSizeY", "249"},
                                           AspectCase{"txtSizeY", "300", "txtSizeX", "400"},
                                           AspectCase{"txtSizeY", "7", "txtSizeX", "9"}));

TEST_F(OptimizerWindowTest, JpegLargerThanTheFileGivesANegativeCompression) {
  // One flat colour compresses to a few bytes as PNG, far less than any JPEG.
  QImage flat(64, 64, QImage::Format_RGB888);
  flat.fill(QColor(40, 90, 160));
  const QString path = OptimizerFixtures::Write(dir_, "flat.png", flat);
  Open(path);
  Quality()->setValue(98);
  QByteArray jpeg;
  ASSERT_TRUE(window_->WorkingPicture()->EncodeJpeg(98, jpeg));
  ASSERT_GT(jpeg.size(), QFile(path).size());
  EXPECT_EQ(Text("txtCompression"),
            StatisticsText::CompressionText(jpeg.size(), QFile(path).size()));
  EXPECT_TRUE(Text("txtCompression").startsWith("-"));
}

TEST_F(OptimizerWindowTest, DirectEffectChangesTheSourceInPlace) {
  OpenPicture(40, 30);
  const auto source = window_->SourcePicture();
  const QColor before = source->Surface().pixelColor(0, 0);  // the black corner mark
  for (QAction* entry : window_->EffectsMenu()->actions())
    if (entry->text() == "Negative Image") entry->trigger();
  EXPECT_EQ(window_->SourcePicture(), source);
  EXPECT_NE(source->Surface().pixelColor(0, 0), before);
  EXPECT_EQ(window_->OriginalPreview()->GetImage(), source);
}

TEST_F(OptimizerWindowTest, EffectsMenuInItsOrder) {
  OpenPicture(10, 10);
  QStringList entries;
  for (QAction* entry : window_->EffectsMenu()->actions())
    if (entry->isVisible()) entries << (entry->isSeparator() ? "-" : entry->text());
  EXPECT_EQ(entries, QStringList({"Detect Outline", "Flip Image", "Intermediate Brightness",
                                  "Mirror Image", "Negative Image", "Sharpen", "Sharpen More", "-",
                                  "Blur", "Brightness", "Dilate", "Kodalith",
                                  "Limit Brightness Level", "Remove Noise", "Rotate"}));
}

// The dialog runs modal: answer it from inside its own event loop.
void WhenEffectDialogShows(const std::function<void(frmEffect*)>& act) {
  QTimer::singleShot(0, [act] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* dialog = qobject_cast<frmEffect*>(w); dialog && dialog->isVisible())
        return act(dialog);
    ADD_FAILURE() << "no effect dialog";
  });
}

void Trigger(frmImgOpt* window, const QString& name) {
  for (QAction* entry : window->EffectsMenu()->actions())
    if (entry->text() == name) entry->trigger();
}

TEST_F(OptimizerWindowTest, LevelEffectConfirmedAfterHalfScaleLeavesAHalfSizeSource) {
  OpenPicture(80, 60);
  Scale()->setValue(50);
  ASSERT_EQ(window_->WorkingPicture()->Width(), 40);
  QString chosen;
  WhenEffectDialogShows([&chosen](frmEffect* dialog) {
    chosen = dialog->EffectText();
    dialog->findChild<QPushButton*>("cmdOK")->click();
  });
  Trigger(window_, "Brightness");
  EXPECT_EQ(chosen, "Brightness");
  EXPECT_EQ(window_->SourcePicture()->Width(), 40);
  EXPECT_EQ(window_->SourcePicture()->Height(), 30);
  EXPECT_EQ(Scale()->value(), 100);
  EXPECT_EQ(Box("txtSizeX")->text(), "40");
  EXPECT_EQ(Text("txtOptimizedDimensions"), "40x30");
  EXPECT_EQ(window_->OriginalPreview()->GetImage(), window_->SourcePicture());
}

TEST_F(OptimizerWindowTest, CancelledEffectKeepsTheSourceButResetsTheScale) {
  OpenPicture(80, 60);
  Scale()->setValue(50);
  WhenEffectDialogShows(
      [](frmEffect* dialog) { dialog->findChild<QPushButton*>("cmdCancel")->click(); });
  Trigger(window_, "Rotate");
  EXPECT_EQ(window_->SourcePicture()->Width(), 80);
  EXPECT_EQ(Scale()->value(), 100);
  EXPECT_EQ(Text("txtOptimizedDimensions"), "80x60");
}

// The middle of slider's handle, where a hand takes it.
QPoint Handle(QSlider* slider) {
  QStyleOptionSlider option;
  option.initFrom(slider);
  option.orientation = slider->orientation();
  option.minimum = slider->minimum();
  option.maximum = slider->maximum();
  option.sliderPosition = option.sliderValue = slider->value();
  return slider->style()
      ->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider)
      .center();
}

TEST_F(OptimizerWindowTest, DraggingTheScaleShowsAQuickStretchWithoutJpeg) {
  OpenPicture(200, 100);
  QSlider* slider = Scale();
  const QString sizeBefore = Text("txtOptimizedSize");
  const QPoint handle = Handle(slider);
  QTest::mousePress(slider, Qt::LeftButton, {}, handle);
  QTest::mouseMove(slider, handle + QPoint(slider->width() / 4, 0));
  ASSERT_NE(slider->sliderPosition(), 100);
  const int scale = slider->sliderPosition();
  // Working and optimised are one quick stretch; the size figures wait for the release.
  EXPECT_EQ(window_->OptimizedPicture(), window_->WorkingPicture());
  EXPECT_EQ(window_->WorkingPicture()->Width(), scale * 2);
  EXPECT_EQ(Text("txtOptimizedSize"), sizeBefore);
  QTest::mouseRelease(slider, Qt::LeftButton, {}, handle + QPoint(slider->width() / 4, 0));
  EXPECT_EQ(slider->value(), scale);
  EXPECT_NE(window_->OptimizedPicture(), window_->WorkingPicture());
  EXPECT_EQ(Text("txtOptimizedDimensions"), QString("%1x%2").arg(scale * 2).arg(scale));
}

// A quality drag's round trips run off the window thread, each newer position stopping the
// older; released, with or without a pause first, the window ends on the released position's
// figures and picture, the very bytes Save writes.
TEST_F(OptimizerWindowTest, AQualityDragEndsOnTheReleasedPositionsRoundTrip) {
  OpenPicture(640, 480);
  QSlider* slider = Quality();
  for (const bool pause : {false, true}) {
    SCOPED_TRACE(pause ? "paused before the release" : "released at once");
    const QPoint handle = Handle(slider);
    const int direction = slider->value() < 50 ? 1 : -1;
    QTest::mousePress(slider, Qt::LeftButton, {}, handle);
    for (int step = 1; step <= 6; ++step)
      QTest::mouseMove(slider, handle + QPoint(direction * step * slider->width() / 20, 0));
    const int released = slider->sliderPosition();
    int bytes = -1;
    const auto expected = window_->WorkingPicture()->GetOptimizedInstance(released, nullptr, &bytes);
    ASSERT_GT(bytes, 0);
    const QString figures = StatisticsText::SizeText(bytes);
    // A hand that rests while it holds sees that position's figures.
    const auto showsFigures = [&] { return Text("txtOptimizedSize").startsWith(figures); };
    if (pause) {
      ASSERT_TRUE(QTest::qWaitFor(showsFigures, 2000));
    }
    QTest::mouseRelease(slider, Qt::LeftButton, {},
                        handle + QPoint(direction * 6 * slider->width() / 20, 0));
    ASSERT_EQ(slider->value(), released);
    ASSERT_TRUE(QTest::qWaitFor(showsFigures, 2000));
    EXPECT_EQ(window_->OptimizedPicture()->Surface(), expected->Surface());
    QByteArray saved;
    ASSERT_TRUE(window_->WorkingPicture()->EncodeJpeg(released, saved));
    EXPECT_EQ(saved.size(), bytes);
  }
}

TEST_F(OptimizerWindowTest, MissingFileLeavesTheWindowEmptyAndOpen) {
  Open(dir_.filePath("missing.jpg"));
  EXPECT_TRUE(window_->isVisible());
  EXPECT_FALSE(window_->OriginalPreview()->isVisible());
  EXPECT_EQ(dialogs_.MessageCount(), 0);
  EXPECT_EQ(window_->windowTitle(), "Image Optimization");
}

TEST_F(OptimizerWindowTest, PictureThatDoesNotDecodeClosesTheWindowAndSaysSo) {
  for (const char* name : {"text.jpg", "garbage.png"}) {
    QFile f(dir_.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("This is a text file, not a picture.\n");
    f.close();
    dialogs_.calls.clear();
    Open(f.fileName());
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window_.isNull()) << name;
    ASSERT_EQ(dialogs_.MessageCount(), 1);
    EXPECT_EQ(dialogs_.calls[0].text,
              "Sorry, this format is not (yet) supported by Trimjet : " + f.fileName());
    EXPECT_EQ(dialogs_.calls[0].style, Dialogs::Critical);
  }
}

TEST_F(OptimizerWindowTest, ClosingAModifiedPictureAsksAndCancelKeepsIt) {
  OpenPicture(40, 30);
  Quality()->setValue(50);
  dialogs_.answers = {Dialogs::Cancel};
  EXPECT_FALSE(window_->close());
  ASSERT_EQ(dialogs_.MessageCount(), 1);
  // Yes would put the loaded PNG in the trash: the question says so, naming it.
  EXPECT_EQ(dialogs_.calls[0].text,
            "Save image?\nThe picture is saved as \"" +
                QFileInfo(window_->GetFileName()).completeBaseName() + ".jpg\"; \"" +
                QFileInfo(window_->GetFileName()).fileName() + "\" goes to the trash.");
  EXPECT_EQ(dialogs_.calls[0].style & 7, Dialogs::YesNoCancel);
  // Enter must not send the PNG to the trash.
  EXPECT_EQ(dialogs_.calls[0].defaultAnswer, Dialogs::Cancel);
  EXPECT_TRUE(window_->isVisible());
  EXPECT_TRUE(window_->OriginalPreview()->isVisible());

  // A preview's close only hides it; the window's close with No closes everything unsaved.
  QPointer<frmPicturePreview> preview = window_->OriginalPreview();
  EXPECT_FALSE(preview->close());
  EXPECT_EQ(dialogs_.MessageCount(), 1);
  dialogs_.answers = {Dialogs::No};
  EXPECT_TRUE(window_->close());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(dialogs_.MessageCount(), 2);
  EXPECT_TRUE(window_.isNull());
  EXPECT_TRUE(preview.isNull());
}

TEST_F(OptimizerWindowTest, UnmodifiedPictureClosesWithoutAsking) {
  OpenPicture(40, 30);
  EXPECT_FALSE(window_->windowTitle().endsWith("*"));
  EXPECT_TRUE(window_->close());
  EXPECT_EQ(dialogs_.MessageCount(), 0);
  EXPECT_TRUE(window_->Unloading());
}

}  // namespace

namespace {

TEST_F(OptimizerWindowTest, StripMetadataShrinksTheShownSizeAndIsRemembered) {
  // A photo with a 6 KB XMP packet: kept by default, so it counts in the size shown.
  const QString plain =
      OptimizerFixtures::Write(dir_, "plain.jpg", OptimizerFixtures::Gradient(64, 48));
  QFile file(plain);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray xmp = QByteArray("http://ns.adobe.com/xap/1.0/\0", 29) + "<x:xmpmeta>" +
                         QByteArray(6000, ' ') + "</x:xmpmeta>";
  const int length = int(xmp.size()) + 2;
  const QByteArray photo = file.readAll().insert(
      2, QByteArray("\xFF\xE1", 2) + char(length >> 8) + char(length & 0xFF) + xmp);
  const QString path = dir_.filePath("photo.jpg");
  QFile out(path);
  ASSERT_TRUE(out.open(QIODevice::WriteOnly) && out.write(photo) == photo.size());
  out.close();

  Open(path);
  QCheckBox* strip = Child<QCheckBox>("chkStripMetadata");
  ASSERT_FALSE(strip->isChecked());
  const auto shown = [&](bool stripped) {
    auto picture = window_->WorkingPicture()->GetNewInstance();
    picture->SetStripMetadata(stripped);
    QByteArray jpeg;
    EXPECT_TRUE(picture->EncodeJpeg(Quality()->value(), jpeg));
    return jpeg.size();
  };
  EXPECT_GT(shown(false), shown(true) + 6000);
  EXPECT_EQ(Text("txtOptimizedSize"), StatisticsText::SizeText(shown(false)));
  strip->click();
  EXPECT_EQ(Text("txtOptimizedSize"), StatisticsText::SizeText(shown(true)));

  // The next window starts with the choice made here.
  delete window_.data();  // no window of this test may stay behind for the later ones
  Open(path);
  EXPECT_TRUE(Child<QCheckBox>("chkStripMetadata")->isChecked());
  EXPECT_EQ(Text("txtOptimizedSize"), StatisticsText::SizeText(shown(true)));
  Child<QCheckBox>("chkStripMetadata")->click();  // back to the default for the other tests
}

}  // namespace

namespace {

TEST_F(OptimizerWindowTest, ABadTypedSizeIsToldAtApplyAndEnterApplies) {
  OpenPicture(80, 60);
  TickManual();
  Child<QCheckBox>("chkMaintain")->setChecked(false);  // each box as typed
  QLineEdit* width = Box("txtSizeX");
  // Typing goes through the box's validator: letters and signs never get in.
  width->clear();
  QTest::keyClicks(width, "-5abc");
  EXPECT_EQ(width->text(), "5");
  struct Row {
    const char* width;
    int messages;  // after Apply
    const char* shown;
  };
  for (const Row& row : {Row{"abc", 1, "80x60"}, Row{"0", 1, "80x60"}, Row{"-5", 1, "80x60"},
                         Row{"", 1, "80x60"}, Row{"40", 0, "40x30"}}) {
    SCOPED_TRACE(row.width);
    dialogs_.calls.clear();
    Box("txtSizeX")->setText(row.width);
    Box("txtSizeY")->setText("30");
    Child<QPushButton>("cmdApply")->click();
    EXPECT_EQ(dialogs_.MessageCount(), row.messages);
    if (row.messages) {
      EXPECT_EQ(dialogs_.calls.last().text,
                "Width and height must be whole numbers from 1 to 9999 pixels.");
    }
    EXPECT_EQ(Text("txtOptimizedDimensions"), row.shown);
  }
  // Enter in a box applies as the button does.
  Box("txtSizeX")->setText("20");
  Box("txtSizeY")->setText("15");
  QTest::keyClick(Box("txtSizeY"), Qt::Key_Return);
  EXPECT_EQ(Text("txtOptimizedDimensions"), "20x15");
}

}  // namespace
