#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "autostart_entry.h"
#include "temp_folder.h"

namespace vellumo {
namespace {

using test::ReadFile;
using test::TempFolder;
using test::WriteFile;

struct ExecCase {
  const char* path;
  const char* exec;  // as the Exec line holds it in the file
};

const ExecCase kExecCases[] = {
    {"/usr/bin/vellumo", "/usr/bin/vellumo"},
    {"/home/ann/my apps/vellumo", R"("/home/ann/my apps/vellumo")"},
    {"/opt/a'b/vellumo", R"("/opt/a'b/vellumo")"},
    // Quoting's escapes are backslashes too, so the file doubles them.
    {"/opt/$HOME/\"q\"/vellumo", R"("/opt/\\$HOME/\\"q\\"/vellumo")"},
    {"/opt/back\\slash/vellumo", R"("/opt/back\\\\slash/vellumo")"},
    {"/opt/100%/vellumo", "/opt/100%%/vellumo"},
    {"/opt/\xC3\xA9t\xC3\xA9/vellumo", "/opt/\xC3\xA9t\xC3\xA9/vellumo"},
};

class ExecQuoting : public testing::TestWithParam<ExecCase> {};

TEST_P(ExecQuoting, FollowsTheDesktopEntryRules) {
  EXPECT_EQ(ExecArgument(GetParam().path), GetParam().exec);
}

INSTANTIATE_TEST_SUITE_P(Autostart, ExecQuoting, testing::ValuesIn(kExecCases));

// An entry on disk as a desktop or a hand may leave it, and whether it counts as set.
struct EntryCase {
  const char* name;
  const char* text;
  bool set;
};

const EntryCase kEntries[] = {
    {"Plain", "[Desktop Entry]\nType=Application\nExec=vellumo -next\n", true},
    {"Empty", "", true},
    {"Hidden", "[Desktop Entry]\nExec=vellumo -next\nHidden=true\n", false},
    {"HiddenFalse", "[Desktop Entry]\nHidden=false\n", true},
    {"GnomeOff", "[Desktop Entry]\nX-GNOME-Autostart-enabled=false\n", false},
    {"MateOff", "[Desktop Entry]\r\nX-MATE-Autostart-enabled = false\r\n", false},
    {"GnomeOn", "[Desktop Entry]\nX-GNOME-Autostart-enabled=true\n", true},
    {"OtherGroup", "[Desktop Entry]\nType=Application\n[Desktop Action x]\nHidden=true\n", true},
    {"Comment", "[Desktop Entry]\n# Hidden=true\n", true},
};

class AutostartEntry : public testing::TestWithParam<EntryCase> {
 protected:
  std::string path() const { return temp_ / "autostart/vellumo.desktop"; }
  TempFolder temp_;
};

TEST_P(AutostartEntry, IsSetWhenPresentAndNotTurnedOff) {
  WriteFile(path(), GetParam().text);
  AutostartRunAtLogon entry(path(), "/usr/bin/vellumo");
  EXPECT_EQ(entry.Is_Startup_Set(), GetParam().set);
  // Pressing the button gives a working entry whatever was there before.
  entry.Set_Startup(true);
  EXPECT_TRUE(entry.Is_Startup_Set());
}

INSTANTIATE_TEST_SUITE_P(Autostart, AutostartEntry, testing::ValuesIn(kEntries),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Autostart, WrittenInTheConfigFolderAndRemovedAgain) {
  TempFolder temp;
  ::setenv("XDG_CONFIG_HOME", temp.path().c_str(), 1);
  const std::string path = temp / "autostart/vellumo.desktop";
  AutostartRunAtLogon startup;
  EXPECT_FALSE(startup.Is_Startup_Set());

  startup.Set_Startup(true);
  const std::string text = ReadFile(path);
  const std::string exe = std::filesystem::read_symlink("/proc/self/exe").string();
  EXPECT_NE(text.find("\nExec=" + ExecArgument(exe) + " -next\n"), std::string::npos) << text;
  // A desktop skips the entry once the program is uninstalled.
  EXPECT_NE(text.find("\nTryExec=" + exe + "\n"), std::string::npos) << text;
  EXPECT_NE(AutostartEntryText("/opt/a b\\c/vellumo").find("\nTryExec=/opt/a b\\\\c/vellumo\n"),
            std::string::npos)
      << "a string value: the file's own escapes only";
  for (const char* line : {"[Desktop Entry]\n", "\nType=Application\n", "\nName=Vellumo\n",
                           "\nIcon=", "\nTerminal=false\n", "\nX-GNOME-Autostart-enabled=true\n"})
    EXPECT_NE(text.find(line), std::string::npos) << line;
  EXPECT_TRUE(startup.Is_Startup_Set());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp / "autostart"), {}), 1)
      << "no temporary file left behind";

  startup.Set_Startup(false);
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_FALSE(startup.Is_Startup_Set());
  startup.Set_Startup(false);  // already gone: nothing to do
  ::unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace vellumo
