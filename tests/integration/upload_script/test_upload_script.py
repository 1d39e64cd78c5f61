#!/usr/bin/env python3
"""The reference upload script under a real web server (lighttpd + php-cgi).

Posts the same multipart bodies Klipora sends and checks what lands on disk,
and that hostile names, oversized files and missing logins are refused.
"""
import base64
import http.client
import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))))
SCRIPT = os.path.join(ROOT, "server", "upload.php")
BOUNDARY = "--------121026153045123"


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def text_part(name, value):
    return f"--{BOUNDARY}\r\nContent-Disposition: form-data; name=\"{name}\"\r\n\r\n{value}\r\n".encode()


def file_part(name, filename, data, ctype="image/gif"):
    head = (f"--{BOUNDARY}\r\nContent-Disposition: form-data; name=\"{name}\"; "
            f"filename=\"{filename}\"\r\nContent-Type: {ctype}\r\n\r\n").encode()
    return head + data + b"\r\n"


def closing():
    return f"--{BOUNDARY}--\r\n".encode()


class Server:
    def __init__(self, max_bytes=1024 * 1024):
        self.dir = tempfile.mkdtemp(prefix="klipora-upload-")
        self.www = os.path.join(self.dir, "www")
        os.makedirs(os.path.join(self.www, "secure"))
        for sub, extra in (("", ""), ("secure", "")):
            with open(SCRIPT) as f:
                source = f.read()
            source = source.replace("$maxBytes = 32 * 1024 * 1024;", f"$maxBytes = {max_bytes};")
            with open(os.path.join(self.www, sub, "upload.php"), "w") as f:
                f.write(source + extra)
        with open(os.path.join(self.dir, "users"), "w") as f:
            f.write("klip:geheim\n")
        self.port = free_port()
        conf = os.path.join(self.dir, "lighttpd.conf")
        with open(conf, "w") as f:
            f.write(f"""
server.document-root = "{self.www}"
server.bind = "127.0.0.1"
server.port = {self.port}
server.errorlog = "{self.dir}/error.log"
server.modules = ("mod_auth", "mod_authn_file", "mod_fastcgi")
mimetype.assign = (".gif" => "image/gif", ".test" => "text/plain")
auth.backend = "plain"
auth.backend.plain.userfile = "{self.dir}/users"
auth.require = ("/secure/" => ("method" => "basic", "realm" => "k", "require" => "valid-user"))
fastcgi.server = (".php" => ((
  "bin-path" => "/usr/bin/php-cgi -d upload_max_filesize=8M -d post_max_size=8M",
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

    def stop(self):
        if self.proc.poll() is None:
            os.killpg(self.proc.pid, signal.SIGTERM)
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                os.killpg(self.proc.pid, signal.SIGKILL)
                self.proc.wait()
        shutil.rmtree(self.dir, ignore_errors=True)

    def request(self, method, path, body=b"", headers=None):
        conn = http.client.HTTPConnection("127.0.0.1", self.port, timeout=20)
        all_headers = {"Content-Type": f"multipart/form-data; boundary={BOUNDARY}"}
        all_headers.update(headers or {})
        conn.request(method, path, body=body, headers=all_headers)
        resp = conn.getresponse()
        result = resp.status, resp.read().decode(errors="replace")
        conn.close()
        return result

    def put(self, name, data, path="/upload.php", headers=None):
        body = text_part("Action", "PUT") + file_part("UploadFile", name, data) + closing()
        return self.request("POST", path, body, headers)

    def delete(self, name, path="/upload.php", headers=None):
        body = text_part("Action", "DELETE") + text_part("FileName", name) + closing()
        return self.request("POST", path, body, headers)


class UploadScriptTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.server = Server()

    @classmethod
    def tearDownClass(cls):
        cls.server.stop()

    def stored(self, name, sub=""):
        path = os.path.join(self.server.www, sub, name)
        if not os.path.exists(path):
            return None
        with open(path, "rb") as f:
            return f.read()

    def test_put_get_and_delete_round_trip(self):
        data = bytes(range(256)) * 40
        status, body = self.server.put("image0001.gif", data)
        self.assertEqual((status, body), (200, "OK"))
        self.assertNotIn("ERROR", body)
        self.assertEqual(self.stored("image0001.gif"), data)
        # Served back as data under the same name, the way Klipora probes it.
        status, _ = self.server.request("GET", "/image0001.gif")
        self.assertEqual(status, 200)
        # A second upload under the same name replaces the file whole.
        self.assertEqual(self.server.put("image0001.gif", b"GIF89a")[0], 200)
        self.assertEqual(self.stored("image0001.gif"), b"GIF89a")
        self.assertEqual(self.server.delete("image0001.gif"), (200, "OK"))
        self.assertIsNone(self.stored("image0001.gif"))

    def test_settings_test_file_is_stored_not_executed(self):
        php = b'<?php\r\n print "Test";\r\n?>\r\n'
        self.assertEqual(self.server.put("kliptest.test", php), (200, "OK"))
        status, body = self.server.request("GET", "/kliptest.test")
        self.assertEqual((status, body.encode()), (200, php))
        self.assertEqual(self.server.delete("kliptest.test")[0], 200)

    def test_hostile_names_are_refused_and_nothing_is_written(self):
        refused = ["shell.php", "image.php.gif", "image.gif.php", ".htaccess", "upload.php", "image",
                   "bild ä.gif", "a.phtml", "-rf.gif"]
        before = sorted(os.listdir(self.server.www))
        for name in refused:
            with self.subTest(name=name):
                status, body = self.server.put(name, b"<?php echo 1; ?>")
                self.assertTrue(body.startswith("ERROR"), body)
        self.assertEqual(sorted(os.listdir(self.server.www)), before)
        # PHP itself cuts directories and what follows a NUL off the sent name,
        # so these can only land inside the folder, under a plain image name.
        for name in ["../escape.gif", "..\\escape.gif", "/tmp/abs.gif", "image0003.gif\x00.php"]:
            with self.subTest(name=name):
                self.server.put(name, b"GIF89a")
        self.assertFalse(os.path.exists(os.path.join(self.server.dir, "escape.gif")))
        self.assertFalse(any(n.endswith(".php") and n != "upload.php" for n in os.listdir(self.server.www)))
        # Delete refuses the script itself and anything outside the folder.
        for name in ["upload.php", "../users", "secure/upload.php"]:
            with self.subTest(delete=name):
                status, body = self.server.delete(name)
                self.assertNotEqual(status, 200)
                self.assertTrue(body.startswith("ERROR"), body)
        self.assertTrue(os.path.exists(os.path.join(self.server.www, "upload.php")))

    def test_failures_answer_error(self):
        cases = [
            ("missing file", text_part("Action", "PUT") + closing()),
            ("unknown action", text_part("Action", "LIST") + closing()),
        ]
        for label, body in cases:
            with self.subTest(label):
                self.assertTrue(self.server.request("POST", "/upload.php", body)[1].startswith("ERROR"))
        status, body = self.server.delete("image9999.gif")
        self.assertEqual(status, 404)
        self.assertTrue(body.startswith("ERROR"))
        status, body = self.server.request("GET", "/upload.php")
        self.assertNotEqual(status, 200)

    def test_size_limit(self):
        status, body = self.server.put("big.png", b"x" * (1024 * 1024 + 1))
        self.assertTrue(body.startswith("ERROR"), body)
        self.assertIsNone(self.stored("big.png"))

    def test_works_behind_basic_authentication(self):
        status, _ = self.server.put("image0002.gif", b"GIF89a", path="/secure/upload.php")
        self.assertEqual(status, 401)
        auth = {"Authorization": "Basic " + base64.b64encode(b"klip:geheim").decode()}
        status, body = self.server.put("image0002.gif", b"GIF89a", path="/secure/upload.php",
                                       headers=auth)
        self.assertEqual((status, body), (200, "OK"))
        self.assertEqual(self.stored("image0002.gif", "secure"), b"GIF89a")


if __name__ == "__main__":
    unittest.main(verbosity=2)
