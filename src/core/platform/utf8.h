#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vellumo {

// The core's text is UTF-8; these are the few places that look inside it.

// Appends the UTF-8 form of `code` (up to U+10FFFF).
void AppendUtf8(std::string& out, uint32_t code);

// The character whose UTF-8 sequence starts at `at`, moving `at` past it. A byte that starts no
// complete, well-formed sequence (overlong, a surrogate, beyond U+10FFFF, cut short) is U+FFFD,
// and `at` moves past that one byte.
uint32_t NextCodePoint(std::string_view text, size_t& at);

// The characters in `text`: the bytes that do not continue a sequence.
size_t CountCharacters(std::string_view text);

// `cut` moved back to the start of the sequence it falls inside, so that cutting `text` there
// splits no character.
size_t CharacterBoundary(std::string_view text, size_t cut);

}  // namespace vellumo
