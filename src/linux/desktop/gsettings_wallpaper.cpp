#include "gsettings_wallpaper.h"

#include <cstdio>
#include <optional>
#include <vector>

#include "command.h"
#include "dbus_session.h"
#include "file_uri.h"

namespace vellumo {
namespace {

struct PictureKey {
  const char* name;
  bool is_uri;    // a file URI; otherwise a plain path
  bool optional;  // skipped when this version of the desktop does not have it
};

struct Schema {
  const char* id;
  std::vector<PictureKey> picture_keys;
};

Schema SchemaOf(DesktopFamily family) {
  switch (family) {
    case DesktopFamily::kCinnamon:
      return {"org.cinnamon.desktop.background", {{"picture-uri", true, false}}};
    case DesktopFamily::kMate:
      return {"org.mate.background", {{"picture-filename", false, false}}};
    default:
      // picture-uri-dark only exists from GNOME 42 on.
      return {"org.gnome.desktop.background",
              {{"picture-uri", true, false}, {"picture-uri-dark", true, true}}};
  }
}

const char* OptionsValue(Layout layout) {
  switch (layout) {
    case Layout::kTiled:
      return "wallpaper";
    case Layout::kCentered:
      return "centered";
    case Layout::kStretched:
      break;
  }
  return "stretched";
}

// Runs gsettings against one deadline for the whole change: at logon a gsettings waiting on a
// D-Bus that does not answer would otherwise hold up the run for ever.
class Gsettings {
 public:
  explicit Gsettings(std::chrono::milliseconds time_limit)
      : time_limit_(time_limit), deadline_(std::chrono::steady_clock::now() + time_limit) {}

  CommandResult Run(const char* verb, const char* schema, const char* key,
                    const std::string* value = nullptr) const {
    std::vector<std::string> argv = {"gsettings", verb, schema, key};
    if (value) argv.push_back(*value);
    return RunCommand(argv, deadline_);
  }

  bool Expired() const { return std::chrono::steady_clock::now() >= deadline_; }

  // "gsettings did not answer within 10 s" or "gsettings failed (exit 1: ...)".
  std::string Failure(const CommandResult& result) const {
    if (result.timed_out) return TimeoutMessage();
    return "gsettings failed (" + DescribeFailure(result) + ")";
  }

  std::string TimeoutMessage() const {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%g", static_cast<double>(time_limit_.count()) / 1000);
    return std::string("gsettings did not answer within ") + seconds + " s";
  }

 private:
  std::chrono::milliseconds time_limit_;
  std::chrono::steady_clock::time_point deadline_;
};

// The value to write. The program rewrites the bitmap under the same name at every change, and
// a desktop is told only when a key really changes: writing the value the key already holds
// would leave the old picture on screen. When the key holds our usual spelling we write another
// spelling of the same file, so the key changes every time and the desktop reloads the file.
std::optional<std::string> ValueToWrite(const Gsettings& gsettings, const char* schema,
                                        const PictureKey& key, const std::string& absolute_path) {
  CommandResult current = gsettings.Run("get", schema, key.name);
  if (!Succeeded(current) && key.optional) return std::nullopt;
  std::string usual = key.is_uri ? FileUri(absolute_path) : absolute_path;
  std::optional<std::string> held = ParseGVariantString(current.output);
  if (Succeeded(current) && held == usual) {
    return key.is_uri ? AlternateFileUri(absolute_path) : AlternatePath(absolute_path);
  }
  return usual;
}

bool Set(const Gsettings& gsettings, const char* schema, const char* key, const std::string& value,
         std::string& failure) {
  CommandResult result = gsettings.Run("set", schema, key, &value);
  if (Succeeded(result)) return true;
  failure = gsettings.Failure(result);
  return false;
}

}  // namespace

bool GsettingsWallpaper::CanShow(const std::string& absolute_path) const {
  return family_ != DesktopFamily::kMate || IsDbusText(absolute_path);
}

bool SetWallpaperWithGsettings(DesktopFamily family, const std::string& absolute_path,
                               Layout layout, std::string& failure,
                               std::chrono::milliseconds time_limit) {
  const Gsettings gsettings(time_limit);
  Schema schema = SchemaOf(family);
  std::vector<std::pair<const char*, std::string>> pictures;
  for (const PictureKey& key : schema.picture_keys) {
    std::optional<std::string> value = ValueToWrite(gsettings, schema.id, key, absolute_path);
    if (value) pictures.emplace_back(key.name, QuoteGVariantString(*value));
  }
  // A get that ran out of time says nothing about the key; the sets would not answer either.
  if (gsettings.Expired()) {
    failure = gsettings.TimeoutMessage();
    return false;
  }
  // The layout goes first so the desktop draws the new picture with its layout in one step.
  if (!Set(gsettings, schema.id, "picture-options", QuoteGVariantString(OptionsValue(layout)),
           failure)) {
    return false;
  }
  for (const auto& [key, value] : pictures) {
    if (!Set(gsettings, schema.id, key, value, failure)) return false;
  }
  return true;
}

}  // namespace vellumo
