#include "log_file_report.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "test_folder.h"
#include "utf.h"

namespace vellumo {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t at = 0; at < text.size();) {
    const size_t end = text.find("\r\n", at);
    if (end == std::string::npos) {
      lines.push_back(text.substr(at) + "<no line end>");
      break;
    }
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

bool Exists(const std::string& path) {
  return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Each run appends, each line after the local date and time; nothing is made before a run has
// something to say, a place that cannot take the log fails nothing, and past its bound the log
// keeps its newest half, from the start of a line.
TEST(LogFileReportTest, RunsAppendStampedLinesAndTheNewestHalfStaysPastTheBound) {
  test::TestFolder folder;
  const std::string log = folder / "Vellumo\\vellumo.log";
  {
    LogFileReport first_run(log);
    EXPECT_FALSE(Exists(folder / "Vellumo")) << "nothing said yet";
    first_run.Say("skipped C:\\Pictures\\bad.jpg: cut short");
    first_run.Say("two\nlines");
  }
  LogFileReport report(log);
  report.Say("cannot write the wallpaper file C:\\vellumo.bmp: Disk full");
  const auto lines = Lines(test::ReadAll(log));
  ASSERT_EQ(lines.size(), 3u);
  const std::regex stamped(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d  (.*))");
  const char* said[] = {"skipped C:\\Pictures\\bad.jpg: cut short", "two lines",
                        "cannot write the wallpaper file C:\\vellumo.bmp: Disk full"};
  for (size_t i = 0; i < lines.size(); ++i) {
    std::smatch match;
    ASSERT_TRUE(std::regex_match(lines[i], match, stamped)) << lines[i];
    EXPECT_EQ(match[1], said[i]);
  }
  LogFileReport(folder.AddFile("a file") + "\\vellumo.log").Say("nowhere to go");
  LogFileReport("").Say("nowhere at all");

  // Just under the bound, then over it.
  std::string older;
  for (int i = 0; older.size() + 80 < LogFileReport::kMaxLogBytes - 50; ++i)
    older += "older line " + std::to_string(i) + std::string(60, '.') + "\r\n";
  test::WriteAll(log, older);
  report.Say("still under the bound");
  const auto before = Lines(test::ReadAll(log));
  ASSERT_EQ(before.front().rfind("older line 0.", 0), 0u) << "shortened while under the bound";
  report.Say("the newest " + std::string(100, '!'));
  const std::string kept = test::ReadAll(log);
  EXPECT_LE(kept.size(), static_cast<size_t>(LogFileReport::kMaxLogBytes / 2));
  EXPECT_GT(kept.size(), static_cast<size_t>(LogFileReport::kMaxLogBytes / 2 - 100));
  // Whole lines, the newest ones, in order.
  const auto after = Lines(kept);
  ASSERT_GE(after.size(), 3u);
  const auto first_kept = std::find(before.begin(), before.end(), after.front());
  ASSERT_NE(first_kept, before.end()) << "the first line kept was cut: " << after.front();
  EXPECT_TRUE(std::equal(first_kept, before.end(), after.begin()));
  EXPECT_NE(after.back().find("the newest"), std::string::npos);
  WIN32_FIND_DATAW found{};
  const HANDLE partial = FindFirstFileW(Widen(folder / "Vellumo\\*.partial-*").c_str(), &found);
  EXPECT_EQ(partial, INVALID_HANDLE_VALUE) << "a partial file was left behind";
  if (partial != INVALID_HANDLE_VALUE) FindClose(partial);
}

}  // namespace
}  // namespace vellumo
