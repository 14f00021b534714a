// Writing a file so that a failure never destroys the previous one.
#pragma once

#include <filesystem>
#include <functional>
#include <ostream>

namespace quillmere {

/// Calls `write` with a stream on a temporary file in the target's folder, then renames the
/// temporary file over `target`. When the stream fails or `write` throws, the temporary file is
/// removed, `target` is left as it was, and a std::runtime_error with the system's message (or
/// the exception) propagates.
void WriteFileAtomically(const std::filesystem::path& target,
                         const std::function<void(std::ostream&)>& write);

}  // namespace quillmere
