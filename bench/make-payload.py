#!/usr/bin/env python3
"""make-payload.py DIR: a deterministic reference payload of about 300 MB:
large incompressible files, compressible binaries and text, and about 9,000
small files in nested folders."""
import os
import random
import sys

root = sys.argv[1]
rng = random.Random(20261208)


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


# Incompressible: 4 x 30 MB.
for i in range(4):
    write(os.path.join(root, "media", f"disk{i}.img"), rng.randbytes(30 * 1024 * 1024))

# Compressible binaries: 10 x 10 MB of repeated records with some noise.
for i in range(10):
    record = rng.randbytes(4096)
    chunks = []
    for _ in range(10 * 256):
        r = bytearray(record)
        for _ in range(64):
            r[rng.randrange(4096)] = rng.randrange(256)
        chunks.append(bytes(r))
    write(os.path.join(root, "bin", f"module{i}.dll"), b"".join(chunks))

# Text: 4 x 10 MB of words.
words = [w.encode() if isinstance(w, str) else bytes(w) for w in ["".join(rng.choice("abcdefghijklmnopqrstuvwxyz") for _ in range(rng.randint(2, 10))) for _ in range(5000)]]
for i in range(4):
    out = bytearray()
    while len(out) < 10 * 1024 * 1024:
        out += b" ".join(rng.choice(words) for _ in range(12)) + b"\n"
    write(os.path.join(root, "docs", f"manual{i}.txt"), bytes(out))

# Small files: 9,000 in 3 levels of folders, 200 B to 8 KB.
n = 0
for a in range(15):
    for b in range(20):
        for c in range(30):
            size = rng.randint(200, 8192)
            data = (b"".join(rng.choice(words) + b" " for _ in range(size // 6)))[:size]
            write(os.path.join(root, "res", f"pack{a:02}", f"group{b:02}", f"item{c:02}.dat"), data)
            n += 1
print(f"make-payload: {n} small files under {root}")
