#include "files/place.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace zev {
namespace {

// Appended piecewise: GCC 12 warns of an overlap that cannot happen in a + '/' + b.
std::string joined(const std::string& folder, const std::string& name) {
    std::string path = folder;
    path += '/';
    path += name;
    return path;
}

// A folder open for reading can be synced; one the user may only search is opened for the rest.
int openFolder(int at, const std::string& path, Place& place) {
    Descriptor folder(::openat(at, path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid() && errno == EACCES) {
        folder.reset(::openat(at, path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    }
    if (!folder.valid()) {
        return errno;
    }
    place.folder.reset(folder.release());
    return 0;
}

// Opens the folder part of a path, relative to the place's folder (the current one at first),
// and takes the last part as the name.
int enter(const std::string& path, Place& place) {
    const size_t slash = path.rfind('/');
    const int at = place.folder.valid() ? place.folder.get() : AT_FDCWD;
    // "dir/" names the folder itself.
    place.name = slash + 1 == path.size() ? std::string(".") : path.substr(slash + 1);
    if (slash == std::string::npos) {
        return at == AT_FDCWD ? openFolder(at, ".", place) : 0;
    }
    const std::string folder = slash == 0 ? "/" : path.substr(0, slash);
    place.shownFolder = folder.front() == '/' || place.shownFolder.empty()
                            ? folder
                            : joined(place.shownFolder, folder);
    return openFolder(at, folder, place);
}

std::string linkTarget(const Place& place) {
    std::string target(PATH_MAX, '\0');
    const ssize_t length =
        ::readlinkat(place.folder.get(), place.name.c_str(), target.data(), target.size());
    target.resize(length < 0 ? 0 : size_t(length));
    return target;
}

std::string stateHome() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && state[0] == '/') {
        return state;
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {
        const passwd* user = ::getpwuid(::getuid());
        home = user != nullptr ? user->pw_dir : "/";
    }
    return std::string(home) + "/.local/state";
}

// Follows the path's last name through symbolic links to where the file is, or is to be made
// when there is none. 0, ELOOP past kMostLinksFollowed links, or the errno of the folder that
// could not be opened, which shownFolder then names.
int findPlace(const std::string& path, Place& place) {
    std::string target = path;
    for (int followed = 0;; ++followed) {
        if (const int error = enter(target, place)) {
            return error;
        }
        // Whatever stops a look at the name, the open that follows reports it.
        struct stat info {};
        if (::fstatat(place.folder.get(), place.name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISLNK(info.st_mode)) {
            return 0;
        }
        if (followed == kMostLinksFollowed) {
            return ELOOP;
        }
        target = linkTarget(place);
        if (target.empty()) {
            return errno;
        }
    }
}

} // namespace

std::string Place::shown(const std::string& file) const {
    return shownFolder.empty() ? file : joined(shownFolder, file);
}

FileFailure findFile(const std::string& path, Place& place, Descriptor& node, struct stat& info) {
    if (const int error = findPlace(path, place)) {
        return {error == ELOOP ? FileStep::Find : FileStep::Folder, error, place.shownFolder};
    }
    node.reset(::openat(place.folder.get(), place.name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    if (!node.valid() || ::fstat(node.get(), &info) != 0) {
        return {errno == ENOENT ? FileStep::Absent : FileStep::Find, errno, place.shownFolder};
    }
    if (!S_ISREG(info.st_mode)) {
        return {FileStep::NotRegular, 0, {}, info.st_mode & S_IFMT};
    }
    return {};
}

int openPrivateFolder(Place& place) {
    const std::string folder = stateHome() + "/zev";
    place.shownFolder = folder;
    // Each missing folder on the way is made private, as the base folders of a desktop are.
    for (size_t end = folder.find('/', 1);; end = folder.find('/', end + 1)) {
        if (::mkdir(folder.substr(0, end).c_str(), kPrivateFolderMode) != 0 && errno != EEXIST) {
            return errno;
        }
        if (end == std::string::npos) {
            return openFolder(AT_FDCWD, folder, place);
        }
    }
}

int syncFolder(const Place& place) {
    return ::fsync(place.folder.get()) == 0 || errno == EBADF ? 0 : errno;
}

int openAgain(const Descriptor& node, int flags) {
    const std::string self = "/proc/self/fd/" + std::to_string(node.get());
    return ::open(self.c_str(), flags);
}

std::string randomTag() {
    static std::mt19937 generator{std::random_device{}()};
    std::string tag;
    for (unsigned value = generator(); value != 0; value /= 36) {
        tag += "0123456789abcdefghijklmnopqrstuvwxyz"[value % 36];
    }
    return tag;
}

std::string createIn(const Place& place, const std::function<std::string(int)>& nameFor, int mode,
                     Descriptor& fd) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = nameFor(attempt);
        fd.reset(::openat(place.folder.get(), name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC,
                          mode));
        if (fd.valid()) {
            return name;
        }
        if (errno != EEXIST && errno != ENAMETOOLONG) {
            return {};
        }
    }
    return {};
}

} // namespace zev
