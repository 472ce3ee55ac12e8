// The main of every Qt view test: one offscreen QApplication for the whole program, without the
// desktop's theme plugin (a GTK or Plasma theme makes offscreen runs fail to start).
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qunsetenv("QT_QPA_PLATFORMTHEME");
  QApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
