#pragma once

// Small in-memory stand-ins for the platform interfaces, so the core's logic runs natively and
// deterministically. Every fake writes what it was asked to do into one shared journal, so a
// test can check the order of events across all of them.

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "change/change_screen_view.h"
#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/file_system.h"
#include "platform/pictures.h"
#include "platform/platform.h"
#include "platform/settings_store.h"

namespace vellumo::testing {

// What happened, in order: "yield", "write sLastFile=...", "screen.alpha 255", ...
struct Journal {
  std::vector<std::string> entries;
  void Add(std::string entry) { entries.push_back(std::move(entry)); }
  // Position of the first entry equal to `entry`, or -1.
  int Find(const std::string& entry) const;
  int Count(const std::string& entry) const;
};

class FakeSettingsStore : public SettingsStore {
 public:
  explicit FakeSettingsStore(Journal& journal) : journal_(journal) {}

  std::optional<std::string> Read(const std::string& key) override;
  bool Write(const std::string& key, const std::string& value) override;
  // Each key also lands in `writes`, one by one.
  bool WriteAll(const SettingsValues& batch) override;

  std::map<std::string, std::string> values;
  std::vector<std::pair<std::string, std::string>> writes;
  bool refuses = false;  // every write fails and changes nothing (a read-only settings folder)
  std::vector<size_t> batches;  // the size of each WriteAll

 private:
  Journal& journal_;
};

// A tree of folders and files. A folder's entries come back in the order they were added (the
// "system order"). Paths are full paths with the chosen separator; a folder may be named with
// or without its trailing separator.
class FakeFileSystem : public FileSystem {
 public:
  explicit FakeFileSystem(char separator = '\\') : separator_(separator) {}

  // The parent, if known, gets the new entry at the end of its listing.
  void AddFolder(const std::string& path, uint32_t attributes = attr::kDirectory);
  void AddFile(const std::string& path, uint32_t attributes = attr::kArchive);
  void FailListing(const std::string& folder) { failing_.insert(Key(folder)); }

  bool List(const std::string& folder, std::vector<DirEntry>& entries) override;
  bool FileExists(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  char Separator() const override { return separator_; }

  // How often each folder (without trailing separator) was listed.
  std::map<std::string, int> list_calls;

 private:
  std::string Key(const std::string& path) const;
  bool IsFolder(const std::string& key) const { return folders_.count(key) != 0; }

  char separator_;
  std::map<std::string, std::vector<DirEntry>> folders_;
  std::map<std::string, uint32_t> attributes_;
  std::set<std::string> failing_;
};

class FakePictureConverter : public PictureConverter {
 public:
  explicit FakePictureConverter(Journal& journal) : journal_(journal) {}

  using PictureConverter::ConvertToBitmap;
  std::optional<WrittenBitmap> ConvertToBitmap(const std::string& picture,
                                               const std::string& bitmap,
                                               ConversionFailure& failure) override;
  void RemoveEarlierBitmaps(const std::string& bitmap, const std::string& shown) override;
  void DiscardBitmap(const std::string& written) override;

  std::optional<PixelSize> size = PixelSize{1024, 768};  // nothing: every picture fails
  std::map<std::string, std::string> failing;            // pictures that fail, and why
  // Appended to the bitmap path to make the file written; empty: rewritten in place.
  std::string fresh_suffix;
  bool throws = false;
  std::set<std::string> unwritable;  // bitmap paths whose folder refuses the file
  std::vector<std::pair<std::string, std::string>> calls;  // picture, bitmap

 private:
  Journal& journal_;
};

class FakeDesktop : public Desktop {
 public:
  explicit FakeDesktop(Journal& journal) : journal_(journal) {}

  bool SetWallpaper(const std::string& bitmap, Layout layout, std::string* failure) override;

  struct Call {
    std::string bitmap;
    Layout layout;
  };
  std::vector<Call> calls;
  bool succeeds = true;

 private:
  Journal& journal_;
};

// What one change-screen window was told; it outlives the window object.
struct ScreenRecord {
  ChangeScreenEvents* events = nullptr;
  std::vector<std::string> labels;
  std::vector<std::pair<std::string, int>> truncations;  // path, width
  std::vector<int> timers_started;
  std::vector<int> alphas;
  int shows = 0;
  int modal_shows = 0;
  int destroys = 0;
  bool timer_running = false;
  bool destroyed = false;
};

// What one settings window was told, and what its dialogs answer.
struct MainRecord {
  MainEvents* events = nullptr;
  std::vector<bool> enabled_changes;
  std::vector<std::pair<std::string, int>> truncations;
  bool enabled = true;
  bool shown = false;
  bool destroyed = false;

  std::map<int, bool> pressed;  // toolbar buttons by index
  int source_image = 0;
  std::optional<StartupMenuState> startup_menu;
  std::string source_text;
  std::vector<std::string> images;
  std::string images_caption;
  bool next_enabled = false;
  int display_row = -1;

