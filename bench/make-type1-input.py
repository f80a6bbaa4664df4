#!/usr/bin/env python3
"""Writes a 100,000-line type-1 application file and its command file for
target 22. Type-1 records address only 64 KiB, so at most 65,536 lines can
carry data without overlapping: one byte each covers the whole image, and
the other 34,464 lines are one-byte header records, which preparation reads
and checks like any other line but places nowhere. Deterministic."""
import sys

LINES = 100_000
IMAGE = 0x10000


def line(kind, address, data):
    body = bytes([2 + len(data) + 1]) + address.to_bytes(2, "big") + data
    return "S%d%s%02X\r\n" % (kind, body.hex().upper(), 255 - sum(body) % 256)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make-type1-input.py OUTPUT.s19")
    output = sys.argv[1]
    headers = LINES - IMAGE
    with open(output, "w", newline="") as records:
        for address in range(IMAGE):
            records.write(line(1, address, bytes([(address * 7 + 3) & 0xFF])))
            if address < headers:
                records.write(line(0, 0, bytes([address & 0xFF])))
    with open(output.rsplit(".", 1)[0] + ".cmd", "w", newline="") as commands:
        commands.write("16\r\nFF\r\n1,0,0,E\r\n")


if __name__ == "__main__":
    main()
