"""Waiting costs no CPU: Klipora idling in the tray and a message-processing
wait of three seconds both stay far below one busy core."""

import time
import unittest

from harness import BenchTestCase, cpu_seconds, numbers

LIMIT = 0.05  # share of one core


class IdleCpuTest(BenchTestCase):
    def cpu_share(self, pid, seconds):
        before = cpu_seconds(pid)
        time.sleep(seconds)
        return (cpu_seconds(pid) - before) / seconds

    def test_idle_klipora(self):
        program, _ = self.start_klipora()
        time.sleep(1)  # start-up work is not idling
        share = self.cpu_share(program.pid, 3)
        print(f"Klipora idle: {share:.1%} of one core")
        self.assertLess(share, LIMIT)

    def test_wait_processes_messages_without_spinning(self):
        probe = self.bench.start(self.bench.probe, "wait", "3000")
        time.sleep(0.7)
        share = self.cpu_share(probe.pid, 2)
        print(f"wait 3000: {share:.1%} of one core")
        self.assertEqual(probe.wait(15), 0, probe.output())
        elapsed, timer_messages = numbers(probe.output())[-2:]
        print(f"wait 3000: {elapsed} ms, {timer_messages} timer messages")
        self.assertLess(share, LIMIT)
        self.assertGreaterEqual(elapsed, 3000)
        self.assertLess(elapsed, 4000)
        self.assertGreater(timer_messages, 0, "messages must be handled during the wait")


if __name__ == "__main__":
    unittest.main()
