#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vellumo {

// A bitmap is written to a partial file beside it, "<bitmap name>.partial-XXXXXX" (six letters
// or digits), and renamed once complete (over the bitmap, or to a fresh name beside it). A run
// killed in between leaves the partial file behind; the next run removes every name of exactly
// this form, and nothing else.
inline constexpr std::size_t kPartialSuffixLength = 6;

// The partial file's name for `bitmap_name` (a file name, not a path) and a suffix of
// kPartialSuffixLength characters; "XXXXXX" makes a mkstemp template.
std::string PartialFileName(std::string_view bitmap_name, std::string_view suffix);

// True when `name` is a partial file name of `bitmap_name`: the same letters, case included,
// and a suffix of exactly six ASCII letters or digits. Earlier versions of the Linux program
// named theirs ".<bitmap name>.XXXXXX"; those count too, so an update clears what they left.
bool IsPartialFileOf(std::string_view name, std::string_view bitmap_name);

}  // namespace vellumo
