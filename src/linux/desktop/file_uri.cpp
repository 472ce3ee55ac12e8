#include "file_uri.h"

#include <cstdint>

#include "platform/utf8.h"

namespace vellumo {
namespace {

bool IsUnreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

void AppendEscaped(std::string& out, unsigned char c, const char* digits) {
  out += '%';
  out += digits[c >> 4];
  out += digits[c & 0xF];
}

std::optional<uint32_t> ParseHex(std::string_view digits) {
  uint32_t value = 0;
  for (char c : digits) {
    value <<= 4;
    if (c >= '0' && c <= '9') {
      value |= static_cast<uint32_t>(c - '0');
    } else if (c >= 'a' && c <= 'f') {
      value |= static_cast<uint32_t>(c - 'a' + 10);
    } else if (c >= 'A' && c <= 'F') {
      value |= static_cast<uint32_t>(c - 'A' + 10);
    } else {
      return std::nullopt;
    }
  }
  return value;
}

char SimpleEscape(char c) {
  switch (c) {
    case 'n':
      return '\n';
    case 't':
      return '\t';
    case 'r':
      return '\r';
    case 'b':
      return '\b';
    case 'f':
      return '\f';
    case 'v':
      return '\v';
    case 'a':
      return '\a';
    default:
      return c;  // quotes, backslash
  }
}

bool HasHexLetter(unsigned char c) {
  return (c >> 4) >= 10 || (c & 0xF) >= 10;
}

// Percent-encodes `path`; the byte at `respell_at` gets its other spelling: escaped when it
// would stay as it is, or escaped with lower-case digits.
std::string EncodePath(std::string_view path, size_t respell_at) {
  std::string out;
  for (size_t i = 0; i < path.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    bool plain = IsUnreserved(c) || c == '/';
    if (i == respell_at) {
      AppendEscaped(out, c, plain ? "0123456789ABCDEF" : "0123456789abcdef");
    } else if (plain) {
      out += static_cast<char>(c);
    } else {
      AppendEscaped(out, c, "0123456789ABCDEF");
    }
  }
  return out;
}

}  // namespace

std::string FileUri(std::string_view absolute_path) {
  return "file://" + EncodePath(absolute_path, std::string_view::npos);
}

std::string AlternateFileUri(std::string_view absolute_path) {
  size_t name = absolute_path.rfind('/') + 1;  // npos + 1 == 0: no folder at all
  for (size_t i = name; i < absolute_path.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(absolute_path[i]);
    if (IsUnreserved(c) || HasHexLetter(c)) return "file://" + EncodePath(absolute_path, i);
  }
  // A name of bytes such as '#' or '%' only, whose escapes have no letters: add a "./" step.
  std::string_view folder = absolute_path.substr(0, name);
  return "file://" + EncodePath(folder, std::string_view::npos) + "./" +
         EncodePath(absolute_path.substr(name), std::string_view::npos);
}

std::string AlternatePath(std::string_view absolute_path) {
  size_t slash = absolute_path.rfind('/');
  if (slash == std::string_view::npos) return "./" + std::string(absolute_path);
  std::string out(absolute_path.substr(0, slash + 1));
  out += "./";
  out += absolute_path.substr(slash + 1);
  return out;
}

std::string QuoteGVariantString(std::string_view text) {
  std::string out = "'";
  for (char c : text) {
    switch (c) {
      case '\'':
        out += "\\'";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          static constexpr char kHex[] = "0123456789abcdef";
          out += "\\u00";
          out += kHex[(c >> 4) & 0xF];
          out += kHex[c & 0xF];
        } else {
          out += c;
        }
    }
  }
  return out + "'";
}

std::optional<std::string> ParseGVariantString(std::string_view printed) {
  while (!printed.empty() && (printed.back() == '\n' || printed.back() == ' ')) {
    printed.remove_suffix(1);
  }
  if (printed.size() < 2) return std::nullopt;
  char quote = printed.front();
  if ((quote != '\'' && quote != '"') || printed.back() != quote) return std::nullopt;
  std::string_view body = printed.substr(1, printed.size() - 2);
  std::string out;
  for (size_t i = 0; i < body.size(); ++i) {
    if (body[i] != '\\') {
      if (body[i] == quote) return std::nullopt;  // an unescaped quote ends the string early
      out += body[i];
      continue;
    }
    if (++i == body.size()) return std::nullopt;
    char kind = body[i];
    size_t digits = kind == 'u' ? 4 : kind == 'U' ? 8 : 0;
    if (digits == 0) {
      out += SimpleEscape(kind);
      continue;
    }
    std::optional<uint32_t> code = ParseHex(body.substr(i + 1, digits));
    if (!code || i + digits >= body.size() || *code > 0x10FFFF) return std::nullopt;
    AppendUtf8(out, *code);
    i += digits;
  }
  return out;
}

}  // namespace vellumo
