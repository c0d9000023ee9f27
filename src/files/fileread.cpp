#include "files/fileread.h"

#include "files/place.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zev {
namespace {

ReadOutcome failure(FileStep step, int error = 0) { return {{step, error}}; }

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
            return failure(FileStep::Read, errno);
        }
        if (n == 0) {
            return outcome;
        }
        outcome.content.append(chunk, size_t(n));
    }
    return failure(FileStep::TooLarge);
}

} // namespace

ReadOutcome readSmallFile(const std::string& path, size_t most) {
    Place place;
    Descriptor node;
    struct stat info {};
    if (FileFailure found = findFile(path, place, node, info); found.failed()) {
        return {std::move(found)};
    }
    if (info.st_size > off_t(most)) {
        return failure(FileStep::TooLarge);
    }
    const Descriptor fd(openAgain(node, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.valid()) {
        return failure(FileStep::Open, errno);
    }
    return readUpTo(fd.get(), most);
}

} // namespace zev
