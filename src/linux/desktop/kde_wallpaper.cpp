#include "kde_wallpaper.h"

#include <cstdint>

#include "dbus_session.h"
#include "file_uri.h"
#include "platform/utf8.h"

namespace vellumo {
namespace {

// org.kde.image's FillMode, QtQuick's Image.fillMode: 0 Stretch, 3 Tile, 6 Pad (centred).
int FillMode(Layout layout) {
  switch (layout) {
    case Layout::kTiled:
      return 3;
    case Layout::kCentered:
      return 6;
    case Layout::kStretched:
      break;
  }
  return 0;
}

void AppendUnit(std::string& out, uint32_t unit) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  out += "\\u";
  for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(unit >> shift) & 0xF];
}

}  // namespace

std::string QuoteJavaScriptString(std::string_view utf8) {
  std::string out = "'";
  for (size_t i = 0; i < utf8.size();) {
    const uint32_t code = NextCodePoint(utf8, i);
    if (code == '\'' || code == '\\') {
      out += '\\';
      out += static_cast<char>(code);
    } else if (code >= 0x20 && code < 0x7F) {
      out += static_cast<char>(code);
    } else if (code > 0xFFFF) {  // outside the BMP: a surrogate pair
      AppendUnit(out, 0xD800 + ((code - 0x10000) >> 10));
      AppendUnit(out, 0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
      AppendUnit(out, code);
    }
  }
  return out + "'";
}

std::string PlasmaWallpaperScript(const std::string& absolute_path, Layout layout) {
  // A file URI, percent-encoded, so a '#' or '%' in the path is not read as URI syntax.
  return "var image = " + QuoteJavaScriptString(FileUri(absolute_path)) +
         ";\n"
         "var all = desktops();\n"
         "for (var i = 0; i < all.length; i++) {\n"
         "  var d = all[i];\n"
         "  d.wallpaperPlugin = 'org.kde.image';\n"
         "  d.currentConfigGroup = ['Wallpaper', 'org.kde.image', 'General'];\n"
         "  d.writeConfig('Image', image);\n"
         "  d.writeConfig('FillMode', " +
         std::to_string(FillMode(layout)) +
         ");\n"
         "}\n";
}

bool KdeWallpaper::CanShow(const std::string& absolute_path) const {
  return IsDbusText(absolute_path);
}

BackendResult KdeWallpaper::Set(const std::string& absolute_path, Layout layout) {
  std::string failure;
  auto bus = DbusSession::Connect(bus_address_, time_limit_, failure);
  if (!bus) return BackendResult::Missing(failure);
  const DbusMethod evaluate = {"org.kde.plasmashell", "/PlasmaShell", "org.kde.PlasmaShell",
                               "evaluateScript"};
  const DbusReply reply =
      bus->Call(evaluate, {PlasmaWallpaperScript(absolute_path, layout)}, time_limit_);
  if (reply.ok) return BackendResult::Set();
  const std::string why = "plasmashell's evaluateScript failed (" + reply.Describe() + ")";
  return reply.ServiceMissing() ? BackendResult::Missing(why) : BackendResult::Failed(why);
}

}  // namespace vellumo
