#include "platform/filereplace.h"

#include "platform/descriptor.h"
#include "platform/fileattributes.h"

#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

// How an existing file gets its new content.
//
// Every decision is made on a descriptor. The name is opened once with O_PATH, the kernel
// following its links (a chain too long gives ELOOP); fstat of that descriptor refuses anything
// but a regular file before a byte is read or written, so a device or a pipe is never opened for
// either. The same file is then opened for writing through /proc/self/fd, where the kernel checks
// the user's permission on that very file, and the folder it lies in is the one the kernel names.
//
// Renaming a new file over the old one is atomic, but it puts another file in the old one's
// place, so it is done only when the new file is the old one's equal: the old file has one name,
// the new one reads back the same owner, group and mode (set-id bits too), and it holds exactly
// the old file's extended attributes, access control lists among them, none it inherited from
// the folder. The new file is created 0600, so until then no one but its owner may open it. A
// process that may not set trusted.* attributes may not list them either; for it (every ordinary
// user) the old file may hold some it cannot see, so it never renames. A name that cannot be
// renamed over (a mount point: EBUSY, EXDEV) is rewritten in place as well.
//
// In place, a kill at any call leaves a whole version where the user finds it. First the old bytes
// are streamed into a copy beside the file, NAME~ (NAME~xyz when that is taken), created 0600 and
// synced, its folder too, before the file's first byte changes; then the new bytes are written,
// the file cut to their length and synced; only then is the copy removed. Killed before the copy
// is synced, the file is untouched; from then until the copy is removed, the copy holds the whole
// old version. A failure the program sees puts the old bytes back from the copy.
//
// Where no copy can be made (a folder the user may not write, a file the user may write but not
// read) that promise does not hold: the file is rewritten holding in memory only the old bytes
// the new ones cover, which a failure puts back; a kill in the middle leaves a mix, and a failure
// after the file's old tail was cut off is reported as damage.
//
// Memory holds the new content and one 64 KiB chunk, whatever the size of the old file.

