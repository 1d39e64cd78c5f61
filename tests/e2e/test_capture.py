"""Hotkey captures: a real key press makes a numbered file of the screen,
and the capture is on the clipboard before the file is written."""

import os
import shutil
import struct
import subprocess
import tempfile
import unittest

from harness import BenchTestCase, wait_until


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n":
        raise AssertionError(f"{path} is no PNG")
    return struct.unpack(">II", head[16:24])


def wine_path(path):
    return "Z:" + path.replace("/", "\\")


class CaptureTest(BenchTestCase):
    def setUp(self):
        self.shots = tempfile.mkdtemp(prefix="klipora-shots-")
        self.addCleanup(shutil.rmtree, self.shots, True)
        folder = os.path.join(self.bench.appdata(), "Klipora")
        os.makedirs(folder, exist_ok=True)
        self.ini = os.path.join(folder, "Klipora.ini")
        self.addCleanup(lambda: os.path.exists(self.ini) and os.remove(self.ini))

    def write_settings(self, **values):
        lines = ["[Options]"] + [f"{key}={value}" for key, value in values.items()]
        with open(self.ini, "w", newline="\r\n") as f:
            f.write("\n".join(lines) + "\n")

    def clipboard_targets(self):
        return subprocess.run(["xclip", "-selection", "clipboard", "-t", "TARGETS", "-o"],
                              env=self.bench.env, stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL, timeout=10).stdout.decode()

    def test_ctrl_f11_saves_the_whole_screen_as_the_next_number(self):
        self.write_settings(SaveToFolder=wine_path(self.shots + "/sub"), SaveType=3,
                            LocalNum=4, ShowScreenshot=0)
        # An older capture in the folder: the numbering continues after it.
        os.makedirs(self.shots + "/sub")
        open(self.shots + "/sub/IMAGE0041.PNG", "wb").close()
        program, _ = self.start_klipora()

        self.assertEqual(self.bench.ui("keys", "ctrl+f11").returncode, 0)
        target = self.shots + "/sub/image0042.png"
        wait_until(lambda: os.path.exists(target) and os.path.getsize(target) > 0, 20,
                   "the capture file")
        width, height = png_size(target)
        screen = subprocess.run(["xdpyinfo"], env=self.bench.env, stdout=subprocess.PIPE,
                                timeout=10).stdout.decode()
        self.assertIn(f"dimensions:    {width}x{height} pixels", screen)
        self.assertIn("image/bmp", self.clipboard_targets())
        self.assertTrue(program.alive())

    def test_gif_option_puts_exactly_the_saved_gif_on_the_clipboard(self):
        self.write_settings(SaveToFolder=wine_path(self.shots), SaveType=0, ShowScreenshot=0,
                            CopyScreenshotAsGif2Cllpbrd=1, GIFOptColor=1, GIFDithering=1)
        self.start_klipora()
        self.bench.ui("keys", "ctrl+f11")
        target = self.shots + "/image0001.gif"
        wait_until(lambda: os.path.exists(target) and os.path.getsize(target) > 0, 30,
                   "the GIF capture")
        targets = self.clipboard_targets().splitlines()
        self.assertIn("GIF Image", targets)
        self.assertNotIn("image/bmp", targets)
        clip = subprocess.run(["xclip", "-selection", "clipboard", "-t", "GIF Image", "-o"],
                              env=self.bench.env, stdout=subprocess.PIPE, timeout=10).stdout
        with open(target, "rb") as f:
            self.assertEqual(clip, f.read())

    def test_a_refused_hotkey_is_reported_and_the_others_still_work(self):
        # The same combination twice: the second registration is refused.
        self.write_settings(HotKey1=16506, HotKey2=16506, SaveToFolder=wine_path(self.shots),
                            SaveType=2, ShowScreenshot=0)
        program = self.bench.start(self.bench.klipora)
        box = self.bench.ui("msgbox", "--caption", "Fehler", "--timeout", "15000", "--press", "#1")
        self.assertEqual(box.get("text"),
                         "Konnte Hotkey Strg+F11 nicht registrieren. Verwenden Sie einen anderen "
                         "Hotkey!", box)
        self.assertIsNotNone(self.main_window(timeout_ms=15000))
        self.bench.ui("keys", "ctrl+f11")
        wait_until(lambda: os.path.exists(self.shots + "/image0001.bmp"), 20, "the BMP capture")
        self.assertTrue(program.alive())


if __name__ == "__main__":
    unittest.main()
