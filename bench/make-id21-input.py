#!/usr/bin/env python3
"""Writes the benchmark input: type-3 records of 64 data bytes covering the
whole id-21 image (0 to 0x40FFFF), 66,560 lines, CR LF line ends. The bytes
come from SHA-256 in counter mode, so every run writes the same file."""
import hashlib
import sys

TOP = 0x40FFFF
BYTES_PER_LINE = 64


def image_bytes():
    blocks = (hashlib.sha256(b"tessivar-id21-%d" % i).digest() for i in range((TOP + 1) // 32))
    return b"".join(blocks)


def line(address, data):
    count = 4 + len(data) + 1  # address, data and checksum bytes
    body = bytes([count]) + address.to_bytes(4, "big") + data
    checksum = 255 - sum(body) % 256
    return "S3%s%02X\r\n" % (body.hex().upper(), checksum)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make-id21-input.py OUTPUT")
    image = image_bytes()
    with open(sys.argv[1], "w", newline="") as output:
        for address in range(0, TOP + 1, BYTES_PER_LINE):
            output.write(line(address, image[address:address + BYTES_PER_LINE]))


if __name__ == "__main__":
    main()
