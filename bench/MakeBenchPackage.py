#!/usr/bin/env python3
"""Assembles the files of a driver-package-sized cabinet for the extraction
benchmark, laid out like the vendor package: for each architecture devcon,
a driver library and a co-installer, plus the INF and a catalog at the root.

usage: MakeBenchPackage.py <folder> <arch>=<devcon.exe> <arch>=<devcon.exe> <Tavrin.inf>

devcon is the real program of this build. The other files are made from
pseudo-random bytes with fixed seeds, so that every build packs the same
cabinet and it does not compress to nothing: the co-installers and the catalog
(compressed payload and certificates in the real package) not at all, the
driver libraries about as well as machine code.
"""

import os
import random
import shutil
import sys

DRIVER_BYTES = 256 * 1024
COINSTALLER_BYTES = 1536 * 1024
CATALOG_BYTES = 12 * 1024
# Byte values frequent in x86 code; a stream drawn from them deflates to about half.
CODE_ALPHABET = bytes([0x00, 0x8B, 0x89, 0x48, 0xFF, 0xE8, 0x0F, 0x85, 0x74, 0x24,
                       0x45, 0x83, 0xC0, 0x4C, 0x01, 0xC3])


def uniform(seed, size):
    return random.Random(seed).randbytes(size)


def code_like(seed, size):
    table = bytes(CODE_ALPHABET[value % len(CODE_ALPHABET)] for value in range(256))
    return uniform(seed, size).translate(table)


def write(folder, entry, data):
    path = os.path.join(folder, *entry.split("/"))
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as file:
        file.write(data)


def main(folder, devcons, inf):
    for seed, (arch, devcon) in enumerate(sorted(spec.split("=", 1) for spec in devcons)):
        os.makedirs(os.path.join(folder, arch), exist_ok=True)
        shutil.copyfile(devcon, os.path.join(folder, arch, "devcon.exe"))
        write(folder, arch + "/TavrinPort.dll", code_like(2 * seed + 1, DRIVER_BYTES))
        write(folder, arch + "/wudfupdate_01009.dll", uniform(2 * seed + 2, COINSTALLER_BYTES))
    shutil.copyfile(inf, os.path.join(folder, "Tavrin.inf"))
    write(folder, "Tavrin.cat", uniform(0, CATALOG_BYTES))


if __name__ == "__main__":
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2:4], sys.argv[4])
