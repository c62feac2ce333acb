#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "RecordingDialogs.h"
#include "app/frmAbout.h"

TEST(AboutBox, ShowsTitleVersionAndOpensTheLink) {
  RecordingDialogs dialogs;
  QPointer<frmAbout> about = new frmAbout;
  about->show();
  EXPECT_EQ(about->windowTitle(), "About Trimjet");
  EXPECT_EQ(about->findChild<QLabel*>("lblTitle")->text(), "Trimjet");
  EXPECT_EQ(about->findChild<QLabel*>("lblVersion")->text(), "Version 1.8");
  EXPECT_FALSE(about->findChild<QLabel*>("lblDescription")->text().isEmpty());
  EXPECT_FALSE(about->findChild<QLabel*>("lblDisclaimer")->text().isEmpty());

  QTest::mouseClick(about->findChild<QPushButton*>("cmdLink"), Qt::LeftButton);
  ASSERT_EQ(dialogs.calls.size(), 1);
  EXPECT_EQ(dialogs.calls[0].kind, "url");
  EXPECT_EQ(dialogs.calls[0].text, frmAbout::kWebAddress);

  QTest::mouseClick(about->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(about.isNull()) << "OK unloads the box";
}
