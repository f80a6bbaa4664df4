#!/usr/bin/env python3
"""Writes demo-unit.s19 and demo-unit.cmd: a small application for a board
with target id 22 (0x16), made up for the demo: 6 KiB of code from 0x4000,
a table of fill bytes in the middle (never sent) and the reset vectors at
0xFFF0. The boot block below 0x4000 is protected; two sectors are erased."""
import pathlib
import random

here = pathlib.Path(__file__).resolve().parent


def record(kind, address, data):
    body = bytes([len(data) + 3, address >> 8, address & 0xFF]) + data
    checksum = 0xFF - (sum(body) & 0xFF)
    return f"S{kind}{body.hex().upper()}{checksum:02X}\r\n"


rng = random.Random(22)
code = bytearray(rng.randrange(256) for _ in range(6144))
code[0x0800:0x0A00] = b"\xFF" * 0x200
lines = [record(0, 0, b"demo-unit")]
for offset in range(0, len(code), 16):
    lines.append(record(1, 0x4000 + offset, bytes(code[offset:offset + 16])))
lines.append(record(1, 0xFFF0, bytes(range(0x40, 0x50))))
lines.append(record(9, 0x4000, b""))
(here / "demo-unit.s19").write_text("".join(lines), newline="")
(here / "demo-unit.cmd").write_text("16\r\nFF\r\n0,0,3FFF,R\r\n1,4000,7FFF,E\r\n2,8000,FFFF,E\r\n",
                                    newline="")
