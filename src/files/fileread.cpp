#include "files/fileread.h"

#include "files/place.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zev {
namespace {

ReadOutcome failure(ReadStep step, int error) {
    ReadOutcome outcome;
    outcome.failed = step;
    outcome.error = error;
    return outcome;
}

// Reads up to one byte past the bound: a size the kernel cannot tell ahead (as in /proc) or a
// file that grew since it was looked at is still cut there.
ReadOutcome readUpTo(int fd, size_t most) {
    ReadOutcome outcome;
    char chunk[4096];
    while (outcome.content.size() <= most) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return failure(ReadStep::Read, errno);
        }
        if (n == 0) {
            return outcome;
        }
        outcome.content.append(chunk, size_t(n));
    }
    return failure(ReadStep::TooLarge, 0);
}

} // namespace

ReadOutcome readSmallFile(const std::string& path, size_t most) {
    Place place;
    if (const int error = findPlace(path, place)) {
        return failure(ReadStep::Find, error);
    }
    // Looked at through O_PATH, which opens nothing: a fifo or a device never learns of it.
    const Descriptor node(
        ::openat(place.folder.get(), place.name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    if (!node.valid()) {
        return failure(errno == ENOENT ? ReadStep::Absent : ReadStep::Find, errno);
    }
    struct stat info {};
    if (::fstat(node.get(), &info) != 0) {
        return failure(ReadStep::Find, errno);
    }
    if (!S_ISREG(info.st_mode)) {
        ReadOutcome outcome = failure(ReadStep::NotRegular, 0);
        outcome.kind = info.st_mode & S_IFMT;
        return outcome;
    }
    if (info.st_size > off_t(most)) {
        return failure(ReadStep::TooLarge, 0);
    }
    const Descriptor fd(openAgain(node, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.valid()) {
        return failure(ReadStep::Open, errno);
    }
    return readUpTo(fd.get(), most);
}

} // namespace zev
