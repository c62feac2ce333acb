// Shared main of every test program: isolates the user folders, then starts a
// QApplication on the offscreen platform so widget tests need no display. Qt's own test mode
// is left off on purpose: it puts every test program's settings and trash into one shared
// ~/.qttest, so tests running in parallel would see each other's writes.
#include <QApplication>
#include <gtest/gtest.h>

#include "TestEnv.h"

int main(int argc, char** argv) {
  TestEnv::IsolateUserFolders();
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
