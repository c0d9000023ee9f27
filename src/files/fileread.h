#pragma once

#include <string>
#include <sys/types.h>

// Reads a small file whole: only a regular file is ever opened for reading, so a folder, a
// device, a pipe or a socket neither blocks nor feels the open, and a file larger than the
// caller's bound is refused by its size, never read. Nothing is written, nothing is created.
// What stopped the read comes back as data; the words for the user are the caller's.
//
// The path is in the file system's encoding, relative to the current folder; symbolic links
// are followed as a save follows them (place.h), so the file read is the one a save to the same
// path would write.
namespace zev {

// Where a read stopped.
enum class ReadStep {
    None,       // read whole
    Find,       // following the name to its folder and file
    Absent,     // its folder is there, but no file by that name yet
    NotRegular, // a folder, a device, a pipe or a socket
    TooLarge,   // more bytes than the bound
    Open,       // opening it for reading
    Read,       // reading it
};

struct ReadOutcome {
    ReadStep failed = ReadStep::None;
    int error = 0;       // the errno of the failure, where it has one
    mode_t kind = 0;     // with NotRegular: the file type bits of its mode (S_IFDIR, ...)
    std::string content; // without a failure: every byte of the file

    [[nodiscard]] bool ok() const { return failed == ReadStep::None; }
};

ReadOutcome readSmallFile(const std::string& path, size_t most);

} // namespace zev
