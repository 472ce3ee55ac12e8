#pragma once

#include <string>

namespace vellumo {

enum class Layout { kCentered, kTiled, kStretched };

// The desktop's wallpaper service.
class Desktop {
 public:
  virtual ~Desktop() = default;

  // Makes `bitmap` the wallpaper with the given layout. On failure returns false and, when
  // `failure` is given, says what was tried.
  virtual bool SetWallpaper(const std::string& bitmap, Layout layout, std::string* failure) = 0;
};

}  // namespace vellumo
