#include "headless_views.h"

#include <cstdlib>
#include <thread>

#include "platform/trunction.h"
#include "platform/utf8.h"

namespace vellumo {
namespace {

constexpr int kAverageCharWidth = 6;  // Arial 8.25 pt at 96 dpi

class HeadlessChangeScreen : public ChangeScreenView {
 public:
  HeadlessChangeScreen(HeadlessLoop& loop, ChangeScreenEvents& events)
      : loop_(loop), events_(events) {}
  ~HeadlessChangeScreen() override { loop_.Disarm(&events_); }

  void Show() override {}
  void ShowModal() override {}
  void SetFileName(const std::string&) override {}
  std::string TruncatePath(const std::string& path, int width) override {
    return TruncatePathHeadless(path, width);
  }
  void StartTimer(int milliseconds) override {
    loop_.Arm(&events_, std::chrono::milliseconds(milliseconds));
  }
  void StopTimer() override { loop_.Disarm(&events_); }
  int SetTranslucency(int alpha) override { return alpha >= 0 && alpha <= 255 ? 0 : 1; }
  void Destroy() override { loop_.Disarm(&events_); }

 private:
  HeadlessLoop& loop_;
  ChangeScreenEvents& events_;
};

class HeadlessMain : public MainView {
 public:
  void SetEnabled(bool) override {}
  std::string TruncatePath(const std::string& path, int width) override {
    return TruncatePathHeadless(path, width);
  }
};

}  // namespace

std::string TruncatePathHeadless(const std::string& path, int width) {
  return CompactPath(path, width, '/', [](std::string_view text) {
    return static_cast<int>(CountCharacters(text)) * kAverageCharWidth;
  });
}

void HeadlessLoop::Run() {
  while (armed_) {
    std::this_thread::sleep_until(due_);
    ChangeScreenEvents* events = armed_;
    armed_ = nullptr;
    events->OnTimer();
  }
}

void HeadlessLoop::EndNow(int exit_code) {
  std::exit(exit_code);
}

std::unique_ptr<ChangeScreenView> HeadlessLoop::CreateChangeScreen(ChangeScreenEvents& events) {
  return std::make_unique<HeadlessChangeScreen>(*this, events);
}

std::unique_ptr<MainView> HeadlessLoop::CreateMain(MainEvents&) {
  return std::make_unique<HeadlessMain>();
}

void HeadlessLoop::Arm(ChangeScreenEvents* events, std::chrono::milliseconds delay) {
  armed_ = events;
  due_ = std::chrono::steady_clock::now() + delay;
}

void HeadlessLoop::Disarm(ChangeScreenEvents* events) {
  if (armed_ == events) armed_ = nullptr;
}

}  // namespace vellumo