namespace zev {
namespace {

// Where a file lies: its folder, open, and its name in it.
struct Place {
    Descriptor folder;
    QByteArray folderPath;
    QByteArray name;
};

// The existing file being saved over.
struct Target {
    Descriptor fd; // open for writing, and for reading when readable
    bool readable = false;
    struct stat old {};
    Place place;
};

ReplaceOutcome outcome(int error, bool damaged = false, const QByteArray& oldCopy = {}) {
    return {error, damaged, oldCopy};
}

QByteArray selfLink(int fd) { return "/proc/self/fd/" + QByteArray::number(fd); }

QByteArray randomTag() { return QByteArray::number(QRandomGenerator::global()->generate(), 36); }

QByteArray temporaryName(const QByteArray& /*unused*/, int /*unused*/) {
    return ".zev-" + randomTag() + ".tmp";
}

QByteArray backupName(const QByteArray& file, int attempt) {
    return attempt == 0 ? file + '~' : file.left(200) + '~' + randomTag();
}

// A folder open for reading can be synced; one the user may only search is opened for the rest.
int openFolder(const QByteArray& path, Place& place) {
    place.folderPath = path;
    place.folder.reset(::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!place.folder.valid() && errno == EACCES) {
        place.folder.reset(::open(path.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    }
    return place.folder.valid() ? 0 : errno;
}

// The folder a path puts its file in, opened, and the file's name there.
int openPlace(const QByteArray& path, Place& place) {
    const qsizetype slash = path.lastIndexOf('/');
    place.name = path.mid(slash + 1);
    if (slash < 0) {
        return openFolder(".", place);
    }
    return openFolder(slash == 0 ? QByteArray("/") : path.left(slash), place);
}

int syncFolder(const Place& place) {
    return ::fsync(place.folder.get()) == 0 || errno == EBADF ? 0 : errno;
}

// The kernel's own name for the file an open descriptor holds, checked to name it still.
int locate(int fd, const struct stat& held, Place& place) {
    char path[PATH_MAX];
    const ssize_t length = ::readlink(selfLink(fd).constData(), path, sizeof path);
    if (length <= 0 || length == sizeof path) {
        return length < 0 ? errno : ENAMETOOLONG;
    }
    if (const int error = openPlace(QByteArray(path, length), place)) {
        return error;
    }
    struct stat named {};
    if (::fstatat(place.folder.get(), place.name.constData(), &named, AT_SYMLINK_NOFOLLOW) != 0) {
        return errno;
    }
    // Moved or deleted since it was opened: saving by that name would miss the file.
    return named.st_dev == held.st_dev && named.st_ino == held.st_ino ? 0 : kFileMoved;
}

// A new file in the place's folder under the first free name that nameFor gives for the place's
// name; empty when there is none, with errno saying why.
QByteArray createIn(const Place& place, QByteArray (*nameFor)(const QByteArray&, int), int mode,
                    Descriptor& fd) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        QByteArray name = nameFor(place.name, attempt);
        fd.reset(::openat(place.folder.get(), name.constData(),
                          O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode));
        if (fd.valid()) {
            return name;
        }
        if (errno != EEXIST && errno != ENAMETOOLONG) {
            return {};
        }
    }
    return {};
}

// Renames a new file to its name; with noReplace a file that has appeared under that name since
// it was looked for is kept (EEXIST), where the file system can tell.
int renameInFolder(int folder, const QByteArray& from, const QByteArray& to, bool noReplace) {
    if (noReplace &&
        ::renameat2(folder, from.constData(), folder, to.constData(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (noReplace && errno != EINVAL && errno != ENOSYS) {
        return errno;
    }
    return ::renameat(folder, from.constData(), folder, to.constData()) == 0 ? 0 : errno;
}

// Writes the content to the temporary file and renames it to the place's name; on failure the
// temporary file goes.
int commit(const Place& place, Descriptor& temporary, const QByteArray& temporaryName,
           const QByteArray& content, bool noReplace) {
    const int folder = place.folder.get();
    int error = writeWhole(temporary.get(), content);
    temporary.reset();
    if (error == 0) {
        error = renameInFolder(folder, temporaryName, place.name, noReplace);
    }
    if (error != 0) {
        ::unlinkat(folder, temporaryName.constData(), 0);
        return error;
    }
    // The content is the new one; a folder that cannot be synced changes nothing the user could
    // act on.
    syncFolder(place);
    return 0;
}

// No file yet: one appears with the whole content or none does.
ReplaceOutcome createNew(const QByteArray& path, const QByteArray& content) {
    Place place;
    if (const int error = openPlace(path, place)) {
        return outcome(error);
    }
    Descriptor fd;
    const QByteArray temporary = createIn(place, temporaryName, 0666, fd);
    if (!temporary.isEmpty()) {
        return outcome(commit(place, fd, temporary, content, true));
    }
    const int error = errno;
    // A folder where no temporary file can be made may still take the file itself.
    const int folder = place.folder.get();
    fd.reset(
        ::openat(folder, place.name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!fd.valid()) {
        return outcome(errno == EEXIST ? error : errno);
    }
    const int writeError = writeWhole(fd.get(), content);
    if (writeError != 0 && ::unlinkat(folder, place.name.constData(), 0) != 0) {
        return {writeError, false, {}, true};
    }
    return outcome(writeError);
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
std::optional<ReplaceOutcome> replaceByRename(const Target& target, const QByteArray& content) {
    Descriptor fd;
    const QByteArray temporary = createIn(target.place, temporaryName, 0600, fd);
    if (temporary.isEmpty()) {
        return std::nullopt;
    }
    if (!seesEveryAttribute(fd.get()) || !carryIdentity(target, fd.get())) {
        fd.reset();
        ::unlinkat(target.place.folder.get(), temporary.constData(), 0);
        return std::nullopt;
    }
    const int error = commit(target.place, fd, temporary, content, false);
    if (error == EBUSY || error == EXDEV) {
        return std::nullopt;
    }
    return outcome(error);
}

// No copy can be made: only the old bytes that the new ones cover are kept, to be put back.
ReplaceOutcome rewriteUnguarded(const Target& target, const QByteArray& content) {
    const int fd = target.fd.get();
    QByteArray covered(qMin<qsizetype>(target.old.st_size, content.size()), '\0');
    if (target.readable) {
        const ssize_t n = ::pread(fd, covered.data(), size_t(covered.size()), 0);
        if (n < 0) {
            return outcome(errno);
        }
        covered.truncate(n);
    }
    const int error = writeWhole(fd, content);
    if (error == 0) {
        return {};
    }
    struct stat now {};
    const bool tailKept = ::fstat(fd, &now) == 0 && now.st_size >= target.old.st_size;
    const bool putBack = target.readable && tailKept &&
                         writeAt(fd, covered.constData(), size_t(covered.size()), 0) == 0 &&
                         ::ftruncate(fd, target.old.st_size) == 0 && ::fsync(fd) == 0;
    return outcome(error, !putBack);
}

// The copy of the old bytes beside the file, durable with its name; none is left on failure.
int makeBackup(const Target& target, Descriptor& copy, QByteArray& name) {
    name = createIn(target.place, backupName, 0600, copy);
    if (name.isEmpty()) {
        return errno;
    }
    off_t copied = 0;
    int error = copyContent(target.fd.get(), copy.get(), copied);
    if (error == 0 && ::fsync(copy.get()) != 0) {
        error = errno;
    }
    if (error == 0) {
        error = syncFolder(target.place);
    }
    if (error != 0) {
        copy.reset();
        ::unlinkat(target.place.folder.get(), name.constData(), 0);
    }
    return error;
}

ReplaceOutcome rewriteInPlace(const Target& target, const QByteArray& content) {
    Descriptor copy;
    QByteArray copyName;
    const int backupError = target.readable ? makeBackup(target, copy, copyName) : EACCES;
    if (backupError == EACCES || backupError == EPERM || backupError == EROFS) {
        return rewriteUnguarded(target, content);
    }
    if (backupError != 0) {
        return outcome(backupError);
    }
    const int folder = target.place.folder.get();
    const int fd = target.fd.get();
    const int error = writeWhole(fd, content);
    off_t restored = 0;
    // A copy that cannot be removed is only an old version beside the file.
    if (error == 0 || (copyContent(copy.get(), fd, restored) == 0 &&
                       ::ftruncate(fd, restored) == 0 && ::fsync(fd) == 0)) {
        ::unlinkat(folder, copyName.constData(), 0);
        return outcome(error);
    }
    return outcome(error, true, target.place.folderPath + '/' + copyName);
}

// The file that the name leads to, for writing, once it has proved to be a regular one.
int openTarget(int node, Target& target) {
    if (::fstat(node, &target.old) != 0) {
        return errno;
    }
    if (!S_ISREG(target.old.st_mode)) {
        return kNotRegularFile;
    }
    const QByteArray self = selfLink(node);
    target.fd.reset(::open(self.constData(), O_RDWR | O_CLOEXEC));
    target.readable = target.fd.valid();
    if (!target.fd.valid() && errno == EACCES) {
        target.fd.reset(::open(self.constData(), O_WRONLY | O_CLOEXEC));
    }
    if (!target.fd.valid()) {
        return errno;
    }
    return locate(target.fd.get(), target.old, target.place);
}

bool isLink(const QByteArray& path) {
    struct stat info {};
    return ::lstat(path.constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

} // namespace

ReplaceOutcome replaceFileContent(const QByteArray& path, const QByteArray& content) {
    Descriptor node(::open(path.constData(), O_PATH | O_CLOEXEC));
    if (!node.valid() && errno == ENOENT) {
        if (!isLink(path)) {
            return createNew(path, content);
        }
        // A link that leads nowhere yet: the kernel creates the file where it leads, opening it
        // for reading only, so whatever else may be there by then is not opened for writing.
        node.reset(
            ::open(path.constData(), O_RDONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666));
    }
    if (!node.valid()) {
        return outcome(errno);
    }
    Target target;
    if (const int error = openTarget(node.get(), target)) {
        return outcome(error);
    }
    if (target.old.st_nlink == 1) {
        if (std::optional<ReplaceOutcome> renamed = replaceByRename(target, content)) {
            return *renamed;
        }
    }
    return rewriteInPlace(target, content);
}

} // namespace zev
