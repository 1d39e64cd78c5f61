"""Shared pieces of the end-to-end tests: the Wine bench's environment,
starting Win32 programs under Wine, the UI helper, waiting with time-outs and
ending whatever a test left running."""

import os
import re
import shlex
import signal
import subprocess
import tempfile
import time
import unittest

CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


def _required_path(variable):
    path = os.environ.get(variable)
    if not path:
        raise RuntimeError(f"{variable} is not set (run the e2e tests through ctest)")
    return path


def load_bench_env(path):
    """The variables of the bench's env file ("export NAME=value" lines)."""
    env = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            words = shlex.split(line)
            if len(words) == 2 and words[0] == "export" and "=" in words[1]:
                name, value = words[1].split("=", 1)
                env[name] = value
    return env


def unescape(value):
    """Reverses the UI helper's escaping of backslash, newline, CR and tab."""
    table = {"n": "\n", "r": "\r", "t": "\t", "\\": "\\"}
    return re.sub(r"\\(.)", lambda m: table.get(m.group(1), m.group(0)), value)


def split_fields(value):
    """A tab-separated "key=value" line as a dict (values unescaped)."""
    fields = {}
    for part in value.split("\t"):
        key, _, field = part.partition("=")
        fields[key] = unescape(field)
    return fields


class Facts:
    """Parsed output of one UI helper call: "key=value" lines."""

    def __init__(self, returncode, output):
        self.returncode = returncode
        self.output = output
        self.lines = []
        for line in output.splitlines():
            line = line.rstrip("\r")
            if "=" in line:
                key, value = line.split("=", 1)
                self.lines.append((key, value))

    def get(self, key, default=None):
        for k, v in self.lines:
            if k == key:
                return unescape(v) if k not in ("control", "button") else v
        return default

    def all(self, key):
        return [v for k, v in self.lines if k == key]

    def windows(self):
        """One dict per "window=" block."""
        blocks = []
        for k, v in self.lines:
            if k == "window":
                blocks.append({})
            if blocks and k not in ("control", "button"):
                blocks[-1][k] = unescape(v)
        return blocks

    def controls(self):
        return [split_fields(v) for v in self.all("control")]

    def buttons(self):
        """(id, text) of the message box's buttons, left to right."""
        result = []
        for value in self.all("button"):
            button_id, _, text = value.partition("\t")
            result.append((int(button_id), unescape(text)))
        return result

    def __str__(self):
        return f"exit {self.returncode}:\n{self.output}"


class Program:
    """A Win32 program running under Wine; its console output goes to a file
    (a pipe could be held open by Wine processes started meanwhile)."""

    def __init__(self, args, env):
        self.args = args
        self._out = tempfile.TemporaryFile()
        self.popen = subprocess.Popen(
            ["wine", *args], env=env, stdin=subprocess.DEVNULL, stdout=self._out,
            stderr=subprocess.STDOUT)
        # The wine launcher becomes the Windows process itself.
        self.pid = self.popen.pid

    def alive(self):
        return self.popen.poll() is None

    def wait(self, timeout):
        """The exit code, or None if it still runs after the time-out."""
        try:
            return self.popen.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def output(self):
        self._out.seek(0)
        return self._out.read().decode("utf-8", "replace").replace("\r\n", "\n")

    def kill(self):
        if self.alive():
            self.popen.send_signal(signal.SIGKILL)
            self.popen.wait(timeout=10)
        self._out.close()


