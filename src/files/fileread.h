#pragma once

#include "files/filestep.h"

#include <string>

// Reads a small file whole: only a regular file is ever opened for reading, so a folder, a
// device, a pipe or a socket neither blocks nor feels the open, and a file larger than the
// caller's bound is refused by its size, never read. Nothing is written, nothing is created.
// What stopped the read comes back as data; the words for the user are the caller's.
//
// The path is in the file system's encoding, relative to the current folder; symbolic links
// are followed as a save follows them (place.h), so the file read is the one a save to the same
// path would write.
namespace zev {

struct ReadOutcome {
    FileFailure failure;   // at Folder, Find, Absent, NotRegular, TooLarge, Open or Read
    std::string content{}; // without a failure: every byte of the file

    [[nodiscard]] bool ok() const { return !failure.failed(); }
};

ReadOutcome readSmallFile(const std::string& path, size_t most);

} // namespace zev
