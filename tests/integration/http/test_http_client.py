#!/usr/bin/env python3
"""Klipora's HTTP client (through kliptool) against the reference upload
script under lighttpd + php-cgi: upload, probe and delete, Basic
authentication from the URL, and the script's refusals as error texts.

usage: test_http_client.py KLIPTOOL
"""
import os
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from webserver import PASSWORD, USER, UploadWebServer, free_port  # noqa: E402

KLIPTOOL = None


def kliptool(*args):
    result = subprocess.run([KLIPTOOL, *args], capture_output=True, timeout=60)
    return result.returncode, result.stdout.decode(), result.stderr.decode()


class HttpClientTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.server = UploadWebServer(max_bytes=8 * 1024 * 1024)
        cls.tmp = tempfile.TemporaryDirectory()

    @classmethod
    def tearDownClass(cls):
        cls.server.stop()
        cls.tmp.cleanup()

    def write(self, name, data):
        path = os.path.join(self.tmp.name, name)
        with open(path, "wb") as f:
            f.write(data)
        return path

    def probe(self, url):
        code, out, err = kliptool("probe", url)
        self.assertEqual(code, 0, err)
        return out.strip()

    def test_upload_probe_delete_round_trip(self):
        data = os.urandom(5 * 1024 * 1024 + 17)
        local = self.write("capture.bin", data)
        public = self.server.url("/image0001.png")
        self.assertEqual(self.probe(public), "0")
        self.assertEqual(kliptool("http-upload", self.server.url(), local, "--name", "image0001.png"),
                         (0, "", ""))
        self.assertEqual(self.server.stored("image0001.png"), data)
        self.assertEqual(self.probe(public), "1")
        self.assertEqual(kliptool("http-delete", self.server.url(), "image0001.png"), (0, "", ""))
        self.assertIsNone(self.server.stored("image0001.png"))
        self.assertEqual(self.probe(public), "0")

    def test_script_refusals_become_error_texts(self):
        # Answered 200 with "ERROR: ...": the whole body is the text.
        local = self.write("image0003.png", b"x" * (8 * 1024 * 1024 + 1))
        code, _, err = kliptool("http-upload", self.server.url(), local)
        self.assertEqual(code, 1)
        self.assertEqual(err.strip(), f"ERROR: file too large (limit {8 * 1024 * 1024} bytes)")
        self.assertIsNone(self.server.stored("image0003.png"))
        local = self.write("shell.php", b"<?php echo 1; ?>")
        code, _, err = kliptool("http-upload", self.server.url(), local)
        self.assertEqual(code, 1)
        self.assertEqual(err.strip(), "ERROR: file name not allowed: shell.php")
        self.assertIsNone(self.server.stored("shell.php"))
        # A refused delete has a status other than 200: the status line is the text.
        code, _, err = kliptool("http-delete", self.server.url(), "upload.php")
        self.assertEqual(code, 1)
        self.assertRegex(err, r"^HTTP/1\.[01] 400 ")
        # A delete of a missing file is answered 404: the status line is the text.
        code, _, err = kliptool("http-delete", self.server.url(), "image9999.gif")
        self.assertEqual(code, 1)
        self.assertRegex(err, r"^HTTP/1\.[01] 404 ")

    def test_basic_authentication_from_the_url(self):
        local = self.write("image0002.gif", b"GIF89a-secure")
        secure = self.server.url("/secure/upload.php", f"{USER}:{PASSWORD}@")
        self.assertEqual(kliptool("http-upload", secure, local), (0, "", ""))
        self.assertEqual(self.server.stored("image0002.gif", "secure"), b"GIF89a-secure")
        code, _, err = kliptool("http-upload", self.server.url("/secure/upload.php"), local)
        self.assertEqual(code, 1)
        self.assertRegex(err, r"^HTTP/1\.[01] 401 ")
        code, _, err = kliptool("http-delete", self.server.url("/secure/upload.php", f"{USER}:falsch@"),
                                "image0002.gif")
        self.assertEqual(code, 1)
        self.assertIsNotNone(self.server.stored("image0002.gif", "secure"))
        self.assertEqual(kliptool("http-delete", secure, "image0002.gif"), (0, "", ""))

    def test_unreachable_and_unsupported_addresses(self):
        closed = f"http://127.0.0.1:{free_port()}/"
        self.assertEqual(self.probe(closed), "0")
        code, _, err = kliptool("http-delete", closed + "upload.php", "x.gif")
        self.assertEqual((code, err.strip()), (1, "Socket Error # 10061\r\nConnection refused."))
        code, _, err = kliptool("http-delete", "https://127.0.0.1/upload.php", "x.gif")
        self.assertEqual((code, err.strip()), (1, "IOHandler value is not valid"))


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    KLIPTOOL = sys.argv.pop(1)
    unittest.main(verbosity=2)
