"""The probe's files and folders: the program folder copied for each case,
the environment the program runs in, the learner's records as the program
writes them, and every file of a folder fingerprinted (kind, size, real
disk use, digest), paths of any length included."""
import hashlib
import os
import re
import shutil
import stat

NOBODY = 65534  # the unprivileged user of the cases where permissions matter
MENU_TITLE = "Morvela Ver.4.0"

LINE_END = b"\r\n"


def progress_lines(lesson0="完了", furthest="00-03"):
    return ["", "99分99", "99分99", lesson0] + ["未"] * 10 + [furthest, " 1 "]


def progress_bytes(lines=None, encoding="cp932"):
    return b"".join(line.encode(encoding) + LINE_END for line in (lines or progress_lines()))


def whole_progress(data):
    """The file's sixteen lines, or None when it is not a whole progress file."""
    try:
        text = data.decode("cp932")
    except UnicodeDecodeError:
        return None
    if not text.endswith("\r\n"):
        return None
    lines = text[:-2].split("\r\n")
    return lines if len(lines) == 16 else None


def whole_score(data):
    try:
        text = data.decode("ascii")
    except UnicodeDecodeError:
        return None
    lines = text.split("\r\n")
    if len(lines) != 7 or lines[-1] or not re.fullmatch(r" ?\d+ ?", lines[0]):
        return None
    return int(lines[0])


JAPANESE = re.compile(r"[\u3040-\u30ff\u3400-\u9fff\uff66-\uff9f]")


def japanese(text):
    return bool(JAPANESE.search(text or ""))


def fingerprint(fd_dir, name):
    """Kind, size, real disk use and a digest (of the first and last MiB
    for a large file, so a sparse giant costs little to look at)."""
    st = os.stat(name, dir_fd=fd_dir, follow_symlinks=False)
    if not stat.S_ISREG(st.st_mode):
        return {"kind": "dir" if stat.S_ISDIR(st.st_mode) else "other", "mode": st.st_mode & 0o7777}
    h = hashlib.sha256()
    fd = os.open(name, os.O_RDONLY, dir_fd=fd_dir)
    try:
        if st.st_size > 64 << 20:
            h.update(os.pread(fd, 1 << 20, 0))
            h.update(os.pread(fd, 1 << 20, st.st_size - (1 << 20)))
            h.update(str(st.st_size).encode())
        else:
            while True:
                chunk = os.read(fd, 1 << 20)
                if not chunk:
                    break
                h.update(chunk)
    finally:
        os.close(fd)
    return {"kind": "file", "size": st.st_size, "disk": st.st_blocks * 512, "sha": h.hexdigest()[:16],
            "mode": st.st_mode & 0o7777}


def snapshot(top):
    """Every file and folder under `top` (paths of any length), by relative path."""
    files = {}
    if not os.path.lexists(top):
        return files
    for dirpath, dirnames, filenames, dirfd in os.fwalk(top):
        rel = os.path.relpath(dirpath, top)
        for name in dirnames + filenames:
            key = os.path.normpath(os.path.join(rel, os.fsdecode(name) if isinstance(name, bytes) else name))
            try:
                files[key] = fingerprint(dirfd, name)
            except OSError as e:
                files[key] = {"kind": "error", "error": str(e)}
    return files


def disk_use(files):
    return sum(f.get("disk", 0) for f in files.values())


# ----------------------------------------------------------------- a trial's folder
class Place:
    """The scratch folder of one trial: the program folder (prog), a home
    (home) and a temporary folder, under /tmp/probe-<run>/<trial>."""

    def __init__(self, root, name, bin_dir):
        self.root = os.path.join(root, name)
        self.prog = os.path.join(self.root, "prog")
        self.home = os.path.join(self.root, "home")
        self.tmp = os.path.join(self.root, "tmp")
        self.out = os.path.join(self.root, "out")
        self.runtime = os.path.join(self.root, "runtime")
        for d in (self.prog, self.home, self.tmp, self.out, self.runtime):
            os.makedirs(d)
        os.chmod(self.runtime, 0o700)
        os.chmod(self.tmp, 0o1777)
        os.chmod(self.out, 0o777)
        copy_program(bin_dir, self.prog)
        self.user = "root"

    def path(self, name):
        return os.path.join(self.prog, name)

    def write(self, name, data):
        with open(self.path(name), "wb") as f:
            f.write(data)

    def sparse(self, name, size, head=b""):
        with open(self.path(name), "wb") as f:
            f.write(head)
            f.truncate(size)

    def remove(self, name):
        p = self.path(name)
        shutil.rmtree(p) if os.path.isdir(p) else os.remove(p)

    def keep_only_exam(self, name):
        for f in os.listdir(self.prog):
            if f.endswith(".ken") and f != name:
                os.remove(self.path(f))

    def give_to_nobody(self):
        """The program folder, home and temporary folder owned by the
        unprivileged user the program will run as."""
        self.user = "nobody"
        os.chmod(self.root, 0o755)
        os.chown(self.runtime, NOBODY, NOBODY)
        for top in (self.prog, self.home):
            for dirpath, dirnames, filenames in os.walk(top):
                for n in [dirpath] + [os.path.join(dirpath, f) for f in filenames]:
                    os.chown(n, NOBODY, NOBODY, follow_symlinks=False)


PROGRAM_FILES = ("morvela", "morvela_click.so", "Keyboard.bmp", "game.dat")


def copy_program(bin_dir, dest, dest_fd=None):
    names = list(PROGRAM_FILES) + sorted(f for f in os.listdir(bin_dir) if f.endswith(".ken"))
    for name in names:
        src = os.path.join(bin_dir, name)
        if dest_fd is None:
            shutil.copy2(src, os.path.join(dest, name))
        else:
            with open(src, "rb") as fi:
                fd = os.open(name, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, os.stat(src).st_mode & 0o777, dir_fd=dest_fd)
                with os.fdopen(fd, "wb") as fo:
                    shutil.copyfileobj(fi, fo)


def program_env(place, extra=None):
    env = {
        "PATH": "/usr/local/bin:/usr/bin:/bin",
        "DISPLAY": os.environ.get("DISPLAY", ""),
        "HOME": place.home,
        "TMPDIR": place.tmp,
        "LANG": "C.UTF-8",
        "LC_ALL": "C.UTF-8",
        "QT_QPA_PLATFORM": "xcb",
        "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
        # No sound server unless a trial brings one: nothing is autospawned.
        "PULSE_SERVER": "unix:" + os.path.join(place.tmp, "no-sound-server"),
        "PULSE_RUNTIME_PATH": os.path.join(place.tmp, "pulse"),
        "XDG_RUNTIME_DIR": place.runtime,
    }
    env.update(extra or {})
    return env


def read(place, name):
    try:
        with open(place.path(name), "rb") as f:
            return f.read(1 << 20)
    except OSError:
        return None


def read_data(place, name):
    try:
        with open(os.path.join(place.home, ".local/share/morvela", name), "rb") as f:
            return f.read(1 << 20)
    except OSError:
        return None
