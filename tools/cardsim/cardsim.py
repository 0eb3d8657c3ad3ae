#!/usr/bin/env python3
"""Simulated smart card for the vpcd virtual reader: plays a card profile and logs every exchange.

The card connects to vpcd's TCP port (vpcd listens, the card dials in). Every message in either
direction is a 2-byte big-endian length followed by the payload; a 1-byte payload from vpcd is a
control code. When the connection drops (pcscd restarted), the card dials again until stopped,
unless the profile removed it on purpose.
"""

import argparse
import os
import random
import signal
import socket
import struct
import sys
import time

CTRL_OFF, CTRL_ON, CTRL_RESET, CTRL_ATR = 0, 1, 2, 4
MAX_RESPONSE = 65538
# vpcd never sends more than an extended APDU; anything longer means the stream is out of step.
MAX_MESSAGE = 65544 + 16


class ProfileError(Exception):
    pass


def parse_hex_bytes(tokens, where):
    out = bytearray()
    for t in tokens:
        if len(t) % 2 or not all(c in "0123456789abcdefABCDEF" for c in t):
            raise ProfileError(f"{where}: not hex bytes: {t!r}")
        out += bytes.fromhex(t)
    return bytes(out)


class Pattern:
    """Command pattern: hex bytes, ?? for any one byte, a final * for any remaining bytes."""

    def __init__(self, text, where):
        self.items = []
        self.open_end = False
        tokens = text.split()
        for i, t in enumerate(tokens):
            if t == "*":
                if i != len(tokens) - 1:
                    raise ProfileError(f"{where}: '*' must end a pattern")
                self.open_end = True
            elif t == "??":
                self.items.append(None)
            else:
                for b in parse_hex_bytes([t], where):
                    self.items.append(b)
        if not self.items and not self.open_end:
            raise ProfileError(f"{where}: empty pattern")

    def matches(self, apdu):
        if len(apdu) < len(self.items) or (not self.open_end and len(apdu) != len(self.items)):
            return False
        return all(p is None or p == b for p, b in zip(self.items, apdu))


class Response:
    """Response items: hex bytes, rand:N, seq:N, and the modifiers delay:MS and chain."""

    def __init__(self, text, where):
        self.parts = []
        self.delay_ms = 0
        self.chain = False
        for t in text.split():
            if t == "chain":
                self.chain = True
            elif t.startswith("delay:"):
                self.delay_ms = self._count(t, where, 60000)
            elif t.startswith("rand:"):
                self.parts.append(("rand", self._count(t, where, MAX_RESPONSE)))
            elif t.startswith("seq:"):
                self.parts.append(("seq", self._count(t, where, MAX_RESPONSE)))
            else:
                self.parts.append(("bytes", parse_hex_bytes([t], where)))
        if self.chain and self.length() < 2:
            raise ProfileError(f"{where}: a chained answer needs a status word")
        if self.length() > MAX_RESPONSE:
            raise ProfileError(f"{where}: response longer than {MAX_RESPONSE} bytes")

    @staticmethod
    def _count(token, where, limit):
        try:
            n = int(token.split(":", 1)[1], 0)
        except ValueError:
            raise ProfileError(f"{where}: bad number in {token!r}") from None
        if n < 0 or n > limit:
            raise ProfileError(f"{where}: {token!r} out of range")
        return n

    def length(self):
        return sum(p[1] if p[0] != "bytes" else len(p[1]) for p in self.parts)

    def build(self, rng):
        out = bytearray()
        for kind, value in self.parts:
            if kind == "bytes":
                out += value
            elif kind == "rand":
                out += bytes(rng.getrandbits(8) for _ in range(value))
            else:
                out += bytes(i & 0xFF for i in range(value))
        return bytes(out)


class Profile:
    def __init__(self, path):
        self.atr = None
        self.rules = []
        self.remove_after = None
        with open(path, encoding="utf-8") as f:
            for n, raw in enumerate(f, 1):
                where = f"{path}:{n}"
                line = raw.split("#", 1)[0].strip()
                if not line:
                    continue
                if line.startswith("atr "):
                    self.atr = parse_hex_bytes(line[4:].split(), where)
                    if not 2 <= len(self.atr) <= 64:
                        raise ProfileError(f"{where}: ATR of {len(self.atr)} bytes")
                elif line.startswith("remove-after "):
                    self.remove_after = Response._count("n:" + line.split(None, 1)[1], where, 1 << 30)
                elif "=>" in line:
                    lhs, rhs = line.split("=>", 1)
                    self.rules.append((Pattern(lhs, where), Response(rhs, where)))
                else:
                    raise ProfileError(f"{where}: cannot read {line!r}")
        if self.atr is None:
            raise ProfileError(f"{path}: no 'atr' line")


