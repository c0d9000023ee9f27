#!/usr/bin/env python3
"""One save, then the same save again once for every file-system call it makes with that call
failing (ENOSPC, EIO, EDQUOT; a write also storing nothing), once for every call with the process
killed there, once for every write storing only part of its bytes (then the next write failing,
going on, or failing with every write after it, or the truncate or the sync that would put the
old bytes back failing), and once for every write failing with every write after it. Run over a
plain file (replaced by a rename when root saves), over one of two hard links, over a file in a
folder the saving user may not write and over one the user may write but not read (all
rewritten in place), where no file was, through a link to a file that is not there yet and to
one that is, beside a leftover NAME~, and over a file with an access control list of its own,
with old files longer, shorter and as long as the new one.

After every run the file holds exactly its old bytes or exactly the new ones, with its inode,
owner, mode and attributes as the kind demands; or, killed while rewritten in place, a copy
beside it or in the private folder holds the whole old bytes. An error is reported exactly when
the file is not new; a reported failure leaves no other file behind and says the file may be
damaged exactly when it no longer holds its old bytes (or when the sync that put them back
failed), naming a copy that holds them whole. Only a file the user may not read, of which no
copy can be made, may be left mixed, and a failure then says so. Every run checks that its
fault was injected: a run whose fault never fired proves nothing.

The runs of one kind and old length are independent of all others: each worker has a folder of
its own, and they run side by side, one per processor. The folders lie on a tmpfs where it
keeps user attributes, since the saves' syncs on a disk would be most of the time.

Usage: fault-runs.py SAVE-ONCE PARTIAL-WRITE-SHIM FAULT-INJECTION-SHIM
"""
import collections
import errno
import multiprocessing
import os
import pwd
import re
import shutil
import stat
import subprocess
import sys
import tempfile
import time

ROOT = os.geteuid() == 0
NOBODY = pwd.getpwnam("nobody")
NEW = b"".join(b" %d \r\n" % r for r in [4] + [1] * 8 + [0] * 29 + [5])
# The shorter old file is shorter than half the new one, so that a write of the new content that
# stores half of it has already passed the old end.
OLD = {n: b" 2 \r\n" * lines for n, lines in (("longer", 14000), ("shorter", 10), ("equal", 39))}
LEFTOVER = b"keep\n"
DAMAGED = "megsérülhetett"
COPY_AT = "A régi tartalma egészben megvan itt: "
HALF_NEW = "félig"
SHIM_FIRED = "zev-partial-write: fired"
INJECTED = "zev-fault: injected"
PUT_BACK_FAILED = "zev-partial-write: then failed"
TAKEN = "the name taken by another file"
SAVED, FAILED = ("saved",), ("failure", "damage")

# kind: the old lengths it runs with, and the inode a save must leave ("kept", "new", or None
# when either will do; root renames a plain file with one name, an ordinary user never does).
KINDS = {
    "atomic": (("longer", "shorter", "equal"), "new" if ROOT else "kept"),
    "in-place": (("longer", "shorter", "equal"), "kept"),
    "locked": (("longer", "shorter", "equal"), "kept"),
    "write-only": (("longer", "shorter", "equal"), "kept"),
    "new": (("equal",), None),
    "dangling": (("equal",), None),
    "link": (("equal",), "new" if ROOT else "kept"),
    "leftover": (("longer",), "kept"),
    "acl": (("equal",), None),
}
NAMES_KEPT = {"in-place": {"other.txt"}, "leftover": {"other.txt", "t.txt~"}, "link": {"real.txt"},
              "dangling": {"target.txt"}}


def run(command, **options):
    return subprocess.run(command, check=True, capture_output=True, **options)


