#include "fakes.h"

#include <algorithm>
#include <stdexcept>

namespace vellumo::testing {

int Journal::Find(const std::string& entry) const {
  const auto it = std::find(entries.begin(), entries.end(), entry);
  return it == entries.end() ? -1 : static_cast<int>(it - entries.begin());
}

int Journal::Count(const std::string& entry) const {
  return static_cast<int>(std::count(entries.begin(), entries.end(), entry));
}

// Settings store

std::optional<std::string> FakeSettingsStore::Read(const std::string& key) {
  const auto it = values.find(key);
  if (it == values.end()) return std::nullopt;
  return it->second;
}

bool FakeSettingsStore::Write(const std::string& key, const std::string& value) {
  if (refuses) {
    journal_.Add("refused " + key + "=" + value);
    return false;
  }
  values[key] = value;
  writes.emplace_back(key, value);
  journal_.Add("write " + key + "=" + value);
  return true;
}

bool FakeSettingsStore::WriteAll(const SettingsValues& batch) {
  batches.push_back(batch.size());
  return SettingsStore::WriteAll(batch);
}

// File system

std::string FakeFileSystem::Key(const std::string& path) const {
  std::string key = path;
  while (key.size() > 1 && key.back() == separator_) key.pop_back();
  return key;
}

void FakeFileSystem::AddFolder(const std::string& path, uint32_t attributes) {
  const std::string key = Key(path);
  folders_.try_emplace(key);
  attributes_[key] = attributes;
  const auto cut = key.rfind(separator_);
  if (cut == std::string::npos) return;
  const std::string parent = Key(key.substr(0, cut + 1));
  if (IsFolder(parent) && parent != key)
    folders_[parent].push_back({key.substr(cut + 1), attributes});
}

void FakeFileSystem::AddFile(const std::string& path, uint32_t attributes) {
  const auto cut = path.rfind(separator_);
  if (cut == std::string::npos) throw std::logic_error("file without folder: " + path);
  const std::string parent = Key(path.substr(0, cut + 1));
  if (!IsFolder(parent)) throw std::logic_error("no folder for " + path);
  folders_[parent].push_back({path.substr(cut + 1), attributes});
  attributes_[path] = attributes;
}

bool FakeFileSystem::List(const std::string& folder, std::vector<DirEntry>& entries) {
  const std::string key = Key(folder);
  ++list_calls[key];
  entries.clear();
  if (!IsFolder(key) || failing_.count(key)) return false;
  entries = folders_[key];
  return true;
}

bool FakeFileSystem::FileExists(const std::string& path) {
  return !path.empty() && attributes_.count(Key(path)) != 0;
}

bool FakeFileSystem::FolderExists(const std::string& path) {
  if (path.empty()) return false;
  const std::string key = Key(path);
  // With the trailing separator the folder's contents match, "." among them.
  if (path.back() == separator_ && path != key) return IsFolder(key) && !failing_.count(key);
  const auto it = attributes_.find(key);
  return it != attributes_.end() && (it->second & (attr::kHidden | attr::kSystem)) == 0;
}

// Pictures and desktop

std::optional<WrittenBitmap> FakePictureConverter::ConvertToBitmap(const std::string& picture,
                                                                   const std::string& bitmap,
                                                                   ConversionFailure& failure) {
  calls.emplace_back(picture, bitmap);
  journal_.Add("convert " + picture);
  if (throws) throw std::runtime_error("decoder exploded");
  const auto bad = failing.find(picture);
  if (bad != failing.end() || !size) {
    failure = {true, bad != failing.end() ? bad->second : "not a picture"};
    return std::nullopt;
  }
  if (unwritable.count(bitmap)) {
    failure = {false, "No space left on device"};
    return std::nullopt;
  }
  return WrittenBitmap{*size, bitmap + fresh_suffix};
}

void FakePictureConverter::RemoveEarlierBitmaps(const std::string& bitmap,
                                                const std::string& shown) {
  journal_.Add("remove earlier " + bitmap + " but " + shown);
}

void FakePictureConverter::DiscardBitmap(const std::string& written) {
  journal_.Add("discard " + written);
}

namespace {

const char* LayoutName(Layout layout) {
  switch (layout) {
    case Layout::kCentered:
      return "centered";
    case Layout::kTiled:
      return "tiled";
    case Layout::kStretched:
      return "stretched";
  }
  return "?";
}

}  // namespace

bool FakeDesktop::SetWallpaper(const std::string& bitmap, Layout layout, std::string* failure) {
  calls.push_back({bitmap, layout});
  journal_.Add("desktop " + bitmap + " " + LayoutName(layout));
  if (!succeeds && failure) *failure = "no desktop";
  return succeeds;
}

// Scheduler

std::string FakeScheduledChange::Set(int minutes_wanted) {
  journal_.Add("schedule " + std::to_string(minutes_wanted));
  if (!unavailable.empty()) return unavailable;
  if (!failure.empty()) return failure;
  minutes = minutes_wanted;
  return {};
}

void FakeScheduledChange::Remove() {
  journal_.Add("unschedule");
  minutes = 0;
}

// Views

std::string FakeTruncate(const std::string& path) {
  return "short:" + path;
}

namespace {

class FakeChangeScreenView : public ChangeScreenView {
 public:
  FakeChangeScreenView(std::shared_ptr<ScreenRecord> record, FakeViews& views, Journal& journal)
      : record_(std::move(record)), views_(views), journal_(journal) {}

