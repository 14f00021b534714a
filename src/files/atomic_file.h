// Writing a file so that a failure never destroys the previous one, and a success keeps what
// protected it.
//
// The new contents are written in full to a temporary file beside the real file (the end of a
// chain of symbolic links), every write and the final flush are checked, the file is synced, it
// takes over the old file's permissions (and owner and group where the system permits), and one
// rename replaces the old file; the folder is synced after it. A read-only file is refused
// rather than replaced. A file with further hard links is rewritten in place once the complete
// new contents are safely on disk beside it, so every name keeps seeing the same file.
//
// Errors: std::runtime_error naming the file and the system's reason; the old file is then as it
// was and no temporary file is left behind (except when an in-place rewrite of a hard-linked
// file fails part-way: then the message names the temporary file that holds the complete
// contents).
#pragma once

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>

namespace quillmere {

/// Replaces `target` with `contents`. `temporaryName`, when given, is the file name of the
/// temporary file (in the real file's folder) instead of a fresh unique one.
void WriteFileAtomically(const std::filesystem::path& target, std::string_view contents,
                         const std::string& temporaryName = {});

/// Calls `write` with a stream that collects the contents, then replaces `target` with them.
/// When `write` throws or its stream fails, nothing on disk is touched.
void WriteFileAtomically(const std::filesystem::path& target,
                         const std::function<void(std::ostream&)>& write);

/// The file a path finally names after following symbolic links (the path itself when it is no
/// link); a dangling link gives the missing file it points to.
std::filesystem::path ResolveSymbolicLinks(const std::filesystem::path& path);

}  // namespace quillmere
