// LD_PRELOAD shim that fails a save's system calls from inside the process, so that a run costs
// no tracer. ZEV_FAULTS lists what fails, as "CALL:N:FAULT" or "CALL:N+:FAULT" separated by
// blanks: the N-th call of that name within the save (N+: that one and every one after it)
// fails with the errno FAULT, returns 0 ("zero"), kills the process ("kill"), or is made once
// another file has taken the name t.txt in the current folder ("taken"). The save is
// what lies between the first two getppid calls of the process, as save_once frames it.
//
// A seccomp filter traps the named calls and getppid into a SIGSYS handler, which counts them
// and either fails them or makes them itself; its own calls carry a mark in their sixth
// argument, which none of the traced calls uses, and the filter lets those through. Each
// injection is said on standard error ("zev-fault: injected ..."), so a run can tell that its
// fault fired.
#define _GNU_SOURCE
#include <errno.h>
#include <fcntl.h>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <signal.h>
#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <ucontext.h>
#include <unistd.h>

#define MARK 0x5a45561u
#define MAX_FAULTS 4
#define TAKEN (-3) // the fault that lets another file take the name first

struct fault {
    long call;
    int nth;
    int onwards;
    int error; // 0: return 0; -1: kill
    int seen;
};

static struct fault faults[MAX_FAULTS];
static int faultCount;
static int frames; // getppid calls seen: the save runs while this is 1

static const struct {
    const char* name;
    long number;
} calls[] = {
    {"openat", SYS_openat},     {"newfstatat", SYS_newfstatat}, {"close", SYS_close},
    {"fsync", SYS_fsync},       {"ftruncate", SYS_ftruncate},   {"pwrite64", SYS_pwrite64},
    {"pread64", SYS_pread64},   {"write", SYS_write},           {"read", SYS_read},
    {"fchmod", SYS_fchmod},     {"fchown", SYS_fchown},         {"fgetxattr", SYS_fgetxattr},
    {"flistxattr", SYS_flistxattr}, {"fsetxattr", SYS_fsetxattr},
    {"fremovexattr", SYS_fremovexattr}, {"renameat", SYS_renameat}, {"renameat2", SYS_renameat2},
    {"unlinkat", SYS_unlinkat}, {"mkdirat", SYS_mkdirat},       {"mkdir", SYS_mkdir},
    {"readlinkat", SYS_readlinkat}, {"fcntl", SYS_fcntl},       {"fstat", SYS_fstat},
    {"lseek", SYS_lseek},       {"getdents64", SYS_getdents64}, {"fdatasync", SYS_fdatasync},
};

static const struct {
    const char* name;
    int error;
} errors[] = {{"ENOSPC", ENOSPC}, {"EIO", EIO},     {"EDQUOT", EDQUOT}, {"EACCES", EACCES},
              {"EPERM", EPERM},   {"EROFS", EROFS}, {"zero", 0},        {"kill", -1},
              {"taken", TAKEN}};

static long marked(long call, const greg_t* r) {
    return syscall(call, r[REG_RDI], r[REG_RSI], r[REG_RDX], r[REG_R10], r[REG_R8], MARK);
}

static void say(const char* line) { syscall(SYS_write, 2, line, strlen(line), 0, 0, MARK); }

static void trapped(int signal, siginfo_t* info, void* context) {
    (void)signal;
    greg_t* r = ((ucontext_t*)context)->uc_mcontext.gregs;
    const long call = info->si_syscall;
    const int savedErrno = errno;
    frames += call == SYS_getppid;
    for (int i = 0; i < faultCount && frames == 1 && call != SYS_getppid; ++i) {
        struct fault* f = &faults[i];
        if (f->call != call || ++f->seen < f->nth || (f->seen > f->nth && !f->onwards)) {
            continue;
        }
        char line[96];
        snprintf(line, sizeof line, "zev-fault: injected into call %ld #%d\n", call, f->seen);
        say(line);
        if (f->error == TAKEN) {
            syscall(SYS_unlinkat, AT_FDCWD, "t.txt", 0, 0, 0, MARK);
            const long fd =
                syscall(SYS_openat, AT_FDCWD, "t.txt", O_CREAT | O_WRONLY, 0600, 0, MARK);
            syscall(SYS_close, fd, 0, 0, 0, 0, MARK);
            break;
        }
        if (f->error < 0) {
            syscall(SYS_kill, syscall(SYS_getpid), SIGKILL);
        }
        r[REG_RAX] = -f->error;
        errno = savedErrno;
        return;
    }
    const long result = marked(call, r);
    r[REG_RAX] = result == -1 ? -errno : result;
    errno = savedErrno;
}

static long lookUp(const char* name) {
    for (size_t i = 0; i < sizeof calls / sizeof calls[0]; ++i) {
        if (strcmp(calls[i].name, name) == 0) {
            return calls[i].number;
        }
    }
    return -1;
}

static int parse(char* wanted) {
    for (char* item = strtok(wanted, " "); item != NULL; item = strtok(NULL, " ")) {
        char call[32], when[16], error[16];
        if (faultCount == MAX_FAULTS || sscanf(item, "%31[^:]:%15[^:]:%15s", call, when, error) != 3) {
            return -1;
        }
        struct fault* f = &faults[faultCount++];
        f->call = lookUp(call);
        f->nth = atoi(when);
        f->onwards = strchr(when, '+') != NULL;
        f->error = -2;
        for (size_t i = 0; i < sizeof errors / sizeof errors[0]; ++i) {
            if (strcmp(errors[i].name, error) == 0) {
                f->error = errors[i].error;
            }
        }
        if (f->call < 0 || f->nth < 1 || f->error == -2) {
            return -1;
        }
    }
    return 0;
}

static int install(void) {
    struct sock_filter filter[4 + 2 * MAX_FAULTS + 6];
    int n = 0;
    filter[n++] = (struct sock_filter)BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(struct seccomp_data, arch));
    filter[n++] = (struct sock_filter)BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, AUDIT_ARCH_X86_64, 1, 0);
    filter[n++] = (struct sock_filter)BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_KILL_PROCESS);
    // The handler's own calls go through.
    filter[n++] = (struct sock_filter)BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(struct seccomp_data, args[5]));
    filter[n++] = (struct sock_filter)BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, MARK, 0, 1);
    filter[n++] = (struct sock_filter)BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW);
    filter[n++] = (struct sock_filter)BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(struct seccomp_data, nr));
    const int jumps = faultCount + 1;
    for (int i = 0; i < jumps; ++i) {
        const long call = i < faultCount ? faults[i].call : SYS_getppid;
        filter[n++] = (struct sock_filter)BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, call, jumps - i, 0);
    }
    filter[n++] = (struct sock_filter)BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW);
    filter[n++] = (struct sock_filter)BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_TRAP);
    struct sock_fprog program = {.len = (unsigned short)n, .filter = filter};
    struct sigaction action = {.sa_sigaction = trapped, .sa_flags = SA_SIGINFO};
    return sigaction(SIGSYS, &action, NULL) == 0 && prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
                   prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0
               ? 0
               : -1;
}

__attribute__((constructor)) static void start(void) {
    const char* given = getenv("ZEV_FAULTS");
    if (given == NULL) {
        return;
    }
    char wanted[256];
    snprintf(wanted, sizeof wanted, "%s", given);
    if (parse(wanted) != 0 || install() != 0) {
        fprintf(stderr, "zev-fault: cannot inject '%s'\n", given);
        _exit(99);
    }
}
