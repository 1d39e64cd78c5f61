#!/usr/bin/env python3
"""Runs kliptool's FTP commands against real vsftpd and pure-ftpd servers.

Each server is started here on 127.0.0.1 with its own free ports and a
config under the build tree, and stopped again by its PID, also when a
check fails. Both servers are tried in passive and active mode.
"""
import argparse
import os
import shutil
import signal
import socket
import subprocess
import sys
import time
import traceback

SKIP = 77


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def free_range(count):
    """A base port with `count` free ports after it (checked once)."""
    for _ in range(50):
        base = free_port()
        if base + count >= 65535:
            continue
        ok = True
        for port in range(base, base + count):
            with socket.socket() as s:
                try:
                    s.bind(("127.0.0.1", port))
                except OSError:
                    ok = False
                    break
        if ok:
            return base
    raise RuntimeError("no free port range")


def wait_listening(port, process, seconds=10):
    deadline = time.time() + seconds
    while time.time() < deadline:
        if process.poll() is not None:
            raise RuntimeError("server exited with %s" % process.returncode)
        with socket.socket() as s:
            s.settimeout(0.2)
            if s.connect_ex(("127.0.0.1", port)) == 0:
                return
        time.sleep(0.05)
    raise RuntimeError("server did not listen on %d" % port)


def stop(process):
    if process is None or process.poll() is not None:
        return
    os.kill(process.pid, signal.SIGTERM)
    try:
        process.wait(timeout=5)
    except subprocess.TimeoutExpired:
        os.kill(process.pid, signal.SIGKILL)
        process.wait(timeout=5)


