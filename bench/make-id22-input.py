#!/usr/bin/env python3
"""Writes an application file for target 22 and its command file: KIB KiB
of data from 0x4000 in type-1 records of 16 bytes, the boot block below it
protected and one sector erased. An upload sends KIB * 128 records of 8
bytes, about 2.7 s on the line per KiB. The bytes come from SHA-256 in
counter mode, so every run writes the same file.
usage: make-id22-input.py OUTPUT.s19 KIB (1 to 48)"""
import hashlib
import sys

START = 0x4000


def line(kind, address, data):
    body = bytes([2 + len(data) + 1]) + address.to_bytes(2, "big") + data
    return "S%d%s%02X\r\n" % (kind, body.hex().upper(), 255 - sum(body) % 256)


def main():
    if len(sys.argv) != 3 or not 1 <= int(sys.argv[2]) <= 48:
        sys.exit("usage: make-id22-input.py OUTPUT.s19 KIB (1 to 48)")
    output, size = sys.argv[1], int(sys.argv[2]) * 1024
    data = b"".join(hashlib.sha256(b"tessivar-id22-%d" % i).digest() for i in range(size // 32))
    with open(output, "w", newline="") as records:
        for offset in range(0, size, 16):
            records.write(line(1, START + offset, data[offset:offset + 16]))
        records.write(line(9, START, b""))
    with open(output.rsplit(".", 1)[0] + ".cmd", "w", newline="") as commands:
        commands.write("16\r\nFF\r\n0,0,3FFF,R\r\n1,4000,FFFF,E\r\n")


if __name__ == "__main__":
    main()
