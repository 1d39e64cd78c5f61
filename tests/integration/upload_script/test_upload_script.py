#!/usr/bin/env python3
"""The reference upload script under a real web server (lighttpd + php-cgi).

Posts the same multipart bodies Klipora sends and checks what lands on disk,
and that hostile names, oversized files and missing logins are refused.
"""
import base64
import http.client
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from webserver import UploadWebServer  # noqa: E402

BOUNDARY = "--------121026153045123"


def text_part(name, value):
    return f"--{BOUNDARY}\r\nContent-Disposition: form-data; name=\"{name}\"\r\n\r\n{value}\r\n".encode()


def file_part(name, filename, data, ctype="image/gif"):
    head = (f"--{BOUNDARY}\r\nContent-Disposition: form-data; name=\"{name}\"; "
            f"filename=\"{filename}\"\r\nContent-Type: {ctype}\r\n\r\n").encode()
    return head + data + b"\r\n"


def closing():
    return f"--{BOUNDARY}--\r\n".encode()


class Server(UploadWebServer):
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
        return self.server.stored(name, sub)

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
