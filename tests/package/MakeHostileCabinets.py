"""Cabinets whose second entry has a name that leads out of the destination.

    MakeHostileCabinets.py <folder>

gcab stores only plain relative names, so each cabinet is made with a
placeholder name of the same length that is then overwritten in place; the
entry records carry no checksum. Each cabinet holds good.txt, then the
hostile entry. The names stand in the test's table as well.
"""
import pathlib
import subprocess
import sys
import tempfile

HOSTILE = {
    "parent.cab": "..\\tavrin-hostile.txt",
    "parent-slash.cab": "../tavrin-hostile.txt",
    "inner-parent.cab": "sub\\..\\..\\tavrin-hostile.txt",
    "inner-parent-slash.cab": "sub/../../tavrin-hostile.txt",
    "far-parent.cab": "..\\..\\..\\tavrin-hostile.txt",
    "rooted.cab": "\\tavrin-hostile.txt",
    "rooted-slash.cab": "/tavrin-hostile.txt",
    "drive.cab": "C:\\tavrin-hostile.txt",
    "drive-relative.cab": "C:tavrin-hostile.txt",
    "stream.cab": "good.txt:tavrin-hostile",
    "parent-alone.cab": "..",
    "dots.cab": "...",
    "dots-blank.cab": ".. \\tavrin-hostile.txt",
    "device.cab": "NUL",
}


def main():
    out = pathlib.Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    for cabinet, name in HOSTILE.items():
        with tempfile.TemporaryDirectory() as work:
            work = pathlib.Path(work)
            placeholder = "x" * len(name)
            (work / "good.txt").write_bytes(b"good\n")
            (work / placeholder).write_bytes(b"hostile\n")
            target = out / cabinet
            subprocess.run(["gcab", "-c", "-z", str(target), "good.txt", placeholder], cwd=work, check=True)
            data = target.read_bytes()
            old = placeholder.encode() + b"\0"
            if data.count(old) != 1:
                sys.exit(f"{cabinet}: placeholder not found once")
            target.write_bytes(data.replace(old, name.encode() + b"\0"))


if __name__ == "__main__":
    main()
