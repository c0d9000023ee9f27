#pragma once

#include <string>
#include <string_view>

// Gives the file at a path exactly the given content, keeping everything else that belongs to
// it, and never leaving the user without a whole version of it. What failed comes back as
// data; the words for the user are the caller's.
//
// The path is in the file system's encoding, relative to the current folder. Symbolic links at
// its end are followed (a chain of more than 40 is refused), and a link that leads nowhere yet
// gets its file only with the whole content. Only a regular file that the user may write is
// written: a folder, a device, a pipe or a socket is refused before it is opened.
//
// An existing file keeps its owner, group and mode, access control lists, extended attributes
// and its other names, and a symbolic link stays a link. The mode keeps its set-id bits, except
// where Linux itself clears them when a process without CAP_FSETID writes the file: the
// set-user-ID bit always, the set-group-ID bit where group execution is allowed (and, on
// newer kernels, where the writer is outside the file's group).
//
// A reported failure leaves the old content whole: in the file (oldIntact), or, where even
// putting it back failed, in the copy the outcome names. If the process is killed instead, the
// file holds its old content or the new one, or, while it was being rewritten in place, a copy
// holds its whole old content: beside it as NAME~ (or NAME~ and a few letters), or, where the
// folder may not be written, in the user's private folder (openPrivateFolder, place.h). One
// case cannot be guarded: a file the user may write but not read, of which no copy can be made;
// a kill or failure while it is rewritten may leave a mix of old and new.
//
// A new file appears whole under its name, or not at all, with the mode and access control list
// any new file gets there; only where no temporary file can be made in its folder is it written
// directly, and a kill then may leave it partly written. Temporary files and copies are 0600
// until they take their final mode, so no one else can open them half written. Whatever a save
// makes on its way (a temporary file, a folder for it, a copy of the old content) is gone once it
// returns, but for a copy a failure names, on FUSE file systems too.
//
// Linux only: an open file is opened again through /proc/self/fd.
namespace zev {

// Where a replace stopped.
enum class ReplaceStep {
    None,       // nothing failed
    Find,       // following the name to its folder and file
    NotRegular, // the name leads to a folder, a device, a pipe or a socket
    Open,       // opening the file for writing
    Moved,      // the name no longer held the file once it was open
    Copy,       // keeping a copy of the old content
    Write,      // giving the file its new content
};

struct ReplaceOutcome {
    ReplaceStep failed = ReplaceStep::None;
    int error = 0;         // the errno of the failure, where it has one
    bool oldIntact = true; // the file still holds its whole old content (or, if new, is absent)
    // With oldIntact false, where the whole old content lies; when the copy failed, the name it
    // was to have.
    std::string copy;
    bool partialNewFile = false; // a new file was left with part of the content

    [[nodiscard]] bool ok() const { return failed == ReplaceStep::None; }
};

ReplaceOutcome replaceFileContent(const std::string& path, std::string_view content);

} // namespace zev
