#include "platform/utf8.h"

namespace vellumo {
namespace {

constexpr uint32_t kReplacement = 0xFFFD;

bool IsContinuation(uint8_t byte) {
  return (byte & 0xC0) == 0x80;
}

// The smallest code point each sequence length may carry; anything below is overlong.
constexpr uint32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};

bool IsWellFormed(uint32_t code, int extra) {
  const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
  return code >= kSmallest[extra] && code <= 0x10FFFF && !surrogate;
}

}  // namespace

void AppendUtf8(std::string& out, uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
    return;
  }
  const int extra = code < 0x800 ? 1 : code < 0x10000 ? 2 : 3;
  constexpr uint8_t kLead[] = {0, 0xC0, 0xE0, 0xF0};
  out += static_cast<char>(kLead[extra] | (code >> (6 * extra)));
  for (int shift = 6 * (extra - 1); shift >= 0; shift -= 6)
    out += static_cast<char>(0x80 | ((code >> shift) & 0x3F));
}

uint32_t NextCodePoint(std::string_view text, size_t& at) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
  const uint8_t first = byte(at++);
  if (first < 0x80) return first;
  const int extra = first >= 0xF0 ? 3 : first >= 0xE0 ? 2 : first >= 0xC0 ? 1 : 0;
  if (extra == 0 || first > 0xF4 || at + extra > text.size()) return kReplacement;
  uint32_t code = first & (0x3F >> extra);
  for (int k = 0; k < extra; ++k) {
    if (!IsContinuation(byte(at + k))) return kReplacement;
    code = (code << 6) | (byte(at + k) & 0x3F);
  }
  if (!IsWellFormed(code, extra)) return kReplacement;
  at += extra;
  return code;
}

size_t CountCharacters(std::string_view text) {
  size_t count = 0;
  for (const char c : text) count += !IsContinuation(static_cast<uint8_t>(c));
  return count;
}

size_t CharacterBoundary(std::string_view text, size_t cut) {
  while (cut > 0 && cut < text.size() && IsContinuation(static_cast<uint8_t>(text[cut]))) --cut;
  return cut;
}

}  // namespace vellumo
