"""Message boxes: every kind shows its caption and icon, every button set its
buttons, and the pressed button is what the caller gets back. Also the box
that reports an error no command handled."""

import unittest

from harness import BenchTestCase, numbers, wait_until

IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO = 1, 2, 3, 4, 5, 6, 7

# kind, buttons, caption given, caption shown, icon, button ids left to right, press
CASES = [
    (0, 0x02, "", "Fehler", "exclamation", [IDOK], IDOK),
    (1, 0x04, "", "Information", "asterisk", [IDOK, IDCANCEL], IDCANCEL),
    (2, 0x10, "", "Frage", "question", [IDYES, IDNO], IDNO),
    (3, 0x08, "", "Warnung", "hand", [IDRETRY, IDCANCEL], IDRETRY),
    (4, 0x20, "", "Bestätigung", "question", [IDYES, IDNO, IDCANCEL], IDYES),
    (4, 0x20, "", "Bestätigung", "question", [IDYES, IDNO, IDCANCEL], IDNO),
    (4, 0x20, "", "Bestätigung", "question", [IDYES, IDNO, IDCANCEL], IDCANCEL),
    (0, 0x01, "Eigene Überschrift", "Eigene Überschrift", "exclamation",
     [IDABORT, IDRETRY, IDIGNORE], IDIGNORE),
    (9, 0x02, "Ohne Art", "Ohne Art", "none", [IDOK], IDOK),
]

TEXT = "Größe ändern? Äpfel & Öl"


class MessageBoxTest(BenchTestCase):
    def test_kinds_and_button_sets(self):
        for kind, buttons, caption, shown, icon, ids, press in CASES:
            with self.subTest(kind=kind, buttons=hex(buttons), press=press):
                probe = self.bench.start(self.bench.probe, "msgbox", str(kind), str(buttons),
                                         caption, TEXT)
                box = self.bench.ui("msgbox", "--caption", shown, "--timeout", "15000",
                                    "--press", f"#{press}")
                self.assertEqual(box.returncode, 0, f"{box}\nprobe: {probe.output()}")
                self.assertEqual(box.get("text"), TEXT)
                self.assertEqual(box.get("icon"), icon, box)
                self.assertEqual([button_id for button_id, _ in box.buttons()], ids, box)
                self.assertEqual(probe.wait(15), 0, probe.output())
                self.assertEqual(numbers(probe.output())[-1:], [press], probe.output())

    def test_unhandled_error_is_reported_and_waits_for_the_user(self):
        probe = self.bench.start(self.bench.probe, "throw")
        box = self.bench.ui("msgbox", "--timeout", "15000")
        self.assertEqual(box.returncode, 0, f"{box}\nprobe: {probe.output()}")
        self.assertIn("Testfehler", box.get("text"))
        self.assertNotEqual(box.get("icon"), "none", box)
        self.assertTrue(box.buttons(), box)

        self.assertIsNone(probe.wait(1), "the program must wait while the report is shown")
        first_button = f"#{box.buttons()[0][0]}"
        pressed = self.bench.ui("msgbox", "--hwnd", box.get("window"), "--press", first_button)
        self.assertEqual(pressed.get("closed"), "1", pressed)
        wait_until(lambda: not probe.alive(), 15, "the program to end after the report")


if __name__ == "__main__":
    unittest.main()
