#include "main_window.h"

#include "res/resource.h"
#include "trunction.h"

namespace vellumo {

WinMainView::WinMainView(WinEventLoop& loop)
    : font_(CreateArial(kFileNamePoints, loop.ScreenDpi(), false)) {
  CreateWindowArgs args;
  args.class_name = kMainClass;
  args.title = L"Vellumo";
  args.style = WS_OVERLAPPEDWINDOW;
  args.icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_VELLUMO));
  args.loop = &loop;
  window_.Create(args);
}

void WinMainView::SetEnabled(bool enabled) {
  if (window_.hwnd()) EnableWindow(window_.hwnd(), enabled ? TRUE : FALSE);
}

std::string WinMainView::TruncatePath(const std::string& path, int width) {
  return vellumo::TruncatePath(path, width, window_.hwnd(), font_.get());
}

}  // namespace vellumo
