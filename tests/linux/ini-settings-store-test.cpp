#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "ini_settings_store.h"
#include "temp_folder.h"

namespace vellumo {
namespace {

using test::ReadFile;
using test::TempFolder;
using test::WriteFile;

constexpr const char* kBom = "\xEF\xBB\xBF";

// Counts what happens to the files of one folder: opens, and renames onto a name.
class FolderWatch {
 public:
  explicit FolderWatch(const std::filesystem::path& folder)
      : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    inotify_add_watch(fd_, folder.c_str(), IN_OPEN | IN_MOVED_TO);
  }
  ~FolderWatch() { close(fd_); }

  // The events of `kind` on `name` since the last call.
  int Take(uint32_t kind, const std::string& name) {
    alignas(inotify_event) char buffer[4096];
    int count = 0;
    for (ssize_t n; (n = read(fd_, buffer, sizeof buffer)) > 0;) {
      for (char* at = buffer; at < buffer + n;) {
        const auto* event = reinterpret_cast<const inotify_event*>(at);
        if ((event->mask & kind) && event->len && name == event->name) ++count;
        at += sizeof(inotify_event) + event->len;
      }
    }
    return count;
  }

 private:
  int fd_;
};

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  stat(path.c_str(), &info);
  return info.st_mode & 07777;
}

TEST(IniSettingsStore, MissingFileIsAnEmptyStore) {
  TempFolder temp;
  IniSettingsStore store(temp / "nowhere/settings.ini");
  EXPECT_EQ(store.Read("bRandom"), std::nullopt);
}

TEST(IniSettingsStore, WritesCreateTheFolderAndReadBack) {
  TempFolder temp;
  IniSettingsStore store(temp / "vellumo/settings.ini");
  ASSERT_TRUE(store.Write("bRandom", "False"));
  ASSERT_TRUE(store.Write("sSourceFolder", "/home/ann/Bilder/Été 桜 = x; #1/"));
  ASSERT_TRUE(store.Write("sLastFile", ""));
  ASSERT_TRUE(store.Write("bRandom", "True"));

  EXPECT_EQ(store.Read("bRandom"), "True");
  EXPECT_EQ(store.Read("sSourceFolder"), "/home/ann/Bilder/Été 桜 = x; #1/");
  EXPECT_EQ(store.Read("sLastFile"), "") << "an empty value is not an absent one";
  EXPECT_EQ(store.Read("iDisplayType"), std::nullopt);
  EXPECT_EQ(ReadFile(temp.path() / "vellumo/settings.ini"),
            "[Settings]\nbRandom=True\nsSourceFolder=/home/ann/Bilder/Été 桜 = x; #1/\n"
            "sLastFile=\n");
  EXPECT_EQ(ModeOf(temp / "vellumo/settings.ini"), 0600u) << "a new file is the owner's alone";
}

// Editors on Windows start a UTF-8 file with a byte order mark.
TEST(IniSettingsStore, ReadsPastAByteOrderMarkAndKeepsIt) {
  TempFolder temp;
  WriteFile(temp.path() / "settings.ini", std::string(kBom) + "[Settings]\nbRandom=False\n");
  IniSettingsStore store(temp / "settings.ini");
  EXPECT_EQ(store.Read("bRandom"), "False");
  ASSERT_TRUE(store.Write("iAutoSize", "5"));
  EXPECT_EQ(ReadFile(temp.path() / "settings.ini"),
            std::string(kBom) + "[Settings]\nbRandom=False\niAutoSize=5\n");
}

TEST(IniSettingsStore, IgnoresBlanksAroundKeysAndValues) {
  TempFolder temp;
  WriteFile(temp.path() / "settings.ini",
            "  [ Settings ]  \n  bRandom =\tFalse \t\nsSourceFolder = /home/ann/my pictures/ \n");
  IniSettingsStore store(temp / "settings.ini");
  EXPECT_EQ(store.Read("bRandom"), "False");
  EXPECT_EQ(store.Read("sSourceFolder"), "/home/ann/my pictures/");
}