  std::string preview_caption = "       Preview";
  std::string loading_text;
  bool loading_visible = false;
  bool picture_visible = false;
  std::optional<PixelSize> picture;  // the picture held, if any
  std::vector<std::string> loads;    // paths asked for, in order
  PreviewRect placed;

  std::vector<std::pair<std::string, std::string>> messages;  // text, title
  int abouts = 0;
  std::vector<std::pair<int, int>> thresholds_shown;  // size, ratio
  std::vector<std::string> prompts;
  std::vector<std::string> starts;  // where each dialog opened

  // The answers: pictures that load (others fail), the dialog's OK, the folder chosen.
  std::map<std::string, PixelSize> loadable;
  std::optional<AutoThresholds> thresholds_answer;
  std::string folder_answer;
  std::string picture_answer;
};

class FakeRunAtLogon : public RunAtLogon {
 public:
  bool Is_Startup_Set() override { return set; }
  void Set_Startup(bool on) override {
    calls.push_back(on);
    set = on;
  }
  bool set = false;
  std::vector<bool> calls;
};

// The system's scheduler: what it was asked, in the journal ("schedule 15", "unschedule",
// "refresh schedule"), and the schedule it holds.
class FakeScheduledChange : public ScheduledChange {
 public:
  explicit FakeScheduledChange(Journal& journal) : journal_(journal) {}

  std::string Unavailable() override { return unavailable; }
  std::string Set(int minutes) override;
  void Remove() override;
  void Refresh() override { journal_.Add("refresh schedule"); }

  int minutes = 0;          // 0: no schedule
  std::string unavailable;  // why there is no scheduler, if there is none
  std::string failure;      // why every Set fails, if it does

 private:
  Journal& journal_;
};

// Shortened paths come back as "short:" + path, so a test sees that the shortening was used.
std::string FakeTruncate(const std::string& path);

class FakeViews : public Views {
 public:
  explicit FakeViews(Journal& journal) : journal_(journal) {}

  std::unique_ptr<ChangeScreenView> CreateChangeScreen(ChangeScreenEvents& events) override;
  std::unique_ptr<MainView> CreateMain(MainEvents& events) override;

  // Fires the timer of every live change screen whose timer runs, until none runs. Returns
  // the number of ticks delivered.
  int FireTimers();

  // The most recently created change screen (nullptr before the first).
  ScreenRecord* LastScreen() { return screens.empty() ? nullptr : screens.back().get(); }

  std::vector<std::shared_ptr<ScreenRecord>> screens;
  std::vector<std::shared_ptr<MainRecord>> mains;

 private:
  Journal& journal_;
};

// Thrown by FakeEventLoop::EndNow, standing for the end of the process.
struct EndNowCalled {
  int exit_code = 0;
};

// The lines a run said.
class FakeReport : public RunReport {
 public:
  void Say(const std::string& line) override { lines.push_back(line); }
  std::vector<std::string> lines;
};

class FakeEventLoop : public EventLoop {
 public:
  FakeEventLoop(Journal& journal, FakeViews& views) : journal_(journal), views_(views) {}

  void Yield() override;
  // The clock moves on by `time`, and the window's events run once.
  void Wait(std::chrono::milliseconds time) override {
    clock += time;
    Yield();
  }
  void Run() override;
  [[noreturn]] void EndNow(int exit_code) override;
  int ScreenDpi() override { return dpi; }
  // A clock that moves on by `clock_step` at every reading: by default a frame or more, so
  // nothing paced to frames is skipped unless a test stops the clock.
  std::chrono::steady_clock::time_point Now() override { return clock += clock_step; }

  std::chrono::steady_clock::time_point clock;
  std::chrono::steady_clock::duration clock_step = std::chrono::milliseconds(20);
  int yields = 0;
  int runs = 0;
  int dpi = 96;
  // Runs during every yield with the yield's number (1 for the first).
  std::function<void(int)> on_yield;
  // Runs inside Run, before the timers fire: the user at work in the settings window.
  std::function<void()> on_run;

 private:
  Journal& journal_;
  FakeViews& views_;
};

// All fakes of one run, wired into a Platform.
struct FakeSystem {
  explicit FakeSystem(char separator = '\\') : files(separator) {}

  Journal journal;
  FakeSettingsStore store{journal};
  FakeFileSystem files;
  FakePictureConverter pictures{journal};
  FakeDesktop desktop{journal};
  FakeViews views{journal};
  FakeEventLoop loop{journal, views};
  FakeRunAtLogon startup;
  FakeScheduledChange schedule{journal};
  FakeReport report;
  Platform platform{store,
                    files,
                    pictures,
                    desktop,
                    loop,
                    views,
                    startup,
                    schedule,
                    report,
                    "C:\\WINDOWS\\",
                    "C:\\Vellumo\\vellumo.bmp",
                    "C:\\Users\\me\\AppData\\Local\\Vellumo\\vellumo.bmp"};
};

}  // namespace vellumo::testing