  void Show() override {
    ++record_->shows;
    journal_.Add("screen.show");
  }
  // The nested loop of a modal window: it runs until the window is gone, delivering its timer.
  void ShowModal() override {
    ++record_->modal_shows;
    journal_.Add("screen.modal");
    while (!record_->destroyed && record_->timer_running) views_.FireTimers();
    journal_.Add("screen.modal-end");
  }
  void SetFileName(const std::string& text) override {
    record_->labels.push_back(text);
    journal_.Add("screen.label " + text);
  }
  std::string TruncatePath(const std::string& path, int width) override {
    record_->truncations.emplace_back(path, width);
    return FakeTruncate(path);
  }
  void StartTimer(int milliseconds) override {
    record_->timers_started.push_back(milliseconds);
    record_->timer_running = true;
    journal_.Add("screen.timer " + std::to_string(milliseconds));
  }
  void StopTimer() override { record_->timer_running = false; }
  int SetTranslucency(int alpha) override {
    record_->alphas.push_back(alpha);
    journal_.Add("screen.alpha " + std::to_string(alpha));
    return 0;
  }
  void Destroy() override {
    ++record_->destroys;
    record_->destroyed = true;
    record_->timer_running = false;
    journal_.Add("screen.destroy");
  }

 private:
  std::shared_ptr<ScreenRecord> record_;
  FakeViews& views_;
  Journal& journal_;
};

class FakeMainView : public MainView {
 public:
  FakeMainView(std::shared_ptr<MainRecord> record, Journal& journal)
      : record_(std::move(record)), journal_(journal) {}

  void SetEnabled(bool enabled) override {
    record_->enabled = enabled;
    record_->enabled_changes.push_back(enabled);
    journal_.Add(enabled ? "main.enable" : "main.disable");
  }
  std::string TruncatePath(const std::string& path, int width) override {
    record_->truncations.emplace_back(path, width);
    return FakeTruncate(path);
  }
  void Show() override { record_->shown = true; }
  void Destroy() override {
    record_->destroyed = true;
    journal_.Add("main.destroy");
  }
  void SetButtonPressed(int index, bool pressed) override { record_->pressed[index] = pressed; }
  void SetSourceImage(int image) override { record_->source_image = image; }
  void SetStartupMenu(const StartupMenuState& state) override { record_->startup_menu = state; }
  void SetSourceText(const std::string& text) override { record_->source_text = text; }
  void SetImages(const std::vector<std::string>& names) override { record_->images = names; }
  void SetImagesCaption(const std::string& caption) override { record_->images_caption = caption; }
  void SetNextEnabled(bool enabled) override { record_->next_enabled = enabled; }
  void SetDisplayRow(int row) override { record_->display_row = row; }
  void SetPreviewCaption(const std::string& caption) override {
    record_->preview_caption = caption;
  }
  void SetLoadingText(const std::string& text) override {
    record_->loading_text = text;
    journal_.Add("main.loading-text");
  }
  void ShowLoading(bool visible) override { record_->loading_visible = visible; }
  void ShowPicture(bool visible) override { record_->picture_visible = visible; }
  std::optional<PixelSize> LoadPicture(const std::string& path) override {
    record_->loads.push_back(path);
    journal_.Add("main.load " + path);
    const auto found = record_->loadable.find(path);
    if (found == record_->loadable.end()) return std::nullopt;
    record_->picture = found->second;
    return found->second;
  }
  void ClearPicture() override { record_->picture.reset(); }
  void PlacePicture(const PreviewRect& rect) override { record_->placed = rect; }
  void ShowMessage(const std::string& text, const std::string& title) override {
    record_->messages.emplace_back(text, title);
  }
  void ShowAbout() override { ++record_->abouts; }
  std::optional<AutoThresholds> EditThresholds(AutoThresholds current) override {
    record_->thresholds_shown.emplace_back(current.size, current.ratio);
    return record_->thresholds_answer;
  }
  std::string BrowseForFolder(const std::string& prompt, const std::string& start) override {
    record_->prompts.push_back(prompt);
    record_->starts.push_back(start);
    return record_->folder_answer;
  }
  std::string BrowseForPicture(const std::string& prompt, const std::string& start) override {
    record_->prompts.push_back(prompt);
    record_->starts.push_back(start);
    return record_->picture_answer;
  }

 private:
  std::shared_ptr<MainRecord> record_;
  Journal& journal_;
};

}  // namespace

std::unique_ptr<ChangeScreenView> FakeViews::CreateChangeScreen(ChangeScreenEvents& events) {
  auto record = std::make_shared<ScreenRecord>();
  record->events = &events;
  screens.push_back(record);
  journal_.Add("screen.create");
  return std::make_unique<FakeChangeScreenView>(record, *this, journal_);
}

std::unique_ptr<MainView> FakeViews::CreateMain(MainEvents& events) {
  auto record = std::make_shared<MainRecord>();
  record->events = &events;
  mains.push_back(record);
  return std::make_unique<FakeMainView>(record, journal_);
}

int FakeViews::FireTimers() {
  int ticks = 0;
  for (bool fired = true; fired;) {
    fired = false;
    for (std::size_t i = 0; i < screens.size(); ++i) {
      const auto record = screens[i];  // a tick may create further screens
      if (record->destroyed || !record->timer_running) continue;
      if (++ticks > 1000) throw std::logic_error("timer keeps firing");
      journal_.Add("screen.tick");
      record->events->OnTimer();
      fired = true;
    }
  }
  return ticks;
}

// Event loop

void FakeEventLoop::Yield() {
  ++yields;
  journal_.Add("yield");
  if (on_yield) on_yield(yields);
}

void FakeEventLoop::Run() {
  ++runs;
  journal_.Add("run");
  if (on_run) on_run();
  views_.FireTimers();
}

void FakeEventLoop::EndNow(int exit_code) {
  journal_.Add("end-now " + std::to_string(exit_code));
  throw EndNowCalled{exit_code};
}

}  // namespace vellumo::testing
