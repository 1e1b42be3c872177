#!/usr/bin/env python3
"""Expected WEP keys for test_encodings.cpp, computed apart from the console.

Run it and copy its lines into the test table:  python3 wep_keys_reference.py
Each character counts with its Windows-1252 code ("?" when it has none); the
four accumulators are XORed by position modulo 4 and make the seed, low
byte first; each step is X = (X * 214013 + 2531011) mod 2**31 and gives the
byte (X // 65536) % 256; twenty bytes, five per key, two upper-case hex
digits each.
"""

CASES = [
    ("empty", ""),
    ("block written twice", "WXYZWXYZ"),
    ("A3 of 128 or more", "abc\u00e9"),
    ("Latin-1 above 127", "Gr\u00fc\u00dfe aus K\u00f6ln"),
    ("long", "correct horse battery staple " * 20),
    ("euro sign", "\u20acuro"),
    ("curly quote", "it\u2019s"),
    ("outside the code page", "\u0100x"),
]


def seed(phrase):
    codes = phrase.encode("cp1252", errors="replace")  # "?" outside the code page
    acc = [0, 0, 0, 0]
    for position, code in enumerate(codes):
        acc[position % 4] ^= code
    return acc[0] + 256 * acc[1] + 65536 * acc[2] + 16777216 * acc[3]


def keys(phrase):
    x = seed(phrase)
    stream = []
    for _ in range(20):
        x = (x * 214013 + 2531011) % 2147483648
        stream.append("%02X" % ((x // 65536) % 256))
    return ["".join(stream[k * 5:(k + 1) * 5]) for k in range(4)]


if __name__ == "__main__":
    for name, phrase in CASES:
        print("%-20s seed %08X  keys %s" % (name, seed(phrase), " ".join(keys(phrase))))