TEST(IniSettingsStore, KeepsTheLineBreaksTheFileUses) {
  TempFolder temp;
  const auto path = temp.path() / "settings.ini";
  WriteFile(path, "[Settings]\r\nbRandom=False\r\n\r\n[Other]\r\nx=1");
  IniSettingsStore store(path.string());
  EXPECT_EQ(store.Read("bRandom"), "False");
  ASSERT_TRUE(store.WriteAll({{"bRandom", "True"}, {"iAutoSize", "5"}}));
  EXPECT_EQ(ReadFile(path), "[Settings]\r\nbRandom=True\r\niAutoSize=5\r\n\r\n[Other]\r\nx=1");

  // A last line without a line break gets one when a key follows it.
  WriteFile(path, "[Settings]\r\nbRandom=False");
  ASSERT_TRUE(store.Write("iAutoSize", "5"));
  EXPECT_EQ(ReadFile(path), "[Settings]\r\nbRandom=False\r\niAutoSize=5\r\n");
}

TEST(IniSettingsStore, ReadsValuesInDoubleQuotesAsTheirText) {
  TempFolder temp;
  WriteFile(temp.path() / "settings.ini",
            "[Settings]\nbRandom=\"False\"\nsSourceFolder = \"/home/ann/my pictures/\" \n"
            "sLastFile=\"\"\nsSourceFile=\"/home/ann/a\\b.jpg\"\niAutoSize=\"300\n");
  IniSettingsStore store(temp / "settings.ini");
  EXPECT_EQ(store.Read("bRandom"), "False");
  EXPECT_EQ(store.Read("sSourceFolder"), "/home/ann/my pictures/");
  EXPECT_EQ(store.Read("sLastFile"), "");
  EXPECT_EQ(store.Read("sSourceFile"), "/home/ann/a\\b.jpg") << "a lone backslash is text";
  EXPECT_EQ(store.Read("iAutoSize"), "\"300") << "no closing quote: the quote is text";
}

TEST(IniSettingsStore, MatchesSectionAndKeysInAnyCase) {
  TempFolder temp;
  const auto path = temp.path() / "settings.ini";
  WriteFile(path, "[SETTINGS]\nBRANDOM = 0\n");
  IniSettingsStore store(path.string());
  EXPECT_EQ(store.Read("bRandom"), "0");
  ASSERT_TRUE(store.Write("bRandom", "False"));
  EXPECT_EQ(ReadFile(path), "[SETTINGS]\nBRANDOM = False\n") << "the key as the user wrote it";
}

TEST(IniSettingsStore, ChangesOnlyTheLinesOfChangedKeys) {
  TempFolder temp;
  const auto path = temp.path() / "settings.ini";
  const std::string before =
      "; mine\n"
      "[Other]\nbRandom=other\n\n"
      "[settings] ; the program's own\n"
      "# hand-written\n"
      "bRepeats = \"False\"  \n"
      "iAutoSize=5\n"
      "sUnknown=kept\t\n"
      "\n"
      "; leads into the next section\n"
      "[Tail]\nx=1\n";
  WriteFile(path, before);
  IniSettingsStore store(path.string());
  ASSERT_TRUE(store.WriteAll({{"bRepeats", "False"}, {"iAutoSize", "6"}, {"iAutoRatio", "10"}}));
  EXPECT_EQ(ReadFile(path),
            "; mine\n"
            "[Other]\nbRandom=other\n\n"
            "[settings] ; the program's own\n"
            "# hand-written\n"
            "bRepeats = \"False\"  \n"
            "iAutoSize=6\n"
            "sUnknown=kept\t\n"
            "iAutoRatio=10\n"
            "\n"
            "; leads into the next section\n"
            "[Tail]\nx=1\n");
}