def find_program(name, work):
    """An installed server, or one unpacked from its Debian package.

    vsftpd and pure-ftpd conflict as packages, so only one of them can be
    installed; the other is unpacked into the build tree from the archive
    apt already uses."""
    for folder in ("/usr/sbin", "/usr/bin"):
        path = os.path.join(folder, name)
        if os.access(path, os.X_OK):
            return path, folder
    # scripts/setup.sh unpacks it into build/deps; a copy of the test's own
    # serves when the tests run without that step.
    repo = os.path.dirname(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))))
    unpacked = os.path.join(work, "unpacked-" + name)
    for base in (os.path.join(repo, "build", "deps", "unpacked-" + name), unpacked):
        for folder in ("usr/sbin", "usr/bin"):
            path = os.path.join(base, folder, name)
            if os.access(path, os.X_OK):
                return path, os.path.join(base, folder)
    if not shutil.which("apt-get"):
        return None, None
    debs = os.path.join(work, "debs")
    os.makedirs(debs, exist_ok=True)
    result = subprocess.run(["apt-get", "download", "-q", name], cwd=debs,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
    if result.returncode != 0:
        return None, None
    for deb in sorted(os.listdir(debs)):
        if deb.startswith(name + "_") and deb.endswith(".deb"):
            subprocess.run(["dpkg-deb", "-x", os.path.join(debs, deb), unpacked], check=True)
    path = os.path.join(unpacked, "usr/sbin", name)
    return (path, os.path.join(unpacked, "usr/sbin")) if os.access(path, os.X_OK) else (None, None)


class Server:
    name = ""
    user = ""
    password = ""
    process = None

    home = ""  # the writable directory, relative to the login directory

    def url(self, path=""):
        path = "/".join(p for p in (self.home, path) if p)
        return "ftp://%s:%s@127.0.0.1:%d/%s" % (self.user, self.password, self.port, path)


class Vsftpd(Server):
    """vsftpd's anonymous account, with uploads into its own directory."""
    name = "vsftpd"
    home = "upload"
    user = "anonymous"
    password = "klipora@example.org"

    def start(self, work):
        program, _ = find_program("vsftpd", work)
        if not program:
            return False
        base = os.path.join(work, "vsftpd")
        shutil.rmtree(base, ignore_errors=True)
        root = os.path.join(base, "root")
        empty = os.path.join(base, "empty")
        os.makedirs(empty)
        os.makedirs(root)
        os.chmod(root, 0o755)  # the chroot itself must not be writable
        self.directory = os.path.join(root, "upload")
        os.makedirs(self.directory)
        os.chmod(self.directory, 0o777)
        self.port = free_port()
        passive = free_range(20)
        config = os.path.join(base, "vsftpd.conf")
        with open(config, "w") as f:
            f.write("\n".join([
                "listen=YES", "listen_ipv6=NO", "listen_address=127.0.0.1",
                "listen_port=%d" % self.port, "background=NO",
                "anonymous_enable=YES", "local_enable=NO", "no_anon_password=NO",
                "write_enable=YES", "anon_upload_enable=YES", "anon_mkdir_write_enable=YES",
                "anon_other_write_enable=YES", "anon_world_readable_only=NO", "anon_umask=022",
                "anon_root=" + root, "secure_chroot_dir=" + empty,
                "pasv_enable=YES", "pasv_address=127.0.0.1",
                "pasv_min_port=%d" % passive, "pasv_max_port=%d" % (passive + 19),
                "port_enable=YES", "connect_from_port_20=NO",
                "seccomp_sandbox=NO", "xferlog_enable=NO", "syslog_enable=NO",
                "vsftpd_log_file=" + os.path.join(base, "vsftpd.log"),
                "use_localtime=NO", "hide_ids=NO", ""]))
        self.process = subprocess.Popen([program, config], stdout=subprocess.DEVNULL,
                                        stderr=open(os.path.join(base, "stderr.log"), "w"))
        wait_listening(self.port, self.process)
        return True


class PureFtpd(Server):
    """pure-ftpd with a virtual account of its own password database."""
    name = "pure-ftpd"
    user = "klipora"
    password = "Geheim%2123"  # "Geheim!23", percent-encoded in the URL

    def start(self, work):
        program, folder = find_program("pure-ftpd", work)
        if not program:
            return False
        pure_pw = os.path.join(folder, "..", "bin", "pure-pw")
        if not os.access(pure_pw, os.X_OK):
            pure_pw = shutil.which("pure-pw")
        if not pure_pw:
            return False
        base = os.path.join(work, "pure-ftpd")
        shutil.rmtree(base, ignore_errors=True)
        self.directory = os.path.join(base, "home")
        os.makedirs(self.directory)
        import pwd
        ftp = pwd.getpwnam("ftp")
        os.chown(self.directory, ftp.pw_uid, ftp.pw_gid)
        passwd = os.path.join(base, "pureftpd.passwd")
        database = os.path.join(base, "pureftpd.pdb")
        subprocess.run([pure_pw, "useradd", self.user, "-u", "ftp", "-g", "ftp", "-d",
                        self.directory, "-f", passwd, "-F", database, "-m"],
                       input="Geheim!23\nGeheim!23\n", text=True, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
        self.port = free_port()
        passive = free_range(20)
        self.process = subprocess.Popen(
            [program, "-S", "127.0.0.1,%d" % self.port, "-l", "puredb:" + database, "-E", "-A",
             "-H", "-4", "-u", "1", "-p", "%d:%d" % (passive, passive + 19), "-P", "127.0.0.1"],
            stdout=subprocess.DEVNULL, stderr=open(os.path.join(base, "stderr.log"), "w"))
        wait_listening(self.port, self.process)
        return True


def kliptool(tool, *args):
    result = subprocess.run([tool] + list(args), capture_output=True, text=True, timeout=120)
    return result.returncode, result.stdout, result.stderr


def check(condition, what):
    if not condition:
        raise AssertionError(what)


def exercise(server, tool, work, active):
    mode = ["--active"] if active else []
    label = "%s %s" % (server.name, "active" if active else "passive")
    directory = server.directory
    os.makedirs(os.path.join(directory, "sub dir"), exist_ok=True)
    os.chmod(os.path.join(directory, "sub dir"), 0o777)
    link = os.path.join(directory, "link")
    if not os.path.islink(link):
        os.symlink("sub dir", link)

    payload = os.path.join(work, "payload.gif")
    data = bytes(range(256)) * 4096 + b"\r\n\n\r end"  # binary, over a megabyte
    with open(payload, "wb") as f:
        f.write(data)
    name = "image%s.gif" % ("A" if active else "P")
    code, _, err = kliptool(tool, "ftp-put", server.url(), payload, "--name", name, *mode)
    check(code == 0, "%s: ftp-put failed: %s" % (label, err))
    with open(os.path.join(directory, name), "rb") as f:
        check(f.read() == data, "%s: stored bytes differ" % label)

    code, out, err = kliptool(tool, "ftp-list", server.url(), *mode)
    check(code == 0, "%s: ftp-list failed: %s" % (label, err))
    items = set(out.splitlines())
    for want in ("1\t" + name, "0\tsub dir", "2\tlink"):
        check(want in items, "%s: %r not in listing %r" % (label, want, sorted(items)))

    code, out, err = kliptool(tool, "ftp-put", server.url("sub dir"), payload, "--name", "in sub.gif",
                              *mode)
    check(code == 0 and os.path.exists(os.path.join(directory, "sub dir", "in sub.gif")),
          "%s: ftp-put into a sub-directory failed: %s" % (label, err))

    code, _, err = kliptool(tool, "ftp-delete", server.url(name), *mode)
    check(code == 0, "%s: ftp-delete failed: %s" % (label, err))
    check(not os.path.exists(os.path.join(directory, name)), "%s: file not deleted" % label)

    code, _, err = kliptool(tool, "ftp-delete", server.url(name), *mode)
    check(code == 1 and err.strip(), "%s: deleting a missing file must fail with the reply" % label)
    code, _, err = kliptool(tool, "ftp-list", server.url("no such dir"), *mode)
    check(code == 1 and err.strip(), "%s: listing a missing directory must fail" % label)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--kliptool", required=True)
    parser.add_argument("--work", required=True)
    args = parser.parse_args()
    if os.geteuid() != 0:
        print("needs root to run the FTP servers; skipped")
        return SKIP
    os.makedirs(args.work, exist_ok=True)
    os.chmod(args.work, 0o755)
    failures = 0
    tried = 0
    for server in (Vsftpd(), PureFtpd()):
        try:
            if not server.start(args.work):
                print("%s: not available" % server.name)
                failures += 1
                continue
            for active in (False, True):
                tried += 1
                try:
                    exercise(server, args.kliptool, args.work, active)
                    print("%s %s: ok" % (server.name, "active" if active else "passive"))
                except AssertionError as error:
                    failures += 1
                    print("FAIL", error)
        except Exception:
            failures += 1
            traceback.print_exc()
        finally:
            stop(server.process)
    print("%d runs, %d failures" % (tried, failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
