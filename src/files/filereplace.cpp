#include "files/filereplace.h"

#include "files/fileattributes.h"
#include "files/place.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

// Why the save goes as it does.
//
// Every decision is made on a descriptor: the name is opened with O_PATH, and only once fstat
// has shown a regular file is it opened again, through /proc/self/fd, for writing, so a device
// or a pipe is never opened for either. Its identity is taken from the descriptor open for
// writing: on overlayfs that open copies the file up, and only then does its name lead to it.
//
// Renaming a new file over the old one is atomic, but it puts another file in the old one's
// place, so it is done only when the new file is the old one's equal: the old file has one name,
// the new one reads back the same owner, group and mode (set-id bits too), and it holds exactly
// the old file's extended attributes, none it inherited from the folder. An ordinary user may
// not list trusted.* attributes and so never renames. A name that cannot be renamed over (a
// mount point: EBUSY, EXDEV) is rewritten in place as well.
//
// In place, the old bytes are first streamed into a copy, made private to its owner and synced
// with its folder before the file's first byte changes; the copy is removed only once the new
// content is on disk, or once a failure has put the old bytes back from it.
//
// Memory holds the new content and one chunk of the copy (kCopyChunk), whatever the size of the
// old file.

namespace zev {
namespace {

// The existing file being saved over.
struct Target {
    Descriptor fd; // open for writing, and for reading when readable
    bool readable = false;
    struct stat old {};
    Place place;
};

// A copy of the old content, kept while the file is rewritten.
struct OldCopy {
    Descriptor fd;
    Place place; // its folder, and its name there
};

// A new file under a name of its own until it takes its place's name: in the place's folder, or
// in a folder of its own (a nest) made there for it.
struct Temporary {
    Descriptor fd;
    int folder = -1;  // where it lies
    std::string name; // empty while there is no such file
    std::string nest; // the nest's name in the place's folder; empty when there is none
    Descriptor nestFolder;
};

// Whatever else an outcome says keeps its default: the old content intact, no copy to name.
ReplaceOutcome failure(FileStep step, int error, std::string place = {}) {
    return {{step, error, std::move(place)}};
}

std::string temporaryName() { return ".zev-" + randomTag() + ".tmp"; }

// A FUSE file system keeps a file removed while still open under a hidden name until its last
// close, and the nest would not be empty then: everything is closed before it is removed.
void discard(const Place& place, Temporary& temporary) {
    temporary.fd.reset();
    if (!temporary.name.empty()) {
        ::unlinkat(temporary.folder, temporary.name.c_str(), 0);
        temporary.name.clear();
    }
    temporary.nestFolder.reset();
    if (!temporary.nest.empty()) {
        ::unlinkat(place.folder.get(), temporary.nest.c_str(), AT_REMOVEDIR);
        temporary.nest.clear();
    }
}

// The temporary's own private folder in the place's folder, open; 0 or errno.
int makeNest(const Place& place, Temporary& temporary) {
    const std::string nest = temporaryName();
    if (::mkdirat(place.folder.get(), nest.c_str(), kPrivateFolderMode) != 0) {
        return errno;
    }
    temporary.nest = nest;
    temporary.nestFolder.reset(
        ::openat(place.folder.get(), nest.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    temporary.folder = temporary.nestFolder.get();
    return temporary.nestFolder.valid() ? 0 : errno;
}

// A new file of this name in the temporary's folder, removed with it from then on; 0 or errno.
int make(Temporary& temporary, const char* name, int mode) {
    temporary.fd.reset(
        ::openat(temporary.folder, name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
    if (!temporary.fd.valid()) {
        return errno;
    }
    temporary.name = name;
    return 0;
}

// Renames a new file to its name; with noReplace a file that has appeared under that name since
// it was looked for is kept (EEXIST), where the file system can tell.
int renameTo(int fromFolder, const std::string& from, const Place& place, bool noReplace) {
    const int to = place.folder.get();
    const char* name = place.name.c_str();
    if (noReplace && ::renameat2(fromFolder, from.c_str(), to, name, RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (noReplace && errno != EINVAL && errno != ENOSYS) {
        return errno;
    }
    return ::renameat(fromFolder, from.c_str(), to, name) == 0 ? 0 : errno;
}

// Writes the content to the temporary file and renames it to the place's name; whatever fails,
// nothing of the temporary file is left.
ReplaceOutcome commit(const Place& place, Temporary& file, std::string_view content,
                      bool noReplace) {
    const int written = writeWhole(file.fd.get(), content);
    file.fd.reset();
    const int renamed = written == 0 ? renameTo(file.folder, file.name, place, noReplace) : 0;
    if (written == 0 && renamed == 0) {
        file.name.clear(); // it is the place's own now
    }
    discard(place, file);
    if (written != 0) {
        return failure(FileStep::Write, written);
    }
    if (renamed != 0) {
        return failure(FileStep::Rename, renamed, place.shownFolder);
    }
    // The content is the new one; a folder that cannot be synced changes nothing the user could
    // act on.
    syncFolder(place);
    return {};
}

// Where no folder of its own can be made, the file itself is written; a failure removes it.
ReplaceOutcome createDirectly(const Place& place, std::string_view content, int nestError) {
    const int folder = place.folder.get();
    const char* name = place.name.c_str();
    Descriptor fd(::openat(folder, name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!fd.valid()) {
        return failure(FileStep::Create, errno == EEXIST ? nestError : errno, place.shownFolder);
    }
    const int error = writeWhole(fd.get(), content);
    if (error == 0) {
        return {};
    }
    fd.reset(); // closed before it is removed, as in discard
    ReplaceOutcome outcome = failure(FileStep::Write, error);
    outcome.partialNewFile = ::unlinkat(folder, name, 0) != 0;
    return outcome;
}

// Gives a new file the mode of the model, a file made as open() makes any: the umask or the
// folder's default access control list decides it. Both inherit that list alike, and the mode
// sets its mask.
int takeModeOf(int model, int file) {
    struct stat made {};
    return ::fstat(model, &made) == 0 && ::fchmod(file, made.st_mode & 07777) == 0 ? 0 : errno;
}

// No file yet. It is made private inside a private nest beside its place, so that no one else can
// open it half written, takes the mode of an empty model made there as any new file, is written and
// appears under its name whole. A folder's default access control list may leave even its owner
// out of such a nest: then the file is made directly.
ReplaceOutcome createNew(const Place& place, std::string_view content) {
    Temporary file;
    Temporary model;
    int error = makeNest(place, file);
    model.folder = file.folder;
    if (error == 0) {
        error = make(model, "model", 0666);
    }
    if (error == 0) {
        error = make(file, "new", kPrivateFileMode);
    }
    if (error != 0) {
        discard(place, model);
        discard(place, file);
        return createDirectly(place, content, error);
    }
    error = takeModeOf(model.fd.get(), file.fd.get());
    discard(place, model);
    if (error != 0) {
        discard(place, file);
        return failure(FileStep::Mode, error);
    }
    return commit(place, file, content, true);
}

// Owner and group first (changing them clears set-id bits), then the attributes, then the mode;
// true only when all of them read back as the old file's.
bool carryIdentity(const Target& target, int to) {
    const struct stat& old = target.old;
    struct stat now {};
    if (::fchown(to, old.st_uid, old.st_gid) != 0 || !copyAttributesExactly(target.fd.get(), to) ||
        ::fchmod(to, old.st_mode & 07777) != 0 || ::fstat(to, &now) != 0) {
        return false;
    }
    return now.st_uid == old.st_uid && now.st_gid == old.st_gid && now.st_mode == old.st_mode;
}

// Nothing when the file cannot be replaced by a new one without losing something of it.
std::optional<ReplaceOutcome> replaceByRename(const Target& target, std::string_view content) {
    if (target.old.st_nlink != 1 || !mayListEveryAttribute(target.fd.get())) {
        return std::nullopt;
    }
    Temporary file;
    file.folder = target.place.folder.get();
    file.name = createIn(
        target.place, [](int /*attempt*/) { return temporaryName(); }, kPrivateFileMode, file.fd);
    if (file.name.empty()) {
        return std::nullopt;
    }
    if (!setsTrustedAttributes(file.fd.get()) || !carryIdentity(target, file.fd.get())) {
        discard(target.place, file);
        return std::nullopt;
    }
    ReplaceOutcome committed = commit(target.place, file, content, false);
    if (committed.failure.error == EBUSY || committed.failure.error == EXDEV) {
        return std::nullopt;
    }
    return committed;
}

// A copy of the old bytes in the given folder, durable with its name; none is left on failure.
int copyInto(const Target& target, OldCopy& copy) {
    const std::string& file = target.place.name;
    const auto copyName = [&file](int attempt) {
        return attempt == 0 ? file + '~' : file.substr(0, 200) + '~' + randomTag();
    };
    const std::string name = createIn(copy.place, copyName, kPrivateFileMode, copy.fd);
    if (name.empty()) {
        return errno;
    }
    copy.place.name = name;
    off_t copied = 0;
    int error = copyContent(target.fd.get(), copy.fd.get(), copied);
    if (error == 0 && ::fsync(copy.fd.get()) != 0) {
        error = errno;
    }
    if (error == 0) {
        error = syncFolder(copy.place);
    }
    if (error != 0) {
        copy.fd.reset();
        ::unlinkat(copy.place.folder.get(), name.c_str(), 0);
    }
    return error;
}

// The copy goes beside the file, or, in a folder the user may not write, to the user's own.
ReplaceOutcome keepOldCopy(const Target& target, OldCopy& copy) {
    copy.place.folder.reset(::fcntl(target.place.folder.get(), F_DUPFD_CLOEXEC, 0));
    copy.place.shownFolder = target.place.shownFolder;
    int error = copy.place.folder.valid() ? copyInto(target, copy) : errno;
    if (error == EACCES || error == EPERM || error == EROFS) {
        if (const int privateError = openPrivateFolder(copy.place)) {
            return failure(FileStep::PrivateFolder, privateError, copy.place.shownFolder);
        }
        error = copyInto(target, copy);
    }
    return error == 0 ? ReplaceOutcome{}
                      : failure(FileStep::Copy, error, copy.place.shown(target.place.name + '~'));
}

// Nothing can be copied of a file the user may not read: it is written unguarded.
ReplaceOutcome rewriteUnguarded(const Target& target, std::string_view content) {
    bool changed = false;
    const int error = writeWhole(target.fd.get(), content, &changed);
    if (error == 0) {
        return {};
    }
    ReplaceOutcome outcome = failure(FileStep::Write, error);
    outcome.oldIntact = !changed;
    return outcome;
}

// Puts the copy's bytes back into the file; true once it holds exactly them, on disk. A truncate
// that fails where the old bytes already end the file has nothing left to cut.
bool putBack(int copy, int file) {
    off_t restored = 0;
    struct stat now {};
    const bool whole =
        copyContent(copy, file, restored) == 0 &&
        (::ftruncate(file, restored) == 0 || (::fstat(file, &now) == 0 && now.st_size == restored));
    return whole && ::fsync(file) == 0;
}

ReplaceOutcome rewriteInPlace(const Target& target, std::string_view content) {
    if (!target.readable) {
        return rewriteUnguarded(target, content);
    }
    OldCopy copy;
    if (ReplaceOutcome kept = keepOldCopy(target, copy); !kept.ok()) {
        return kept;
    }
    const int fd = target.fd.get();
    bool changed = false;
    const int error = writeWhole(fd, content, &changed);
    if (error != 0 && changed && !putBack(copy.fd.get(), fd)) {
        ReplaceOutcome outcome = failure(FileStep::Write, error);
        outcome.oldIntact = false;
        outcome.copy = copy.place.shown(copy.place.name);
        return outcome;
    }
    // A copy that cannot be removed is only an old version left beside the file. It is closed
    // first, as in discard.
    copy.fd.reset();
    ::unlinkat(copy.place.folder.get(), copy.place.name.c_str(), 0);
    return error == 0 ? ReplaceOutcome{} : failure(FileStep::Write, error);
}

// The regular file the place names, open for writing; its identity is read from that descriptor.
ReplaceOutcome openTarget(const Descriptor& node, Target& target) {
    target.fd.reset(openAgain(node, O_RDWR | O_CLOEXEC));
    target.readable = target.fd.valid();
    if (!target.fd.valid() && errno == EACCES) {
        target.fd.reset(openAgain(node, O_WRONLY | O_CLOEXEC));
    }
    if (!target.fd.valid() || ::fstat(target.fd.get(), &target.old) != 0) {
        return failure(FileStep::Open, errno);
    }
    // Moved or deleted since it was found: saving by that name would miss the file.
    struct stat named {};
    const bool held = ::fstatat(target.place.folder.get(), target.place.name.c_str(), &named,
                                AT_SYMLINK_NOFOLLOW) == 0 &&
                      named.st_dev == target.old.st_dev && named.st_ino == target.old.st_ino;
    return held ? ReplaceOutcome{} : failure(FileStep::Moved, 0);
}

} // namespace

ReplaceOutcome replaceFileContent(const std::string& path, std::string_view content) {
    Target target;
    Descriptor node;
    struct stat found {};
    const FileFailure failed = findFile(path, target.place, node, found);
    if (failed.step == FileStep::Absent) {
        return createNew(target.place, content);
    }
    if (failed.failed()) {
        return S_ISLNK(failed.kind) ? failure(FileStep::Moved, 0) : ReplaceOutcome{failed};
    }
    if (ReplaceOutcome opened = openTarget(node, target); !opened.ok()) {
        return opened;
    }
    if (std::optional<ReplaceOutcome> renamed = replaceByRename(target, content)) {
        return *renamed;
    }
    return rewriteInPlace(target, content);
}

} // namespace zev
