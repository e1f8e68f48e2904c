// The file named with -o: written so that no file is ever destroyed.
#pragma once

#include <string>

namespace cli {

// Writes all of `text` to the file at `path` (a UTF-8 path on every platform). False with the
// reason when it cannot.
// - A regular file, or the regular file a symbolic link names, is written to a temporary file in
//   its folder, flushed to the disk and renamed over it only when complete: it keeps its
//   permissions (and its owner, where the system allows), a link stays a link, and when anything
//   fails the earlier file is left byte for byte as it was.
// - A file that does not exist yet is made the same way, with the permissions a new file gets.
// - Anything else (a device, a FIFO, /dev/stdout) is written directly and never removed.
// - Where no temporary file can be made beside a regular file (a folder the user may not write,
//   holding a file they may), the file is written in place; a failure then leaves it incomplete.
// No temporary file is left behind: not on a failure, not when a file-size limit is reached, and
// not when Ctrl+C, a hang-up or a termination request ends the program while it writes.
bool writeFile(const std::string& path, const std::string& text, std::string& reason);

}  // namespace cli
