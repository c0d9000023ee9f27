#pragma once

#include <QByteArray>

namespace zev {

// Not errnos: the name leads to a folder, a device, a pipe or a socket; or the file the name
// held was moved or replaced while it was being saved.
inline constexpr int kNotRegularFile = -1;
inline constexpr int kFileMoved = -2;

// What became of one replace.
struct ReplaceOutcome {
    int error = 0; // errno of the first failure, kNotRegularFile or kFileMoved
    // The file may hold neither its old content nor the new one.
    bool damaged = false;
    // When damaged: the file beside it that holds its whole old content, if there is one.
    QByteArray oldCopy;
    // A new file was left with only part of the content: it could not be removed.
    bool partialNewFile = false;

    [[nodiscard]] bool ok() const { return error == 0; }
};

// Gives the file at path (in the file system's encoding, relative to the current folder) exactly
// the given content. Links are followed by the kernel; only a regular file the user may write is
// written. An existing file keeps everything else that belongs to it: owner, group, mode (set-id
// bits too, except that the kernel itself clears the set-group-ID bit when a user outside the
// file's group writes it), access control lists, extended attributes and its other names, and a
// symbolic link stays a link. A new file is made whole or not at all.
//
// A reported failure leaves the file as it was. If the program is killed instead, the file holds
// its old content or the new one, or, when it was being rewritten in place (a file with other
// names, one that cannot be renamed over, or any file saved by an ordinary user), a copy named
// NAME~ (or NAME~ and a few letters) beside it holds the whole old content. Two cases promise
// less, because no copy can be made there: a file in a folder the user may not write, and a file
// the user may write but not read. A kill while they are rewritten leaves a mix, and a failure
// that comes too late to put the old bytes back is reported as damage.
//
// Linux only: the file's own name and folder are asked of /proc/self/fd.
ReplaceOutcome replaceFileContent(const QByteArray& path, const QByteArray& content);

} // namespace zev
