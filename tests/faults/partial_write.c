// LD_PRELOAD shim: the ZEV_PARTIAL_AT-th write to a regular file stores only half of its bytes
// and returns that count, as a filling disk does; the write after it fails with ENOSPC, or, with
// ZEV_PARTIAL_THEN=goes-on, stores the rest as an interrupted write does.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/types.h>

static int writes;

static ssize_t shorten(int fd, size_t* count) {
    struct stat info;
    const char* at = getenv("ZEV_PARTIAL_AT");
    const char* then = getenv("ZEV_PARTIAL_THEN");
    const int goesOn = then != NULL && strcmp(then, "goes-on") == 0;
    if (at == NULL || fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        return 0;
    }
    ++writes;
    if (writes == atoi(at) && *count > 1) {
        *count /= 2;
    } else if (writes == atoi(at) + 1 && !goesOn) {
        errno = ENOSPC;
        return -1;
    }
    return 0;
}

ssize_t write(int fd, const void* buffer, size_t count) {
    static ssize_t (*real)(int, const void*, size_t);
    if (real == NULL) {
        real = (ssize_t(*)(int, const void*, size_t))dlsym(RTLD_NEXT, "write");
    }
    return shorten(fd, &count) < 0 ? -1 : real(fd, buffer, count);
}

ssize_t pwrite64(int fd, const void* buffer, size_t count, off_t offset) {
    static ssize_t (*real)(int, const void*, size_t, off_t);
    if (real == NULL) {
        real = (ssize_t(*)(int, const void*, size_t, off_t))dlsym(RTLD_NEXT, "pwrite64");
    }
    return shorten(fd, &count) < 0 ? -1 : real(fd, buffer, count, offset);
}

ssize_t pwrite(int fd, const void* buffer, size_t count, off_t offset) {
    return pwrite64(fd, buffer, count, offset);
}