class Card:
    def __init__(self, profile, log, rng):
        self.profile = profile
        self.log = log
        self.rng = rng
        self.pending = b""         # chained data waiting for GET RESPONSE
        self.pending_sw = b""
        self.commands = 0

    def note(self, event, data=b""):
        self.log.write(f"{time.time():.6f} {event} {data.hex().upper()}".rstrip() + "\n")
        self.log.flush()

    def control(self, code):
        names = {CTRL_OFF: "POWER_OFF", CTRL_ON: "POWER_ON", CTRL_RESET: "RESET", CTRL_ATR: "ATR"}
        if code in (CTRL_OFF, CTRL_ON, CTRL_RESET):
            self.pending = b""
        if code == CTRL_ATR:
            self.note("ATR", self.profile.atr)
            return self.profile.atr
        self.note(names.get(code, f"CTRL_{code}"))
        return None

    def command(self, apdu):
        self.commands += 1
        self.note("CMD", apdu)
        rsp = self._answer(apdu)
        self.note("RSP", rsp)
        return rsp

    def _answer(self, apdu):
        if self.pending and len(apdu) == 5 and apdu[:4] == b"\x00\xC0\x00\x00":
            return self._deliver(apdu[4] or 256)
        self.pending = b""
        for pattern, response in self.profile.rules:
            if pattern.matches(apdu):
                if response.delay_ms:
                    time.sleep(response.delay_ms / 1000.0)
                body = response.build(self.rng)
                if response.chain:
                    self.pending, self.pending_sw = body[:-2], body[-2:]
                    return self._more()
                return body
        return b"\x6F\x00"

    def _more(self):
        n = len(self.pending)
        return b"\x61" + bytes([n & 0xFF if n < 256 else 0])

    def _deliver(self, le):
        chunk, self.pending = self.pending[:le], self.pending[le:]
        return chunk + (self._more() if self.pending else self.pending_sw)

    def removed(self):
        return self.profile.remove_after is not None and self.commands >= self.profile.remove_after


def recv_exact(sock, n):
    buf = bytearray()
    while len(buf) < n:
        # Linux clears TCP_QUICKACK after a while; vpcd sends length and payload in two writes, so a
        # delayed acknowledgement would stall every message by ~40 ms.
        sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_QUICKACK, 1)
        chunk = sock.recv(n - len(buf))
        if not chunk:
            raise ConnectionError("vpcd closed the connection")
        buf += chunk
    return bytes(buf)


def serve(sock, card):
    while True:
        (size,) = struct.unpack(">H", recv_exact(sock, 2))
        if size == 0 or size > MAX_MESSAGE:
            raise ConnectionError(f"bad message length {size}")
        msg = recv_exact(sock, size)
        reply = card.control(msg[0]) if size == 1 else card.command(msg)
        if reply is not None:
            sock.sendall(struct.pack(">H", len(reply)) + reply)
        if card.removed():
            card.note("REMOVED")
            return False


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--profile", required=True)
    ap.add_argument("--port", type=int, required=True)
    ap.add_argument("--host", default="127.0.0.1")
    ap.add_argument("--log", required=True)
    ap.add_argument("--seed", type=int, default=None)
    ap.add_argument("--check", action="store_true", help="only parse the profile")
    args = ap.parse_args()
    try:
        profile = Profile(args.profile)
    except (OSError, ProfileError) as e:
        print(f"cardsim: {e}", file=sys.stderr)
        return 2
    if args.check:
        return 0
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    log = open(args.log, "a", buffering=1, encoding="ascii")
    card = Card(profile, log, random.Random(args.seed))
    while True:
        try:
            sock = socket.create_connection((args.host, args.port), timeout=1.0)
        except OSError:
            time.sleep(0.05)
            continue
        sock.settimeout(None)
        sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        card.note("INSERTED")
        try:
            serve(sock, card)
            sock.close()
            # Removed on purpose: stay out of the reader until restarted.
            while True:
                time.sleep(3600)
        except (ConnectionError, OSError):
            sock.close()
            card.note("DISCONNECTED")
            time.sleep(0.05)


if __name__ == "__main__":
    sys.exit(main())