class Worker:
    """A folder of its own in which one save after another is prepared, made and judged."""

    def __init__(self, base, save_once, acls):
        self.save_once, self.acls = save_once, acls
        self.home = tempfile.mkdtemp(dir=base)
        os.chmod(self.home, 0o755)
        self.d = os.path.join(self.home, "d")
        self.state = os.path.join(self.home, "state")
        os.mkdir(self.state, 0o700)
        if ROOT:
            os.chown(self.state, NOBODY.pw_uid, -1)
        self.log = os.path.join(self.home, "log")
        self.env = dict(os.environ, XDG_STATE_HOME=self.state, LC_ALL="C.UTF-8")

    def path(self, name):
        return os.path.join(self.d, name)

    def prepare(self, kind, old):
        if os.path.exists(self.d):
            for folder, _, _ in os.walk(self.d):
                os.chmod(folder, 0o755)
            shutil.rmtree(self.d)
        shutil.rmtree(os.path.join(self.state, "zev"), ignore_errors=True)
        os.mkdir(self.d, 0o755)
        file = self.path("real.txt" if kind == "link" else "t.txt")
        if kind not in ("new", "dangling"):
            with open(file, "wb") as f:
                f.write(OLD[old])
        # The access control list a new file inherits, set before the file was put there.
        os.setxattr(self.d, "system.posix_acl_default", self.acls["default"])
        if kind in ("dangling", "link"):
            os.symlink("real.txt" if kind == "link" else "target.txt", self.path("t.txt"))
        if kind in ("new", "dangling"):
            return
        # What a save must carry over, so that the calls that carry it are among those failed.
        os.setxattr(file, "user.note", b"kept")
        os.chmod(file, 0o640)
        if kind == "acl":
            os.setxattr(file, "system.posix_acl_access", self.acls["access"])
        if ROOT:
            os.chown(file, NOBODY.pw_uid, -1)
        if kind in ("in-place", "leftover"):
            os.link(file, self.path("other.txt"))
        if kind == "leftover":
            with open(self.path("t.txt~"), "wb") as f:
                f.write(LEFTOVER)
        if kind == "write-only":
            os.chmod(file, 0o200)
        if kind == "locked" and not ROOT:
            os.chmod(self.d, 0o555)

    def save(self, kind, env=None, traced=False, timeout=10):
        """Exit status of one save: 0 saved, 3 failure reported, -9 killed; and its message.
        Traced, the save's calls are logged."""
        as_nobody = ROOT and kind in ("locked", "write-only")
        command = [self.save_once, "t.txt"]
        options = {}
        if traced:
            command = ["strace", "-f", "-qq", "-o", self.log, "-e", "trace=%file,%desc,getppid",
                       *(["-u", "nobody"] if as_nobody else []), *command]
        elif as_nobody:
            options = {"user": NOBODY.pw_uid, "group": NOBODY.pw_gid, "extra_groups": []}
        try:
            done = subprocess.run(command, cwd=self.d, env=dict(self.env, **(env or {})),
                                  capture_output=True, timeout=timeout, **options)
        except subprocess.TimeoutExpired:
            return "timeout", ""
        status = -9 if done.returncode == 137 else done.returncode
        return status, done.stderr.decode(errors="replace")

    def identity(self):
        path = self.path("t.txt")
        info = os.stat(path)
        return (info.st_uid, info.st_gid, stat.S_IMODE(info.st_mode),
                sorted((name, os.getxattr(path, name)) for name in os.listxattr(path)))

    def made_as_any_new_file(self):
        reference = self.path("ref")
        os.close(os.open(reference, os.O_CREAT | os.O_WRONLY | os.O_EXCL, 0o666))
        looks = [(stat.S_IMODE(os.stat(p).st_mode), attribute(p, "system.posix_acl_access"))
                 for p in (self.path("t.txt"), reference)]
        os.unlink(reference)
        return looks[0] == looks[1]

    def names(self):
        found = set(os.listdir(self.d))
        private = os.path.join(self.state, "zev")
        return found | set(os.listdir(private)) if os.path.isdir(private) else found

    def copies(self, kind):
        private = os.path.join(self.state, "zev")
        folders = [self.d] + ([private] if os.path.isdir(private) else [])
        return [os.path.join(f, n) for f in folders for n in os.listdir(f)
                if n.startswith("t.txt~") and not (kind == "leftover" and n == "t.txt~"
                                                   and f == self.d)]


