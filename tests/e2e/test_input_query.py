"""The input query: OK (clicked, or sent as a button click by another
program) and Enter return the typed value; Abbrechen, Escape and closing
leave the value unchanged; password mode hides the text."""

import unittest

from harness import BenchTestCase

CAPTION = "Wert ändern"
PROMPT = "Neuer Wert für das Feld:"


class InputQueryTest(BenchTestCase):
    def open_query(self, value, *password):
        probe = self.bench.start(self.bench.probe, "inputquery", CAPTION, PROMPT, value, *password)
        dialog = self.bench.ui("controls", "--caption", CAPTION, "--visible", "--timeout", "15000")
        self.assertEqual(dialog.returncode, 0, f"{dialog}\nprobe: {probe.output()}")
        return probe, dialog

    def result(self, probe, after):
        code = probe.wait(15)
        self.assertIsNotNone(code, f"the dialog still runs 15 s after {after}")
        self.assertEqual(code, 0, probe.output())
        return probe.output().rstrip("\n").split("\n")[-2:]

    def test_confirm_and_cancel(self):
        # how the text is entered (by message or typed as keys), the action
        # that ends the dialog, the expected result and value
        cases = [
            ("settext", "click OK", ["1", "Übernommen"]),
            ("type", "mouse OK", ["1", "Übernommen"]),
            ("type", "key enter", ["1", "Übernommen"]),
            ("settext", "click Abbrechen", ["0", "alt"]),
            ("type", "key escape", ["0", "alt"]),
            ("settext", "close", ["0", "alt"]),
        ]
        for entry, action, expected in cases:
            with self.subTest(entry=entry, action=action):
                probe, dialog = self.open_query("alt")
                edits = [c for c in dialog.controls() if c["class"].lower() == "edit"]
                self.assertEqual(len(edits), 1, dialog)
                self.assertEqual(edits[0]["text"], "alt")
                self.assertEqual(edits[0]["password"], "0")
                texts = [c["text"] for c in dialog.controls()]
                self.assertIn(PROMPT, texts)
                self.assertIn("OK", texts)
                self.assertIn("Abbrechen", texts)

                typed = self.bench.ui(entry, "--caption", CAPTION, "--edit", "0", "Übernommen")
                self.assertEqual(typed.get("text"), "Übernommen", typed)
                kind, _, what = action.partition(" ")
                if kind in ("click", "mouse"):
                    facts = self.bench.ui("click", "--caption", CAPTION, "--button", what,
                                          *(["--mouse"] if kind == "mouse" else []))
                elif kind == "key":
                    facts = self.bench.ui("keys", "--caption", CAPTION, what)
                else:
                    facts = self.bench.ui("syscommand", "--caption", CAPTION, "close")
                self.assertEqual(facts.returncode, 0, facts)
                try:
                    self.assertEqual(self.result(probe, action), expected)
                finally:
                    self.bench.kill_all()

    def test_password_mode_masks_the_text(self):
        probe, dialog = self.open_query("geheim", "password")
        edit = next(c for c in dialog.controls() if c["class"].lower() == "edit")
        self.assertEqual(edit["password"], "1", dialog)
        self.assertEqual(edit.get("passwordchar"), "*", dialog)
        self.bench.ui("click", "--caption", CAPTION, "--button", "OK")
        self.assertEqual(self.result(probe, "click OK"), ["1", "geheim"])


if __name__ == "__main__":
    unittest.main()
