#include "settings/startup_command.h"

#include <gtest/gtest.h>

namespace vellumo {
namespace {

TEST(StartupCommand, QuotesTheProgramPathAndAddsTheSwitch) {
  EXPECT_EQ(StartupCommand("C:\\Tools", "Vellumo.exe"), "\"C:\\Tools\\Vellumo.exe\" -next");
  EXPECT_EQ(StartupCommand("C:\\Program Files\\Vellumo", "vellumo.exe"),
            "\"C:\\Program Files\\Vellumo\\vellumo.exe\" -next");
}

TEST(StartupCommand, DriveRootGetsOneBackslash) {
  EXPECT_EQ(StartupCommand("C:\\", "vellumo.exe"), "\"C:\\vellumo.exe\" -next");
}

TEST(StartupCommand, WritesExeForTheLastExtensionOnly) {
  EXPECT_EQ(StartupCommand("D:\\bin", "vellumo.scr"), "\"D:\\bin\\vellumo.exe\" -next");
  EXPECT_EQ(StartupCommand("D:\\bin", "vellumo.2.0.exe"), "\"D:\\bin\\vellumo.2.0.exe\" -next");
  EXPECT_EQ(StartupCommand("D:\\bin", "vellumo"), "\"D:\\bin\\vellumo.exe\" -next");
}

}  // namespace
}  // namespace vellumo
