#include "command_line.h"

#include <gtest/gtest.h>

namespace vellumo {
namespace {

TEST(CommandLineTest, TheChangeTheWindowHelpAndEverythingElse) {
  using Args = std::vector<std::string>;
  EXPECT_EQ(ParseCommandLine({}), Command::kSettingsWindow);
  for (const char* next : {"-next", "-NEXT", "--next", "--Next"})
    EXPECT_EQ(ParseCommandLine(Args{next}), Command::kChange) << next;
  EXPECT_EQ(ParseCommandLine(Args{"--help"}), Command::kHelp);
  EXPECT_EQ(ParseCommandLine(Args{"-h"}), Command::kHelp);
  EXPECT_EQ(ParseCommandLine(Args{"--version"}), Command::kVersion);
  for (const Args& wrong : {Args{"-nxet"}, Args{"next"}, Args{"-next", "-next"}, Args{""},
                            Args{"-next "}, Args{"--HELP"}})
    EXPECT_EQ(ParseCommandLine(wrong), Command::kUsageError) << ::testing::PrintToString(wrong);
}

}  // namespace
}  // namespace vellumo
