"""Start-up: Klipora starts hidden, touches no settings file, and a second
start hands over to the running instance."""

import os
import shutil
import unittest

from harness import BenchTestCase, wait_until

ALREADY_RUNNING = "Klipora läuft bereits! Nutzen Sie die vorhandene Instanz."


class StartupTest(BenchTestCase):
    def test_starts_hidden_without_writing_settings(self):
        folder = os.path.join(self.bench.appdata(), "Klipora")
        shutil.rmtree(folder, ignore_errors=True)

        program, window = self.start_klipora()

        self.assertEqual(window["visible"], "0", window)
        self.assertEqual(window["taskbar"], "0", window)
        self.assertNotIn("Klipora", self.bench.taskbar_names())
        self.assertTrue(program.alive())
        wait_until(lambda: os.path.isdir(folder), 5, f"{folder} to be created")
        self.assertEqual(os.listdir(folder), [], "start-up must not write a settings file")

    def test_second_start_shows_notice_and_restores_first(self):
        first, _ = self.start_klipora()
        second = self.bench.start(self.bench.klipora)

        box = self.bench.ui("msgbox", "--caption", "Fehler", "--timeout", "15000", "--press", "OK")
        self.assertEqual(box.returncode, 0, box)
        self.assertEqual(box.get("text"), ALREADY_RUNNING)
        self.assertEqual(box.get("icon"), "exclamation", box)
        self.assertEqual([button_id for button_id, _ in box.buttons()], [1], box)
        self.assertEqual(box.get("closed"), "1", box)

        self.assertEqual(second.wait(15), 0, "the second instance must end by itself")
        window = self.wait_main_visible(True)
        self.assertEqual(window["taskbar"], "1", window)
        wait_until(lambda: "Klipora" in self.bench.taskbar_names(), 5,
                   "a taskbar entry for the shown window")
        wait_until(lambda: (self.main_window() or {}).get("foreground") == "1", 5,
                   "the shown window to be in the foreground")
        self.assertTrue(first.alive())
        windows = self.bench.ui("find", "--class", "TMain", "--timeout", "0").windows()
        self.assertEqual(len(windows), 1, windows)


if __name__ == "__main__":
    unittest.main()
