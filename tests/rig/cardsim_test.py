"""The simulated card: profile parsing, rule matching, response chaining and vpcd's framing."""

import io
import os
import random
import socket
import struct
import sys
import tempfile
import threading
import unittest

ROOT = os.environ.get("QX_ROOT") or os.path.join(os.path.dirname(__file__), "..", "..")
sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.join(ROOT, "tools", "cardsim"))
import cardsim  # noqa: E402


def profile(text):
    f = tempfile.NamedTemporaryFile("w", suffix=".profile", delete=False)
    f.write(text)
    f.close()
    try:
        return cardsim.Profile(f.name)
    finally:
        os.unlink(f.name)


def card(text, seed=1):
    return cardsim.Card(profile(text), io.StringIO(), random.Random(seed))


class ProfileTest(unittest.TestCase):
    def test_rejects_broken_profiles(self):
        broken = [
            "00 A4 * => 90 00\n",                     # no ATR
            "atr 3B\n",                               # ATR too short
            "atr 3B 00\n00 A4 => 9G 00\n",            # not hex
            "atr 3B 00\n00 * A4 => 90 00\n",          # '*' before the end
            "atr 3B 00\n00 A4 => chain 90\n",         # chained answer without a status word
            "atr 3B 00\n00 A4 => rand:99999999\n",    # absurd length
            "atr 3B 00\nwhatever\n",
            "atr 3B 00\n => 90 00\n",                  # empty pattern
        ]
        for text in broken:
            with self.subTest(text=text):
                with self.assertRaises(cardsim.ProfileError):
                    profile(text)

    def test_shipped_profiles_parse(self):
        folder = os.path.join(ROOT, "tools", "cardsim", "profiles")
        names = sorted(os.listdir(folder))
        self.assertIn("default.profile", names)
        for name in names:
            p = cardsim.Profile(os.path.join(folder, name))
            self.assertEqual(0x3B, p.atr[0], name)
        self.assertEqual(33, len(cardsim.Profile(os.path.join(folder, "atr33.profile")).atr))


class MatchingTest(unittest.TestCase):
    def test_wildcards_and_open_end(self):
        p = cardsim.Pattern("00 ?? 00 *", "t")
        self.assertTrue(p.matches(bytes.fromhex("00A400")))
        self.assertTrue(p.matches(bytes.fromhex("00B0000010")))
        self.assertFalse(p.matches(bytes.fromhex("00A4")))
        self.assertFalse(p.matches(bytes.fromhex("01A400")))
        exact = cardsim.Pattern("00 84 00 00 08", "t")
        self.assertTrue(exact.matches(bytes.fromhex("0084000008")))
        self.assertFalse(exact.matches(bytes.fromhex("008400000800")))

    def test_first_matching_rule_answers_and_default_is_6f00(self):
        c = card("atr 3B 00\n00 A4 04 00 * => 90 00\n00 A4 * => 6A 82\n")
        self.assertEqual(bytes.fromhex("9000"), c.command(bytes.fromhex("00A4040000")))
        self.assertEqual(bytes.fromhex("6A82"), c.command(bytes.fromhex("00A4000000")))
        self.assertEqual(bytes.fromhex("6F00"), c.command(bytes.fromhex("80CA000000")))

    def test_generated_data(self):
        c = card("atr 3B 00\n00 84 00 00 08 => rand:8 90 00\n00 B0 * => seq:510 90 00\n")
        a = c.command(bytes.fromhex("0084000008"))
        b = c.command(bytes.fromhex("0084000008"))
        self.assertEqual(10, len(a))
        self.assertNotEqual(a, b)
        big = c.command(bytes.fromhex("00B0000000"))
        self.assertEqual(512, len(big))
        self.assertEqual(bytes([0, 1, 2]), big[:3])
        self.assertEqual(0xFD, big[509])


class ChainingTest(unittest.TestCase):
    TEXT = "atr 3B 00\n00 A4 * => chain seq:20 90 00\n00 C0 * => 6F 00\n"

    def test_partial_and_full_get_response(self):
        c = card(self.TEXT)
        self.assertEqual(bytes.fromhex("6114"), c.command(bytes.fromhex("00A4040000")))
        first = c.command(bytes.fromhex("00C000000A"))
        self.assertEqual(bytes(range(10)) + bytes.fromhex("610A"), first)
        rest = c.command(bytes.fromhex("00C000000A"))
        self.assertEqual(bytes(range(10, 20)) + bytes.fromhex("9000"), rest)
        # Nothing pending any more: the rules answer.
        self.assertEqual(bytes.fromhex("6F00"), c.command(bytes.fromhex("00C0000010")))

    def test_other_commands_and_resets_drop_pending_data(self):
        c = card(self.TEXT)
        c.command(bytes.fromhex("00A4040000"))
        c.control(cardsim.CTRL_RESET)
        self.assertEqual(bytes.fromhex("6F00"), c.command(bytes.fromhex("00C0000014")))
        c.command(bytes.fromhex("00A4040000"))
        c.command(bytes.fromhex("00B0000000"))
        self.assertEqual(bytes.fromhex("6F00"), c.command(bytes.fromhex("00C0000014")))

    def test_256_bytes_pending_is_announced_as_6100(self):
        c = card("atr 3B 00\n00 A4 * => chain seq:256 90 00\n")
        self.assertEqual(bytes.fromhex("6100"), c.command(bytes.fromhex("00A4040000")))
        self.assertEqual(258, len(c.command(bytes.fromhex("00C0000000"))))


class WireTest(unittest.TestCase):
    def exchange(self, text, messages):
        # A real loopback TCP pair: the card sets TCP options on its socket.
        listener = socket.create_server(("127.0.0.1", 0))
        ours = socket.create_connection(listener.getsockname(), timeout=5)
        theirs, _ = listener.accept()
        listener.close()
        c = card(text)
        result = {}

        def run():
            try:
                cardsim.serve(theirs, c)
                result["end"] = "removed"
            except ConnectionError as e:
                result["end"] = str(e)

        t = threading.Thread(target=run)
        t.start()
        answers = []
        for m in messages:
            ours.sendall(m)
            if len(m) > 3 or m[2:] == bytes([cardsim.CTRL_ATR]):
                size = struct.unpack(">H", ours.recv(2))[0]
                answers.append(ours.recv(size))
        ours.close()
        t.join(5)
        theirs.close()
        return answers, result.get("end"), c

    def frame(self, payload):
        return struct.pack(">H", len(payload)) + payload

    def test_control_codes_commands_and_removal(self):
        text = "atr 3B 02 14 50\nremove-after 2\n* => 90 00\n"
        msgs = [self.frame(b"\x01"), self.frame(b"\x04"), self.frame(bytes.fromhex("00A4040000")),
                self.frame(bytes.fromhex("00B0000000"))]
        answers, end, c = self.exchange(text, msgs)
        self.assertEqual([bytes.fromhex("3B021450"), bytes.fromhex("9000"), bytes.fromhex("9000")], answers)
        self.assertEqual("removed", end)
        kinds = [line.split()[1] for line in c.log.getvalue().splitlines()]
        self.assertEqual(["POWER_ON", "ATR", "CMD", "RSP", "CMD", "RSP", "REMOVED"], kinds)

    def test_zero_length_message_ends_the_session(self):
        _, end, _ = self.exchange("atr 3B 00\n", [b"\x00\x00"])
        self.assertIn("bad message length", end)


if __name__ == "__main__":
    unittest.main()