TEST(IniSettingsStore, KeepsTheFilesModeAndOwner) {
  TempFolder temp;
  const auto path = temp / "settings.ini";
  WriteFile(path, "[Settings]\n");
  chmod(path.c_str(), 0644);
  const bool root = geteuid() == 0;
  if (root) {
    ASSERT_EQ(chown(path.c_str(), 4321, 4321), 0);
  }
  IniSettingsStore store(path);
  ASSERT_TRUE(store.Write("bRandom", "True"));
  EXPECT_EQ(ModeOf(path), 0644u);
  if (!root) return;  // only root can give a file to someone else
  struct stat info {};
  stat(path.c_str(), &info);
  EXPECT_EQ(info.st_uid, 4321u);
  EXPECT_EQ(info.st_gid, 4321u);
}

// Kept elsewhere and linked in: the link stays, the file it leads to gets the change.
TEST(IniSettingsStore, WritesThroughALinkAndKeepsIt) {
  TempFolder temp;
  WriteFile(temp.path() / "dotfiles/vellumo.ini", "; mine\n[Settings]\nbRandom=False\n");
  std::filesystem::create_directories(temp.path() / "config");
  std::filesystem::create_symlink("../dotfiles/vellumo.ini", temp.path() / "config/settings.ini");
  IniSettingsStore store(temp / "config/settings.ini");
  ASSERT_TRUE(store.Write("bRandom", "True"));
  EXPECT_TRUE(std::filesystem::is_symlink(temp.path() / "config/settings.ini"));
  EXPECT_EQ(ReadFile(temp.path() / "dotfiles/vellumo.ini"), "; mine\n[Settings]\nbRandom=True\n");
  EXPECT_EQ(store.Read("bRandom"), "True");

  // A link to a file not made yet: the file is made where the link leads.
  std::filesystem::create_symlink("../dotfiles/new.ini", temp.path() / "config/new.ini");
  IniSettingsStore fresh(temp / "config/new.ini");
  ASSERT_TRUE(fresh.Write("bRandom", "True"));
  EXPECT_TRUE(std::filesystem::is_symlink(temp.path() / "config/new.ini"));
  EXPECT_EQ(ReadFile(temp.path() / "dotfiles/new.ini"), "[Settings]\nbRandom=True\n");
}

// Whatever a file name holds, it comes back the same, and plain names stay plain for other
// tools.
TEST(IniSettingsStore, StoresAnyTextSoItReadsBackTheSame) {
  TempFolder temp;
  const auto path = temp.path() / "settings.ini";
  for (const std::string value :
       {"/home/ann/a\nb.jpg", "/x\r\nbRandom=False", "/x\r", " /lead", "/trail\t", " ",
        "\"/quoted\"", "\"/open", "/back\\slash\n\\n\\\"", "/a\"b\\c.jpg"}) {
    ASSERT_TRUE(IniSettingsStore(path.string()).Write("sLastFile", value));
    EXPECT_EQ(IniSettingsStore(path.string()).Read("sLastFile"), value) << ReadFile(path);
    EXPECT_EQ(IniSettingsStore(path.string()).Read("bRandom"), std::nullopt) << "no forged key";
  }
  ASSERT_TRUE(IniSettingsStore(path.string()).Write("sLastFile", "/home/a\nb.jpg"));
  EXPECT_EQ(ReadFile(path), "[Settings]\nsLastFile=\"/home/a\\nb.jpg\"\n");
  ASSERT_TRUE(IniSettingsStore(path.string()).Write("sLastFile", "/home/a/b \"c\\d\".jpg"));
  EXPECT_EQ(ReadFile(path), "[Settings]\nsLastFile=/home/a/b \"c\\d\".jpg\n");
}

