#pragma once

#include <filesystem>
#include <functional>
#include <string_view>

namespace vellumo {

// Called with the temporary file's descriptor before anything is written into it, to give the
// file its mode or owner; false abandons the write.
using PrepareFile = std::function<bool(int fd)>;

// Replaces `target` with `text` in one step: a new temporary file beside it (the folder is
// created when missing), filled, flushed to the disk and renamed over it. Readers see the old
// file or the new one, and a crash never leaves half a file. Without `prepare` the new file is
// owner-only, as mkstemp makes it. False, with `target` untouched and no temporary file left,
// when any step fails.
bool WriteFileAtomically(const std::filesystem::path& target, std::string_view text,
                         const PrepareFile& prepare = {});

}  // namespace vellumo
