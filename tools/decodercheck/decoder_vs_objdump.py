#!/usr/bin/env python3
"""Checks the skin engine's instruction decoder against GNU objdump on random instruction bytes.

Every instruction the decoder accepts must have objdump's length, must not be "(bad)" to objdump, and must agree on
calls, jumps, returns and [rip + disp32] operands. Run it after changing the decoder's tables:

    tools/decodercheck/decoder_vs_objdump.py [samples] [seed]

Each sample is 16 bytes (random, or a prefix/REX/opcode/ModRM picked from the table's neighbourhood, then random)
padded with 16 NOPs, so that objdump's sequential listing is back in step at every 32-byte record.
"""
import os
import random
import re
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
ONE_BYTE = (list(range(0x00, 0x40)) + list(range(0x40, 0x60)) + [0x63, 0x68, 0x69, 0x6A, 0x6B] +
            list(range(0x70, 0xC4)) + [0xC6, 0xC7, 0xC8, 0xC9, 0xD0, 0xD1, 0xD2, 0xD3, 0xE0, 0xE1, 0xE2, 0xE3, 0xE8,
                                       0xE9, 0xEB] + list(range(0xF5, 0x100)))
TWO_BYTE = ([0x1E, 0x1F] + list(range(0x40, 0x50)) + list(range(0x80, 0xA0)) +
            [0xA3, 0xA4, 0xA5, 0xAB, 0xAC, 0xAD, 0xAF, 0xB0, 0xB1, 0xB3, 0xB6, 0xB7, 0xBA, 0xBB, 0xBE, 0xBF, 0xC0,
             0xC1] + list(range(0xC8, 0xD0)))
PREFIXES = [0x26, 0x2E, 0x36, 0x3E, 0x64, 0x65, 0x66, 0x67, 0xF0, 0xF2, 0xF3]
FLOWS = {1: 'call', 2: 'jmp', 4: 'ret'}
IGNORED = {'lock', 'rep', 'repz', 'repnz', 'repe', 'repne', 'data16', 'addr32', 'bnd', 'notrack', 'cs', 'ds', 'ss',
           'es', 'fs', 'gs'}


def sample(rng, mode):
    if rng.random() < 0.2:
        return bytes(rng.getrandbits(8) for _ in range(16))
    s = bytearray()
    while rng.random() < 0.25:
        s.append(rng.choice(PREFIXES))
    if mode == '64' and rng.random() < 0.4:
        s.append(rng.randrange(0x40, 0x50))
    if rng.random() < 0.2:
        s += bytes([0x0F, rng.choice(TWO_BYTE) if rng.random() < 0.9 else rng.getrandbits(8)])
    else:
        s.append(rng.choice(ONE_BYTE))
    modrm = rng.getrandbits(8)
    if rng.random() < 0.3:
        modrm = (modrm & 0xC7) | 0x05 if rng.random() < 0.5 else (modrm & 0xF8) | 0x04
    s.append(modrm)
    while len(s) < 16:
        s.append(rng.getrandbits(8))
    return bytes(s[:16])


def check(mode, count, seed, work):
    rng = random.Random(seed)
    records = b''.join(sample(rng, mode) + b'\x90' * 16 for _ in range(count))
    path = os.path.join(work, 'records.bin')
    with open(path, 'wb') as f:
        f.write(records)
    machine = 'i386:x86-64' if mode == '64' else 'i386'
    listing = subprocess.run(['objdump', '-D', '-b', 'binary', '-m', machine, '--insn-width=16', path],
                             capture_output=True, text=True, check=True).stdout
    objdump = {}
    for line in listing.splitlines():
        m = re.match(r'\s+([0-9a-f]+):\t((?:[0-9a-f]{2} )+)\s*\t?(.*)', line)
        if m and int(m.group(1), 16) % 32 == 0:
            objdump[int(m.group(1), 16)] = (len(m.group(2).split()), m.group(3))
    ours = subprocess.run([os.path.join(work, 'decoder_lengths'), mode, path], capture_output=True, text=True,
                          check=True).stdout
    decoded = bad = 0
    for line in ours.splitlines():
        at, status, length, flow, rip, indirect = map(int, line.split())
        if status != 0:
            continue
        decoded += 1
        length_there, text = objdump[at]
        words = [w for w in text.split() if w not in IGNORED and not w.startswith('rex')]
        mnemonic = words[0] if words else ''
        problems = []
        if '(bad)' in text or length_there != length:
            problems.append('length %d, objdump %d' % (length, length_there))
        if bool(rip) != ('rip' in text):
            problems.append('rip-relative')
        if flow in FLOWS and not mnemonic.startswith(FLOWS[flow]):
            problems.append('flow')
        if flow == 3 and not mnemonic.startswith(('j', 'loop')):
            problems.append('flow')
        if flow == 0 and mnemonic.startswith(('j', 'call', 'ret', 'loop')):
            problems.append('flow')
        if bool(indirect) != (flow in (1, 2) and '*' in text):
            problems.append('indirect')
        if problems:
            bad += 1
            if bad <= 20:
                print('%s-bit %s: %s (%s)' % (mode, records[at:at + 16].hex(' '), ', '.join(problems), text))
    print('%s-bit: %d of %d samples decoded, %d disagree with objdump' % (mode, decoded, count, bad))
    return bad == 0


def main():
    count = int(sys.argv[1]) if len(sys.argv) > 1 else 200000
    seed = int(sys.argv[2]) if len(sys.argv) > 2 else 1
    with tempfile.TemporaryDirectory() as work:
        subprocess.run(['g++', '-std=c++17', '-O1', '-I', ROOT, os.path.join(ROOT, 'tools/decodercheck/decoder_lengths.cpp'),
                        os.path.join(ROOT, 'skin/X86Decoder.cpp'), '-o', os.path.join(work, 'decoder_lengths')],
                       check=True)
        ok = check('32', count, seed, work) & check('64', count, seed + 1, work)
    sys.exit(0 if ok else 1)


if __name__ == '__main__':
    main()
