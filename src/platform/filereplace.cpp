#include "platform/filereplace.h"

#include <QList>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

// How the content is replaced. A new content written to a temporary file beside the target and
// renamed over it is atomic: the target holds the old bytes or the new ones, whenever the
// program or the machine stops. But the rename puts a new file in the old one's place, so that
// way is taken only when the new file can be given everything the old one had: its owner and
// group (fchown), its extended attributes, access control lists among them (they are
// attributes too), and its mode. Where any of that cannot be done, or where the old file has
// more than one name (a new file would leave the other names with the old content), the old
// file is rewritten in place instead, its old bytes kept in memory and written back if the new
// ones cannot be written whole.

namespace zev {
namespace {

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    [[nodiscard]] int get() const { return fd_; }
    [[nodiscard]] bool valid() const { return fd_ >= 0; }
    // A close after a successful fsync loses nothing, so its result is not looked at.
    void reset(int fd = -1) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = fd;
    }

private:
    int fd_;
};

// Each call returns 0 or the errno of its failure.

int writeAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::pwrite(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done), done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return n < 0 ? errno : ENOSPC;
        }
        done += n;
    }
    return 0;
}

int readAll(int fd, QByteArray& bytes) {
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, bytes.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return errno;
        }
        if (n == 0) {
            return 0;
        }
        bytes.append(buffer, n);
    }
}

// Makes the file hold exactly these bytes, then makes them durable.
int writeContent(int fd, const QByteArray& bytes) {
    if (const int error = writeAll(fd, bytes)) {
        return error;
    }
    if (::ftruncate(fd, bytes.size()) != 0 || ::fsync(fd) != 0) {
        return errno;
    }
    return 0;
}

QByteArray folderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : path.left(slash + 1);
}

// Follows symbolic links to the file that holds the content; a dangling link names the file
// to create. A loop is left to the open that follows, which reports it.
QByteArray resolveLinks(QByteArray path) {
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info {};
        if (::lstat(path.constData(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            break;
        }
        char target[PATH_MAX];
        const ssize_t length = ::readlink(path.constData(), target, sizeof target);
        if (length <= 0 || length == sizeof target) {
            break;
        }
        const QByteArray link(target, length);
        path = link.startsWith('/') ? link : folderOf(path) + '/' + link;
    }
    return path;
}

// A new, empty file in the target's folder, its mode as the umask gives it.
QByteArray createTemporary(const QByteArray& target, Descriptor& fd) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = folderOf(target) + "/.zev-" +
                                QByteArray::number(QRandomGenerator::global()->generate(), 36) +
                                ".tmp";
        fd.reset(::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (fd.valid() || errno != EEXIST) {
            return fd.valid() ? name : QByteArray();
        }
    }
    return {};
}

bool copyAttributes(const QByteArray& from, int to) {
    const ssize_t size = ::listxattr(from.constData(), nullptr, 0);
    if (size <= 0) {
        return size == 0 || errno == ENOTSUP;
    }
    QByteArray names(size, '\0');
    const ssize_t listed = ::listxattr(from.constData(), names.data(), names.size());
    if (listed < 0) {
        return false;
    }
    for (const QByteArray& name : names.left(listed).split('\0')) {
        if (name.isEmpty()) {
            continue;
        }
        const ssize_t length = ::getxattr(from.constData(), name.constData(), nullptr, 0);
        QByteArray value(qMax<ssize_t>(length, 0), '\0');
        if (length < 0 ||
            ::getxattr(from.constData(), name.constData(), value.data(), value.size()) != length ||
            ::fsetxattr(to, name.constData(), value.constData(), value.size(), 0) != 0) {
            return false;
        }
    }
    return true;
}

// Owner and group first (changing them clears set-id bits), then the attributes, then the mode.
bool carryIdentity(const QByteArray& target, const struct stat& old, int to) {
    struct stat now {};
    if (::fstat(to, &now) != 0) {
        return false;
    }
    if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) &&
        ::fchown(to, old.st_uid, old.st_gid) != 0) {
        return false;
    }
    return copyAttributes(target, to) && ::fchmod(to, old.st_mode & 07777) == 0;
}

ReplaceOutcome rewriteInPlace(const QByteArray& target, const QByteArray& content) {
    Descriptor fd(::open(target.constData(), O_RDWR | O_CLOEXEC));
    const bool readable = fd.valid() || errno != EACCES;
    if (!fd.valid() && !readable) {
        // Write-only for this user: what was there cannot be read, so it cannot be put back.
        fd.reset(::open(target.constData(), O_WRONLY | O_CLOEXEC));
    }
    if (!fd.valid()) {
        return {errno, false};
    }
    QByteArray old;
    if (readable) {
        if (const int error = readAll(fd.get(), old)) {
            return {error, false}; // nothing written yet
        }
    }
    const int error = writeContent(fd.get(), content);
    if (error == 0) {
        return {};
    }
    return {error, !readable || writeContent(fd.get(), old) != 0};
}

// Writes the content to the temporary file and renames it over the target; on failure the
// temporary file goes and the target is as it was.
int commitTemporary(Descriptor& fd, const QByteArray& temporary, const QByteArray& target,
                    const QByteArray& content) {
    int error = writeContent(fd.get(), content);
    fd.reset();
    if (error == 0 && ::rename(temporary.constData(), target.constData()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temporary.constData());
        return error;
    }
    // The rename is done and the content is the new one; a folder that cannot be synced
    // changes nothing the user could act on.
    const Descriptor folder(
        ::open(folderOf(target).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.valid()) {
        ::fsync(folder.get());
    }
    return 0;
}

// No file yet: one appears with the whole content or none does.
ReplaceOutcome createNew(const QByteArray& target, const QByteArray& content) {
    Descriptor fd;
    const QByteArray temporary = createTemporary(target, fd);
    if (!temporary.isEmpty()) {
        return {commitTemporary(fd, temporary, target, content), false};
    }
    const int error = errno;
    // A folder where no temporary file can be made may still take the file itself.
    fd.reset(::open(target.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!fd.valid()) {
        return {errno == EEXIST ? error : errno, false};
    }
    const int writeError = writeContent(fd.get(), content);
    return {writeError, writeError != 0 && ::unlink(target.constData()) != 0};
}

ReplaceOutcome replaceAtomically(const QByteArray& target, const struct stat& old,
                                 const QByteArray& content) {
    Descriptor fd;
    const QByteArray temporary = createTemporary(target, fd);
    if (temporary.isEmpty() || !carryIdentity(target, old, fd.get())) {
        if (!temporary.isEmpty()) {
            ::unlink(temporary.constData());
        }
        return rewriteInPlace(target, content);
    }
    return {commitTemporary(fd, temporary, target, content), false};
}

} // namespace

ReplaceOutcome replaceFileContent(const QByteArray& path, const QByteArray& content) {
    const QByteArray target = resolveLinks(path);
    struct stat old {};
    if (::stat(target.constData(), &old) != 0) {
        return errno == ENOENT ? createNew(target, content) : ReplaceOutcome{errno, false};
    }
    if (!S_ISREG(old.st_mode) || old.st_nlink > 1) {
        return rewriteInPlace(target, content);
    }
    return replaceAtomically(target, old, content);
}

} // namespace zev