def attribute(path, name):
    try:
        return os.getxattr(path, name)
    except OSError:
        return None


def content(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except OSError:
        return None


class Run:
    """One save of a kind over an old length, with a fault or none, and how it must be judged:
    its outcome must begin with one of must, where given, and its message must say says."""

    def __init__(self, kind, old, what, env=None, fired="injected", sync_fails=False,
                 must=None, says="", last_write=False):
        self.kind, self.old, self.what, self.way = kind, old, what, KINDS[kind][1]
        self.env, self.fired, self.sync_fails = env, fired, sync_fails
        self.must, self.says, self.last_write = must, says, last_write


def judge(w, run, status, message, before):
    """The outcome of one run, in words; a bad one starts with BAD."""
    kind, old = run.kind, OLD[run.old]
    now = content(w.path("t.txt"))
    new_file = before is None
    state = ("old" if now is None and new_file else "new" if now == NEW
             else "old" if now == old else "mixed")
    damaged = DAMAGED in message
    if run.fired in ("injected", "killed") and INJECTED not in message:
        return "BAD: the fault was never injected"
    if run.fired == "killed" and status != -9:
        return f"BAD: the kill never came (exit {status})"
    if run.fired == "shim" and SHIM_FIRED not in message:
        return "BAD: no write was shortened"
    if run.says not in message:
        return f"BAD: the message does not say {run.says!r}: {message}"
    if run.what == TAKEN:  # the file that took the name is left as it is
        return "refused, the name taken" if (status, now) == (3, b"") else f"BAD: exit {status}"
    outcome = {
        (0, "new"): "saved", (3, "old"): "failure reported, old kept",
        (-9, "old"): "killed, file old", (-9, "new"): "killed, file new",
    }.get((status, state))
    if outcome is None and status == -9 and state == "mixed":
        outcome = "BAD: killed, file mixed, no whole copy of the old"
        if kind == "write-only":
            outcome = "killed, file mixed, as no copy can be made of it"
        if any(content(c) == old for c in w.copies(kind)):
            outcome = "killed, file mixed, a copy whole old"
    if outcome is None and status == 3 and damaged:
        outcome = "damage reported"
    outcome = outcome or f"BAD: exit {status}, file {state}"
    if damaged:
        copy = message.split(COPY_AT, 1)[1].split("\n", 1)[0] if COPY_AT in message else ""
        copy_whole = copy and content(os.path.join(w.d, copy)) == old
        if status != 3:
            return f"BAD: damage reported with exit {status}"
        if state == "old" and not run.sync_fails:
            return "BAD: damage reported, but the file holds its old bytes"
        if copy_whole:
            outcome = "damage reported, a whole copy named"
        elif kind == "write-only" and not copy:
            outcome = "damage reported of a file no copy can be made of"
        else:
            return f"BAD: damage reported, no whole copy named: {message}"
    elif HALF_NEW in message and now is None:
        return "BAD: a half-written new file said to be left, where there is none"
    # After the last write (the new content, once the copy is made) failed, the only sync is the
    # one that puts the old bytes back: failing, it leaves them on disk only in the copy.
    if (run.sync_fails and kind in ("in-place", "locked", "leftover") and run.last_write
            and (PUT_BACK_FAILED not in message or outcome != "damage reported, a whole copy named")):
        return f"BAD: {outcome}, though the old bytes put back could not be synced"
    left = w.names() - {"t.txt"} - NAMES_KEPT.get(kind, set())
    if status == 3 and not damaged and left:
        return f"BAD: failure reported, left {sorted(left)}"
    if kind == "leftover" and content(w.path("t.txt~")) != LEFTOVER:
        return "BAD: the leftover NAME~ was changed"
    if status == 0 and new_file and not w.made_as_any_new_file():
        return "BAD: saved, but not with the mode and access control list of any new file"
    # Only what could not be removed (a copy, a temporary file or folder) is left behind.
    if status == 0 and left and not run.what.startswith("unlinkat"):
        return f"BAD: saved, but left {sorted(left)}"
    if not new_file and state != "mixed" and w.identity()[:3] != before[0][:3]:
        return f"BAD: file {state}, but its owner or mode changed: {w.identity()}"
    if not new_file and state != "mixed" and w.identity()[3] != before[0][3]:
        return f"BAD: file {state}, but its attributes changed: {w.identity()[3]}"
    if kind == "link" and not os.path.islink(w.path("t.txt")):
        return "BAD: the link is no longer a link"
    inode = os.stat(w.path("t.txt")).st_ino if now is not None else None
    if kind in ("in-place", "leftover") and inode != os.stat(w.path("other.txt")).st_ino:
        return "BAD: the two names no longer share the file"
    if run.way == "kept" and status == 0 and inode != before[1]:
        return "BAD: saved by a rename where the file must be rewritten in place"
    if run.way == "new" and status == 0 and inode == before[1]:
        return "BAD: rewritten in place where root renames"
    return outcome


WORKER = None


def start_worker(base, save_once, acls):
    global WORKER
    WORKER = Worker(base, save_once, acls)


def fresh(w, run):
    w.prepare(run.kind, run.old)
    if run.kind in ("new", "dangling"):
        return None
    return w.identity(), os.stat(w.path("t.txt")).st_ino


def one_run(run):
    w = WORKER
    before = fresh(w, run)
    status, message = w.save(run.kind, run.env)
    return run.kind, run.old, run.what, judge(w, run, status, message, before)


def calls_of_one_save(args):
    """The no-fault run of a kind: judged, checked for what no outcome shows, and its calls."""
    kind, old = args
    w = WORKER
    run = Run(kind, old, "no fault", fired=None)
    before = fresh(w, run)
    status, message = w.save(kind, traced=True)
    outcome = judge(w, run, status, message, before)
    if status != 0:
        outcome = f"BAD: exit {status} where nothing failed: {message}"
    log = content(w.log).decode()
    # The private folder and a new file's own folder are the user's alone, and an ordinary
    # user's save makes no temporary file only to rewrite in place.
    private = os.path.join(w.state, "zev")
    if (kind == "locked" and stat.S_IMODE(os.stat(private).st_mode) != 0o700 or
            kind == "new" and not (re.search(r"mkdirat\(.*, 0700\)", log) and re.search(
                r'"new", O_WRONLY\|O_CREAT\|O_EXCL\|O_CLOEXEC, 0600', log)) or
            not ROOT and kind not in ("new", "dangling") and ".zev-" in log):
        outcome = "BAD: a folder others may enter, or a needless temporary file"
    # The save's calls, each with its ordinal among the save's calls of that name.
    seen, calls, marks, copy_open = collections.Counter(), [], 0, None
    for line in log.splitlines():
        line = re.sub(r"^\d+ +", "", line)
        name = line.split("(", 1)[0]
        marks += name == "getppid"
        if marks == 1 and name != "getppid" and re.fullmatch(r"[a-z_0-9]+", name):
            seen[name] += 1
            calls.append((name, seen[name]))
            if name == "openat" and not copy_open and re.search(r'"t\.txt~", O_RDWR\|O_CREAT', line):
                copy_open = seen[name]
    return kind, old, outcome, calls, copy_open


def after_half(then, kind):
    """What a write that stored half its bytes must end in: the rest stored, a save; only the next
    write failing, the old bytes put back, but in a file no copy can be made of; else a failure."""
    if then == "goes-on":
        return SAVED
    return ("failure reported, old kept",) if then == "fails" and kind != "write-only" else FAILED


def fault_runs(kind, old, calls, copy_open):
    # A failed step on the way to a rename may turn to rewriting in place.
    way = None if kind in ("atomic", "link") else KINDS[kind][1]
    runs = []

    def inject(what, faults, **judged):
        runs.append(Run(kind, old, what, env={"LD_PRELOAD": INJECT_SHIM, "ZEV_FAULTS": faults},
                        fired="killed" if faults.endswith(":kill") else "injected", **judged))

    for call, nth in calls:
        for fault in ["ENOSPC", "EIO", "EDQUOT", "kill"] + (["zero"] if call == "pwrite64" else []):
            inject(f"{call} #{nth} {fault}", f"{call}:{nth}:{fault}")
        if call == "pwrite64":  # this write failing, and every one after it
            inject(f"pwrite64 #{nth} and after EIO", f"pwrite64:{nth}+:EIO")
    # A copy refused beside the file goes to the private folder, and the save goes on.
    for refusal in ("EACCES", "EPERM", "EROFS") if copy_open else ():
        inject(f"the copy beside refused: {refusal}", f"openat:{copy_open}:{refusal}", must=SAVED)
    # Where no private folder can be made, the file itself is written; failing too, it goes, and
    # a file that cannot be made is told by its own reason.
    if kind in ("new", "dangling"):
        inject("mkdirat and pwrite64 EDQUOT, ENOSPC", "mkdirat:1:EDQUOT pwrite64:1+:ENOSPC")
        inject("mkdirat EDQUOT, the file's openat EIO", "mkdirat:1:EDQUOT openat:3:EIO",
               says=os.strerror(errno.EIO))
    if kind == "new":  # a new file's mode and its rename are told as steps of their own
        inject("fchmod EIO", "fchmod:1:EIO", says="az új fájl jogosultságait nem sikerült")
        inject("renameat2 EIO", "renameat2:1:EIO", says="nem sikerült a helyére átnevezni")
    # Another file takes the name once it was found (before it is opened again, the 3rd openat).
    if kind == "atomic" and old == "equal":
        inject(TAKEN, "openat:3:taken")
    writes = sum(1 for call, _ in calls if call in ("write", "pwrite64"))
    for nth in range(1, writes + 1):
        for then in ("fails", "goes-on", "all-fail", "truncate-fails", "sync-fails"):
            runs.append(Run(kind, old, f"write #{nth} stores half, then {then}", env={
                "LD_PRELOAD": PARTIAL_SHIM, "ZEV_PARTIAL_AT": str(nth), "ZEV_PARTIAL_THEN": then},
                fired="shim", sync_fails=then == "sync-fails", must=after_half(then, kind),
                last_write=nth == writes))
    for r in runs:
        r.way = way
    return runs


PARTIAL_SHIM = INJECT_SHIM = None


def one_fault_run(run):
    kind, old, what, outcome = one_run(run)
    if run.must and not outcome.startswith(run.must + ("BAD",)):
        outcome = f"BAD: {outcome}, where it must be {' or '.join(run.must)}"
    # A write that stored nothing, or a failed read of the old content for its copy, must fail
    # the save: its bytes are not where they were to go.
    if outcome == "saved" and (what.endswith(" zero") or what.startswith("pread64") and
                               not what.endswith(" kill")):
        outcome = "BAD: saved, though the copy or the content was not written whole"
    return kind, old, what, outcome


def acl_values(base):
    """The access control lists the runs set, as the kernel stores them."""
    sample = tempfile.mkdtemp(dir=base)
    file = os.path.join(sample, "f")
    open(file, "w").close()
    os.chmod(file, 0o640)
    run(["setfacl", "-d", "-m", "u:4242:rw", sample])
    run(["setfacl", "-m", "u:4242:r", file])
    values = {"default": os.getxattr(sample, "system.posix_acl_default"),
              "access": os.getxattr(file, "system.posix_acl_access")}
    shutil.rmtree(sample)
    return values


def work_base():
    """A tmpfs folder where it keeps user attributes and access control lists, else /tmp."""
    for parent in ("/dev/shm", None):
        try:
            base = tempfile.mkdtemp(prefix="zev-faults-", dir=parent)
        except OSError:
            continue
        try:
            os.setxattr(base, "user.probe", b"1")
            acl_values(base)
            return base
        except (OSError, subprocess.CalledProcessError):
            shutil.rmtree(base)
    raise SystemExit("no folder here keeps user attributes and access control lists")


def peak_memory(base, save_once):
    """Peak memory of a save over an old file of 128 MiB with two names, in KiB."""
    folder = tempfile.mkdtemp(dir=base)
    with open(os.path.join(folder, "t.txt"), "wb") as f:
        f.truncate(128 << 20)
    os.link(os.path.join(folder, "t.txt"), os.path.join(folder, "other.txt"))
    child = subprocess.Popen([save_once, "t.txt"], cwd=folder)
    _, status, usage = os.wait4(child.pid, 0)
    saved = os.waitstatus_to_exitcode(status) == 0 and content(os.path.join(folder, "t.txt")) == NEW
    shutil.rmtree(folder)
    return usage.ru_maxrss, saved


def main():
    global PARTIAL_SHIM, INJECT_SHIM
    started = time.monotonic()
    for tool, package in (("strace", "strace"), ("setfacl", "acl")):
        if not shutil.which(tool):
            print(f"FAIL: {tool} is missing: install the Debian package {package}")
            return 1
    base = work_base()
    try:
        os.chmod(base, 0o755)
        # The cases run as nobody, who may not enter a build folder under /root: copies they can run.
        save_once = shutil.copy(sys.argv[1], base)
        PARTIAL_SHIM = shutil.copy(sys.argv[2], base)
        INJECT_SHIM = shutil.copy(sys.argv[3], base)
        args = (base, save_once, acl_values(base))
        return judge_all(args, base, save_once, started)
    finally:
        for folder, _, _ in os.walk(base):
            os.chmod(folder, 0o755)
        shutil.rmtree(base)


def judge_all(args, base, save_once, started):
    tally, bad = collections.Counter(), []
    if not ROOT:
        print("left out: save_faults kind write-only: needs root, to read what its saver may not")
    units = [(k, o) for k, (olds, _) in KINDS.items() for o in olds if ROOT or k != "write-only"]
    with multiprocessing.Pool(os.cpu_count(), start_worker, args) as pool:
        runs = []
        for kind, old, outcome, calls, copy_open in pool.map(calls_of_one_save, units):
            count = collections.Counter(c for c, _ in calls)
            print(f"{kind}, {old}: {len(calls)} file-system calls in one save: "
                  + ", ".join(f"{c} {n}" for c, n in sorted(count.items())))
            tally[kind, old, outcome] += 1
            if outcome.startswith("BAD"):
                bad.append(f"{kind}, {old}, no fault: {outcome}")
            runs += fault_runs(kind, old, calls, copy_open)
        for kind, old, what, outcome in pool.imap_unordered(one_fault_run, runs, chunksize=4):
            tally[kind, old, outcome] += 1
            if outcome.startswith("BAD"):
                bad.append(f"{kind}, {old}, {what}: {outcome}")
    for kind in ("in-place", "locked", "leftover"):
        for old in KINDS[kind][0]:
            if not tally[kind, old, "damage reported, a whole copy named"]:
                bad.append(f"BAD: {kind}, {old}: no double fault reached a reported damage")
    peak, saved = peak_memory(base, save_once)
    print(f"peak memory over an old file of 128 MiB: {peak} KiB")
    if peak >= 65536 or not saved:
        bad.append("BAD: the 128 MiB file was held in memory, or not saved")
    for (kind, old, outcome), n in sorted(tally.items()):
        print(f"{n} × {kind}, {old}: {outcome}")
    print(*bad, sep="\n") if bad else None
    print(f"runs: {sum(tally.values())}, bad: {len(bad)}, in {time.monotonic() - started:.0f} s"
          f" on {os.cpu_count()} processors")
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
