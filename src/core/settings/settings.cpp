#include "settings/settings.h"

#include <utility>

#include "platform/text.h"

namespace vellumo {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// A plain decimal number: optional sign, digits, optional fraction. Scientific notation,
// thousands separators and the like are not numbers here.
struct Decimal {
  bool negative = false;
  std::string_view whole;     // without leading zeros
  std::string_view fraction;  // digits after the point
};

std::optional<Decimal> ParseDecimal(std::string_view text) {
  text = TrimBlanks(text);
  Decimal d;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    d.negative = text[0] == '-';
    text.remove_prefix(1);
  }
  const auto point = text.find('.');
  std::string_view whole = text.substr(0, point);
  std::string_view fraction = point == std::string_view::npos ? "" : text.substr(point + 1);
  if (whole.empty() && fraction.empty()) return std::nullopt;
  for (char c : whole)
    if (!IsDigit(c)) return std::nullopt;
  for (char c : fraction)
    if (!IsDigit(c)) return std::nullopt;
  while (!whole.empty() && whole[0] == '0') whole.remove_prefix(1);
  d.whole = whole;
  d.fraction = fraction;
  return d;
}

bool AllZero(std::string_view digits) {
  return digits.find_first_not_of('0') == digits.npos;
}

template <typename T>
void Read(SettingsStore& store, const char* key, std::optional<T> (*parse)(std::string_view),
          T& value) {
  if (const auto text = store.Read(key))
    if (const auto parsed = parse(*text)) value = *parsed;
}

}  // namespace

std::string BooleanText(bool value) {
  return value ? "True" : "False";
}

std::string IntegerText(int16_t value) {
  return std::to_string(value);
}

std::optional<bool> ParseBoolean(std::string_view text) {
  const auto trimmed = TrimBlanks(text);
  if (EqualsIgnoringCase(trimmed, "true")) return true;
  if (EqualsIgnoringCase(trimmed, "false")) return false;
  const auto number = ParseDecimal(trimmed);
  if (!number) return std::nullopt;
  return !(number->whole.empty() && AllZero(number->fraction));
}

std::optional<int16_t> ParseInteger(std::string_view text) {
  const auto number = ParseDecimal(text);
  if (!number || number->whole.size() > 5) return std::nullopt;
  long value = 0;
  for (char c : number->whole) value = value * 10 + (c - '0');

  // Round to the nearest whole number, halves to the even neighbour.
  const auto& f = number->fraction;
  if (!f.empty() && f[0] >= '5') {
    const bool exact_half = f[0] == '5' && AllZero(f.substr(1));
    if (!exact_half || value % 2 == 1) ++value;
  }
  if (number->negative) value = -value;
  if (value < INT16_MIN || value > INT16_MAX) return std::nullopt;
  return static_cast<int16_t>(value);
}

void Load_Settings(SettingsStore& store, FileSystem& files, const std::string& windows_path,
                   Settings& settings) {
  settings = Settings{};
  Read(store, "bFadeOut", ParseBoolean, settings.bFadeOut);
  Read(store, "bRandom", ParseBoolean, settings.bRandom);
  Read(store, "bRepeats", ParseBoolean, settings.bRepeats);
  Read(store, "iDisplayType", ParseInteger, settings.iDisplayType);
  Read(store, "iSourceType", ParseInteger, settings.iSourceType);

  settings.sSourceFile = store.Read("sSourceFile").value_or("");
  if (!files.FileExists(settings.sSourceFile)) {
    settings.missing_source_file = std::exchange(settings.sSourceFile, {});
  }
  settings.sSourceFolder = store.Read("sSourceFolder").value_or(windows_path);
  if (!files.FolderExists(settings.sSourceFolder)) {
    settings.missing_source_folder = std::exchange(settings.sSourceFolder, {});
  }

  settings.sLastFile = store.Read("sLastFile").value_or("");
  Read(store, "iAutoSize", ParseInteger, settings.iAutoSize);
  Read(store, "iAutoRatio", ParseInteger, settings.iAutoRatio);
  Read(store, "iInterval", ParseInteger, settings.iInterval);
  // No schedule runs backwards: a negative interval edited by hand means at logon only.
  if (settings.iInterval < 0) settings.iInterval = 0;
}

void Save_Settings(SettingsStore& store, const Settings& settings) {
  store.WriteAll({{"bRepeats", BooleanText(settings.bRepeats)},
                  {"bRandom", BooleanText(settings.bRandom)},
                  {"bFadeOut", BooleanText(settings.bFadeOut)},
                  {"iSourceType", IntegerText(settings.iSourceType)},
                  {"iDisplayType", IntegerText(settings.iDisplayType)},
                  {"iAutoSize", IntegerText(settings.iAutoSize)},
                  {"iAutoRatio", IntegerText(settings.iAutoRatio)}});
}

bool Store_Last_File(SettingsStore& store, const std::string& path) {
  return store.Write("sLastFile", path);
}

}  // namespace vellumo
