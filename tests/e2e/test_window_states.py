"""Closing or minimising the shown main window hides it into the tray: the
process keeps running and the window leaves the taskbar."""

import subprocess
import unittest

from harness import BenchTestCase, wait_until


class WindowStatesTest(BenchTestCase):
    def hide_by(self, how):
        if how == "window manager minimize":
            x_id = next(c["id"] for c in self.bench.x_clients() if c["name"] == "Klipora")
            subprocess.run(["xdotool", "windowminimize", x_id], env=self.bench.env, check=True)
            return
        if how == "alt+f4":
            facts = self.bench.ui("keys", "--class", "TMain", "--visible", "alt+f4")
        else:
            facts = self.bench.ui("syscommand", "--class", "TMain", how)
        self.assertEqual(facts.returncode, 0, facts)

    def test_close_alt_f4_and_minimize_hide_into_tray(self):
        program, _ = self.start_klipora()
        for how in ("close", "alt+f4", "minimize", "window manager minimize"):
            with self.subTest(how=how):
                # A posted restore is what a second start sends.
                self.bench.ui("syscommand", "--class", "TMain", "restore")
                self.wait_main_visible(True)
                wait_until(lambda: "Klipora" in self.bench.taskbar_names(), 5,
                           "the taskbar entry of the shown window")

                self.hide_by(how)

                window = self.wait_main_visible(False)
                self.assertEqual(window["taskbar"], "0", window)
                wait_until(lambda: "Klipora" not in self.bench.taskbar_names(), 5,
                           "the taskbar entry to go")
                self.assertIsNone(program.wait(0.5), f"Klipora ended after {how}")


if __name__ == "__main__":
    unittest.main()
