#pragma once

#include <string>
#include <string_view>

// Gives the file at a path exactly the given content, keeping everything else that belongs to
// it, as the manual page promises users (resources/zev.1, SAVING: the one statement of what a
// save keeps and what a failure or a crash leaves); filereplace.cpp says why it goes as it
// does. What failed comes back as data naming the step and the place; the words are the caller's.
//
// The path is in the file system's encoding, relative to the current folder. Linux only: an
// open file is opened again through /proc/self/fd.
namespace zev {

// Where a replace stopped, and the place each step names, as the user may find it.
enum class ReplaceStep {
    None,          // nothing failed
    Folder,        // opening the folder the name leads to; the place: that folder
    Find,          // following the name to its file; the place: the folder it was looked for in
    NotRegular,    // the name leads to a folder, a device, a pipe or a socket
    Open,          // opening the file for writing
    Create,        // making a new file; the place: its folder
    Moved,         // the name no longer held the file once it was open
    PrivateFolder, // making the user's own folder for the copy; the place: that folder
    Copy,          // keeping a copy of the old content; the place: the copy's name
    Write,         // giving the file its new content
};

struct ReplaceOutcome {
    ReplaceStep failed = ReplaceStep::None;
    int error = 0;         // the errno of the failure, where it has one
    std::string place;     // as the step says; empty for the current folder
    bool oldIntact = true; // the file still holds its whole old content (or, if new, is absent)
    std::string copy;      // with oldIntact false, where the whole old content lies
    bool partialNewFile = false; // a new file was left with part of the content

    [[nodiscard]] bool ok() const { return failed == ReplaceStep::None; }
};

ReplaceOutcome replaceFileContent(const std::string& path, std::string_view content);

} // namespace zev
