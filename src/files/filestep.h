#pragma once

#include <string>
#include <sys/types.h>

// What stopped a look-up, a read or a replace of a file, as data; the words are the caller's.
namespace zev {

// The steps of finding, reading and replacing a file, and the place each names, as the user may
// find it.
enum class FileStep {
    None,          // nothing failed
    Folder,        // opening the folder the name leads to; the place: that folder
    Find,          // following the name to its file; the place: the folder it was looked for in
    Absent,        // its folder is there, but no file by that name yet
    NotRegular,    // the name leads to a folder, a device, a pipe or a socket
    TooLarge,      // more bytes than the reader's bound
    Open,          // opening the file for reading, or for writing
    Read,          // reading it
    Create,        // making a new file; the place: its folder
    Mode,          // giving a new file the mode any new file gets in its folder
    Moved,         // the name no longer held the file once it was open
    PrivateFolder, // making the user's own folder for the copy; the place: that folder
    Copy,          // keeping a copy of the old content; the place: the copy's name
    Write,         // giving the file its new content
    Rename,        // putting the new file in the old one's place; the place: its folder
};

struct FileFailure {
    FileStep step = FileStep::None;
    int error = 0;       // the errno of the failure, where it has one
    std::string place{}; // as the step says; empty for the current folder
    mode_t kind = 0;     // with NotRegular: the file type bits of its mode (S_IFDIR, ...)

    [[nodiscard]] bool failed() const { return step != FileStep::None; }
};

} // namespace zev
