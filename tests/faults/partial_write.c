// LD_PRELOAD shim: the ZEV_PARTIAL_AT-th write to a regular file stores only half of its bytes
// and returns that count, as a filling disk does, and says so on standard error. What follows
// depends on ZEV_PARTIAL_THEN: "fails" (the next write fails with ENOSPC), "goes-on" (it
// stores the rest, as after an interrupted write), "all-fail" (every write after it fails),
// "truncate-fails" or "sync-fails" (the next write fails, and so does the first truncate or
// sync after it: those that would put the old bytes back).
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <unistd.h>

static int writes;
static int failedWrite; // a write has failed; the truncate or sync after it is next in line

static int mode(const char* name) {
    const char* then = getenv("ZEV_PARTIAL_THEN");
    return then != NULL && strcmp(then, name) == 0;
}

static void fired(void) {
    static const char line[] = "zev-partial-write: fired\n";
    syscall(SYS_write, 2, line, sizeof line - 1); // not through write(), which is wrapped here
}

static ssize_t shorten(int fd, size_t* count) {
    struct stat info;
    const char* at = getenv("ZEV_PARTIAL_AT");
    if (at == NULL || fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        return 0;
    }
    ++writes;
    if (writes == atoi(at) && *count > 1) {
        *count /= 2;
        fired();
    } else if (writes == atoi(at) + 1 && !mode("goes-on") || writes > atoi(at) && mode("all-fail")) {
        failedWrite = 1;
        errno = ENOSPC;
        return -1;
    }
    return 0;
}

// True once for the first call after the failed write, in the mode that fails it.
static int failsAfterWrite(const char* inMode) {
    if (!failedWrite || !mode(inMode)) {
        return 0;
    }
    static const char line[] = "zev-partial-write: then failed\n";
    syscall(SYS_write, 2, line, sizeof line - 1);
    failedWrite = 0;
    errno = EIO;
    return 1;
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

int ftruncate64(int fd, off_t length) {
    static int (*real)(int, off_t);
    if (real == NULL) {
        real = (int (*)(int, off_t))dlsym(RTLD_NEXT, "ftruncate64");
    }
    return failsAfterWrite("truncate-fails") ? -1 : real(fd, length);
}

int ftruncate(int fd, off_t length) { return ftruncate64(fd, length); }

int fsync(int fd) {
    static int (*real)(int);
    if (real == NULL) {
        real = (int (*)(int))dlsym(RTLD_NEXT, "fsync");
    }
    return failsAfterWrite("sync-fails") ? -1 : real(fd);
}
