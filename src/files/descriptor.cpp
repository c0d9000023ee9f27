#include "files/descriptor.h"

#include <cerrno>
#include <unistd.h>

namespace zev {

void Descriptor::reset(int fd) {
    if (fd_ >= 0) {
        ::close(fd_);
    }
    fd_ = fd;
}

int writeAt(int fd, const char* data, size_t size, off_t offset, size_t* stored) {
    size_t ignored = 0;
    size_t& done = stored != nullptr ? *stored : ignored;
    done = 0;
    while (done < size) {
        const ssize_t n = ::pwrite(fd, data + done, size - done, offset + off_t(done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return n < 0 ? errno : ENOSPC;
        }
        done += size_t(n);
    }
    return 0;
}

int writeWhole(int fd, std::string_view bytes, bool* changed) {
    size_t stored = 0;
    const int error = writeAt(fd, bytes.data(), bytes.size(), 0, &stored);
    if (changed != nullptr) {
        *changed = stored > 0 || error == 0;
    }
    if (error != 0) {
        return error;
    }
    if (::ftruncate(fd, off_t(bytes.size())) != 0 || ::fsync(fd) != 0) {
        return errno;
    }
    return 0;
}

int copyContent(int from, int to, off_t& copied) {
    char chunk[kCopyChunk];
    copied = 0;
    for (;;) {
        const ssize_t n = ::pread(from, chunk, sizeof chunk, copied);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return n < 0 ? errno : 0;
        }
        if (const int error = writeAt(to, chunk, size_t(n), copied)) {
            return error;
        }
        copied += n;
    }
}

} // namespace zev
