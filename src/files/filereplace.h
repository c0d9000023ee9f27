#pragma once

#include "files/filestep.h"

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

struct ReplaceOutcome {
    FileFailure failure;   // at any step but Absent, TooLarge and Read
    bool oldIntact = true; // the file still holds its whole old content (or, if new, is absent)
    std::string copy{};    // with oldIntact false, where the whole old content lies
    bool partialNewFile = false; // a new file was left with part of the content

    [[nodiscard]] bool ok() const { return !failure.failed(); }
};

ReplaceOutcome replaceFileContent(const std::string& path, std::string_view content);

} // namespace zev