TEST(IniSettingsStore, WriteAllReplacesTheFileOnceAndOnlyForAChange) {
  TempFolder temp;
  IniSettingsStore store(temp / "settings.ini");
  const SettingsValues seven = {{"bRepeats", "False"}, {"bRandom", "True"},   {"bFadeOut", "True"},
                                {"iSourceType", "1"},  {"iDisplayType", "0"}, {"iAutoSize", "300"},
                                {"iAutoRatio", "10"}};
  FolderWatch watch(temp.path());
  ASSERT_TRUE(store.WriteAll(seven));
  EXPECT_EQ(watch.Take(IN_MOVED_TO, "settings.ini"), 1);
  EXPECT_EQ(IniSettingsStore(temp / "settings.ini").Read("iAutoRatio"), "10");

  ASSERT_TRUE(store.WriteAll(seven));
  EXPECT_EQ(watch.Take(IN_MOVED_TO, "settings.ini"), 0) << "nothing to change";
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.path()), {}), 1)
      << "no temporary file left behind";
}

TEST(IniSettingsStore, ReadsTheFileOnceUntilItChanges) {
  TempFolder temp;
  const auto path = temp.path() / "settings.ini";
  WriteFile(path, "[Settings]\nbRandom=False\niAutoSize=5\n");
  IniSettingsStore store(path.string());
  FolderWatch watch(temp.path());
  int opens = 0;  // taken after each read, as inotify merges repeated events
  for (const char* key : {"bRandom", "iAutoSize", "iAutoRatio", "bRandom"}) {
    store.Read(key);
    opens += watch.Take(IN_OPEN, "settings.ini");
  }
  EXPECT_EQ(opens, 1);
  EXPECT_EQ(store.Read("bRandom"), "False");

  WriteFile(path, "[Settings]\nbRandom=0\niAutoSize=5\n");  // in place, by someone else
  EXPECT_EQ(store.Read("bRandom"), "0");
}

TEST(IniSettingsStore, ReportsAFolderItCannotWrite) {
  TempFolder temp;
  WriteFile(temp.path() / "blocker", "a file where the folder should be");
  IniSettingsStore store(temp / "blocker/settings.ini");
  EXPECT_FALSE(store.Write("bRandom", "True"));
}

// A file that exists but cannot be read is not an empty store: writing one key over it would
// lose everything else it holds.
TEST(IniSettingsStore, RefusesToWriteOverAFileItCannotRead) {
  TempFolder temp;
  std::filesystem::create_directories(temp.path() / "settings.ini/inside");
  IniSettingsStore store(temp / "settings.ini");
  EXPECT_EQ(store.Read("bRandom"), std::nullopt);
  EXPECT_FALSE(store.Write("bRandom", "True"));
  EXPECT_TRUE(std::filesystem::is_directory(temp.path() / "settings.ini/inside"));

  // A link that leads round in a circle cannot be opened, yet could be replaced.
  std::filesystem::create_symlink("looped.ini", temp.path() / "looped.ini");
  IniSettingsStore looped(temp / "looped.ini");
  EXPECT_FALSE(looped.Write("bRandom", "True"));
  EXPECT_TRUE(std::filesystem::is_symlink(temp.path() / "looped.ini"));

  // A pipe would wait for a writer for ever.
  ASSERT_EQ(mkfifo((temp / "pipe.ini").c_str(), 0600), 0);
  IniSettingsStore pipe(temp / "pipe.ini");
  EXPECT_EQ(pipe.Read("bRandom"), std::nullopt);
  EXPECT_FALSE(pipe.Write("bRandom", "True"));
  EXPECT_TRUE(std::filesystem::is_fifo(temp.path() / "pipe.ini"));

  // Without permission to read (root reads anything, so only for other users).
  if (geteuid() == 0) return;
  WriteFile(temp.path() / "locked.ini", "[Settings]\nbRandom=False\n");
  chmod((temp / "locked.ini").c_str(), 0200);
  IniSettingsStore locked(temp / "locked.ini");
  EXPECT_FALSE(locked.Write("iAutoSize", "1"));
  chmod((temp / "locked.ini").c_str(), 0600);
  EXPECT_EQ(ReadFile(temp.path() / "locked.ini"), "[Settings]\nbRandom=False\n");
}

}  // namespace
}  // namespace vellumo
