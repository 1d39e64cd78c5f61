"""lighttpd + php-cgi on 127.0.0.1 serving the reference upload script.

The document root holds upload.php and, behind HTTP Basic authentication
(user "klip", password "geheim"), secure/upload.php; uploads land next to the
script that stored them and are served back as static files.
"""
import os
import shutil
import signal
import socket
import subprocess
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SCRIPT = os.path.join(ROOT, "server", "upload.php")
USER, PASSWORD = "klip", "geheim"


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class UploadWebServer:
    def __init__(self, max_bytes=1024 * 1024):
        self.dir = tempfile.mkdtemp(prefix="klipora-upload-")
        self.www = os.path.join(self.dir, "www")
        os.makedirs(os.path.join(self.www, "secure"))
        with open(SCRIPT) as f:
            source = f.read()
        source = source.replace("$maxBytes = 32 * 1024 * 1024;", f"$maxBytes = {max_bytes};")
        for sub in ("", "secure"):
            with open(os.path.join(self.www, sub, "upload.php"), "w") as f:
                f.write(source)
        with open(os.path.join(self.dir, "users"), "w") as f:
            f.write(f"{USER}:{PASSWORD}\n")
        limit = max(8, (max_bytes >> 20) + 2)
        self.port = free_port()
        conf = os.path.join(self.dir, "lighttpd.conf")
        with open(conf, "w") as f:
            f.write(f"""
server.document-root = "{self.www}"
server.bind = "127.0.0.1"
server.port = {self.port}
server.errorlog = "{self.dir}/error.log"
# Probes right after a delete must see the file gone.
server.stat-cache-engine = "disable"
server.modules = ("mod_auth", "mod_authn_file", "mod_fastcgi")
mimetype.assign = (".gif" => "image/gif", ".test" => "text/plain")
auth.backend = "plain"
auth.backend.plain.userfile = "{self.dir}/users"
auth.require = ("/secure/" => ("method" => "basic", "realm" => "k", "require" => "valid-user"))
fastcgi.server = (".php" => ((
  "bin-path" => "/usr/bin/php-cgi -d upload_max_filesize={limit}M -d post_max_size={limit}M",
  "socket" => "{self.dir}/php.sock",
  "max-procs" => 1,
  "bin-environment" => ("PHP_FCGI_CHILDREN" => "1", "PHP_FCGI_MAX_REQUESTS" => "1000")
)))
""")
        self.proc = subprocess.Popen(["lighttpd", "-D", "-f", conf], start_new_session=True,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.time() + 10
        while time.time() < deadline:
            try:
                socket.create_connection(("127.0.0.1", self.port), timeout=0.2).close()
                return
            except OSError:
                time.sleep(0.05)
        self.stop()
        raise RuntimeError("lighttpd did not start")

    def url(self, path="/upload.php", credentials=""):
        return f"http://{credentials}127.0.0.1:{self.port}{path}"

    def stored(self, name, sub=""):
        path = os.path.join(self.www, sub, name)
        if not os.path.exists(path):
            return None
        with open(path, "rb") as f:
            return f.read()

    def stop(self):
        if self.proc.poll() is None:
            os.killpg(self.proc.pid, signal.SIGTERM)
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                os.killpg(self.proc.pid, signal.SIGKILL)
                self.proc.wait()
        shutil.rmtree(self.dir, ignore_errors=True)