class Bench:
    """The running Wine bench and the programs under test."""

    def __init__(self):
        self.env = dict(os.environ)
        self.env.update(load_bench_env(_required_path("KLIPORA_BENCH_ENV")))
        self.prefix = self.env["WINEPREFIX"]
        self.klipora = _required_path("KLIPORA_EXE")
        self.probe = _required_path("KLIPORA_PROBE")
        self.uihelper = _required_path("KLIPORA_UIHELPER")
        self.programs = []

    def start(self, exe, *args):
        if not os.path.isfile(exe):
            raise AssertionError(f"{exe} has not been built")
        program = Program([exe, *args], self.env)
        self.programs.append(program)
        return program

    def run(self, exe, *args, timeout=30):
        """Runs a program to its end: (exit code, output)."""
        program = self.start(exe, *args)
        code = program.wait(timeout)
        if code is None:
            raise AssertionError(f"{os.path.basename(exe)} {args} did not end in {timeout} s")
        return code, program.output()

    def ui(self, *args, timeout=30):
        """Calls the UI helper; its own --timeout values should stay below
        ``timeout``."""
        with tempfile.TemporaryFile() as out:
            # Not a pipe: a Wine process started meanwhile (the desktop
            # process) would inherit it and hold it open.
            code = subprocess.run(["wine", self.uihelper, *args], env=self.env,
                                  stdin=subprocess.DEVNULL, stdout=out,
                                  stderr=subprocess.STDOUT, timeout=timeout).returncode
            out.seek(0)
            return Facts(code, out.read().decode("utf-8", "replace"))

    def window(self, *selector, timeout_ms=5000):
        """Facts of the first window matching the selector, or None."""
        facts = self.ui("find", *selector, "--timeout", str(timeout_ms))
        windows = facts.windows()
        return windows[0] if windows else None

    def appdata(self):
        """The prefix's per-user application-data folder (AppData\\Roaming)."""
        users = os.path.join(self.prefix, "drive_c", "users")
        user = self.env.get("USER") or next(
            name for name in os.listdir(users) if name != "Public")
        return os.path.join(users, user, "AppData", "Roaming")

    def x_clients(self):
        """Managed X windows (what a taskbar lists): dicts of id, name and
        whether the window asks to be left out of the taskbar."""
        root = self._xprop("-root", "_NET_CLIENT_LIST")
        clients = []
        for window_id in re.findall(r"0x[0-9a-fA-F]+", root.partition("#")[2]):
            props = self._xprop("-id", window_id, "_NET_WM_NAME", "_NET_WM_STATE")
            name = re.search(r'_NET_WM_NAME\(UTF8_STRING\) = "(.*)"', props)
            clients.append({
                "id": window_id,
                "name": name.group(1) if name else "",
                "skip_taskbar": "_NET_WM_STATE_SKIP_TASKBAR" in props,
            })
        return clients

    def taskbar_names(self):
        return [c["name"] for c in self.x_clients() if not c["skip_taskbar"]]

    def _xprop(self, *args):
        return subprocess.run(
            ["xprop", *args], env=self.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
            timeout=10).stdout.decode("utf-8", "replace")

    def kill_all(self):
        """Ends every program the test started, and any program of ours that
        still runs in this prefix (for example one a failed test left)."""
        for program in self.programs:
            program.kill()
        self.programs.clear()
        names = {os.path.basename(p).lower() for p in (self.klipora, self.probe, self.uihelper)}
        for pid in _pids_in_prefix(self.prefix):
            try:
                with open(f"/proc/{pid}/cmdline", "rb") as f:
                    exe = f.read().split(b"\0")[0].decode("utf-8", "replace")
            except OSError:
                continue
            if os.path.basename(exe.replace("\\", "/")).lower() in names:
                try:
                    os.kill(pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass


def _pids_in_prefix(prefix):
    wanted = b"WINEPREFIX=" + os.fsencode(prefix)
    for entry in os.listdir("/proc"):
        if not entry.isdigit() or int(entry) == os.getpid():
            continue
        try:
            with open(f"/proc/{entry}/environ", "rb") as f:
                if wanted in f.read().split(b"\0"):
                    yield int(entry)
        except OSError:
            continue


def cpu_seconds(pid):
    """User plus system CPU time a Linux process has used so far."""
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rpartition(")")[2].split()
    # Fields after the command name start at field 3 (state): utime is 14, stime 15.
    return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS


def wait_until(predicate, timeout, what, interval=0.1):
    """Polls until predicate() gives a true value and returns it."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise AssertionError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


def numbers(text):
    return [int(n) for n in re.findall(r"-?\d+", text)]


class BenchTestCase(unittest.TestCase):
    """Base of the e2e tests: one Bench per test class, and nothing of ours
    left running after any test."""

    @classmethod
    def setUpClass(cls):
        cls.bench = Bench()
        cls.bench.kill_all()

    def tearDown(self):
        self.bench.kill_all()

    def start_klipora(self):
        """Starts Klipora and waits until its main window exists."""
        program = self.bench.start(self.bench.klipora)
        window = self.bench.window("--class", "TMain", "--caption", "Klipora",
                                   timeout_ms=15000)
        self.assertIsNotNone(window, f"no TMain window appeared; output:\n{program.output()}")
        return program, window

    def main_window(self, timeout_ms=5000):
        return self.bench.window("--class", "TMain", "--caption", "Klipora",
                                 timeout_ms=timeout_ms)

    def wait_main_visible(self, visible, timeout=10):
        def state():
            window = self.main_window(timeout_ms=0)
            return window if window and window["visible"] == ("1" if visible else "0") else None
        return wait_until(state, timeout, f"the main window to be {'shown' if visible else 'hidden'}")
