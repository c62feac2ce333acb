// Shared main of every test program: isolates the user folders, then starts a
// QApplication on the offscreen platform so widget tests need no display.
#include <QApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include "TestEnv.h"

int main(int argc, char** argv) {
  TestEnv::IsolateUserFolders();
  QStandardPaths::setTestModeEnabled(true);
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
