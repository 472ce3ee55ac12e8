#pragma once

#include <sys/stat.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/settings_store.h"

namespace vellumo {

// One line of an INI file: its text and the line break that ends it ("\r\n", "\n", or nothing
// on a last line without one), so that lines we do not change are written back byte for byte.
struct IniLine {
  std::string text;
  std::string end;
};

// An INI file as read: the UTF-8 byte order mark it starts with, if any, and its lines.
struct IniFile {
  std::string bom;
  std::vector<IniLine> lines;
};

// The settings as "key=value" lines in the [Settings] section of an INI file, read the way
// people and the common INI writers write them: a byte order mark, CRLF or LF line breaks,
// section names and keys in any letter case, blanks around '=' and at the line's end, values in
// double quotes, comments starting with ';' or '#' (only on lines of their own: a ';' or '#'
// after a value is part of it, as file names may hold them).
//
// Values are written as they are (sLastFile=/home/ann/a.jpg), so other tools read them. A value
// that would not read back the same that way (one holding a line break, starting or ending with
// a blank, or starting with a double quote) is written in double quotes with four escapes:
// \\ for a backslash, \" for a double quote, \n and \r for the line breaks, as in
// sLastFile="/home/ann/two\nlines.jpg". A value in matching double quotes reads as the text
// between them with those four escapes decoded; any other backslash stays as it is, so a
// hand-written quoted path reads as its text.
//
// A write changes only the lines of the keys whose values change (a new key goes at the end of
// the section) and keeps everything else byte for byte: other sections, comments, unknown keys,
// the line breaks and the byte order mark. The file is replaced atomically, keeps its mode and
// owner, and a settings file that is a link stays one: the file it leads to is replaced. A
// missing file is an empty store; one that exists but cannot be read is never written over.
class IniSettingsStore : public SettingsStore {
 public:
  explicit IniSettingsStore(std::string path) : path_(std::move(path)) {}

  std::optional<std::string> Read(const std::string& key) override;
  bool Write(const std::string& key, const std::string& value) override;
  // All keys in one rewrite of the file; none when the file already holds these values.
  bool WriteAll(const SettingsValues& values) override;

  const std::string& path() const { return path_; }
  std::string Where() const override { return path_; }

  // What identifies one version of the file on disk: any write to it changes its change time,
  // a replacement its inode.
  struct Version {
    bool exists = false;
    struct stat info {};
    bool operator==(const Version& other) const;
  };
  struct Snapshot {
    Version version;
    IniFile file;
  };

 private:
  bool Refresh();

  std::string path_;
  // The file as last read, reused by reads while the file on disk is the same version: loading
  // the settings reads the file once, not once per key.
  std::optional<Snapshot> cache_;
};

}  // namespace vellumo
