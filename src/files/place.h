#pragma once

#include "files/descriptor.h"
#include "files/filestep.h"

#include <functional>
#include <string>
#include <sys/stat.h>

// Where a file lies: its folder, open, and its name there. Everything a save does is done
// relative to that folder, so no absolute path is ever spelt and folders of any depth serve.
namespace zev {

struct Place {
    Descriptor folder;
    std::string name;
    std::string shownFolder; // the folder as the user may find it; empty for the current one

    // A file of this folder as the user may find it.
    [[nodiscard]] std::string shown(const std::string& file) const;
};

// As many symbolic links in a row as the kernel follows.
inline constexpr int kMostLinksFollowed = 40;

// What no one but the user may open: a file while it is written, a folder of the user's own.
inline constexpr int kPrivateFileMode = 0600;
inline constexpr int kPrivateFolderMode = 0700;

// Follows the path's last name through symbolic links, as the kernel would, to its folder, and
// looks at what the name holds there through node, opened with O_PATH, which opens nothing: a
// fifo or a device never learns of it. Fails at Folder (ELOOP past kMostLinksFollowed links: at
// Find), Find, Absent (the place is where the file is to be made) or NotRegular (a symbolic
// link only where one was put there meanwhile); info describes the regular file found.
FileFailure findFile(const std::string& path, Place& place, Descriptor& node, struct stat& info);

// The user's own folder for what may not lie beside a file, where the manual page says
// (resources/zev.1, SAVING), made private where missing; shownFolder names it. 0 or errno.
int openPrivateFolder(Place& place);

// 0 or errno; a folder that could be opened only for searching cannot be synced and is let be.
int syncFolder(const Place& place);

// The file a descriptor opened with O_PATH stands for, opened again with these flags through
// /proc/self/fd, so that what is opened is the very file looked at; -1 with errno on failure.
int openAgain(const Descriptor& node, int flags);

// Letters that make a name unlikely to be taken.
std::string randomTag();

// A new file in the place's folder under the first free name that nameFor gives for attempt 0,
// 1, ...; empty when there is none, with errno saying why.
std::string createIn(const Place& place, const std::function<std::string(int attempt)>& nameFor,
                     int mode, Descriptor& fd);

} // namespace zev
