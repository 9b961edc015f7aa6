#!/usr/bin/env python3
"""Archives for the zlibwapi.dll and uz.exe tests: a real APK packed by aapt, ordinary ZIPs written
by Python's zipfile, and hostile ones laid out byte by byte."""
import argparse
import pathlib
import shutil
import struct
import subprocess
import tempfile
import warnings
import zipfile
import zlib


def png(width, height):
    """An RGBA PNG with a diagonal gradient."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    rows = b"".join(b"\0" + bytes(v for x in range(width) for v in (x * 8, y * 8, 128, 255))
                    for y in range(height))
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b"")


def aapt_apk(out, aapt, framework):
    with tempfile.TemporaryDirectory() as work:
        root = pathlib.Path(work)
        (root / "res/mipmap-mdpi").mkdir(parents=True)
        (root / "res/mipmap-mdpi/ic_launcher.png").write_bytes(png(32, 32))
        (root / "AndroidManifest.xml").write_text(
            '<?xml version="1.0" encoding="utf-8"?>\n'
            '<manifest xmlns:android="http://schemas.android.com/apk/res/android" package="org.fennlow.test">\n'
            '  <application android:label="Test" android:icon="@mipmap/ic_launcher"/>\n'
            '</manifest>\n')
        subprocess.run([aapt, "package", "-f", "-M", str(root / "AndroidManifest.xml"), "-S", str(root / "res"),
                        "-I", framework, "-F", str(out)], check=True, stdout=subprocess.DEVNULL)
        # This aapt files the icon under mipmap-mdpi-v4 (stored, re-encoded); add it under the plain
        # folder as well (deflated), the path the UnZip command line is tested with.
        subprocess.run([aapt, "add", str(out), "res/mipmap-mdpi/ic_launcher.png"], cwd=root, check=True,
                       stdout=subprocess.DEVNULL)
    with zipfile.ZipFile(out) as apk:
        return apk.read("res/mipmap-mdpi/ic_launcher.png"), apk.read("res/mipmap-mdpi-v4/ic_launcher.png")


def stored_bytes():
    return bytes(i % 251 for i in range(1000))


def deflated_bytes():
    return b"fennlow " * 12500


def entries_zip(out):
    """Entries of every kind the in-memory reader meets; the tests know the same contents."""
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")  # the duplicate name is the point
        with zipfile.ZipFile(out, "w") as z:
            z.writestr(zipfile.ZipInfo("stored.bin"), stored_bytes(), zipfile.ZIP_STORED)
            z.writestr(zipfile.ZipInfo("deflated.bin"), deflated_bytes(), zipfile.ZIP_DEFLATED)
            z.writestr(zipfile.ZipInfo("empty.png"), b"", zipfile.ZIP_STORED)
            z.writestr(zipfile.ZipInfo("dup.png"), b"first copy", zipfile.ZIP_DEFLATED)
            z.writestr(zipfile.ZipInfo("dup.png"), b"second copy", zipfile.ZIP_DEFLATED)
            z.writestr(zipfile.ZipInfo("n" * 300), b"long name", zipfile.ZIP_STORED)


def names_zip(out, icon):
    """Entry names that meet the command interpreter and UnZip's own patterns."""
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("res/mipmap-mdpi/ic_launcher.png", icon)
        z.writestr("root.png", b"root entry")
        z.writestr("res/a&b.png", b"ampersand")
        z.writestr("res/with space.png", b"space")
        z.writestr("res/icon[1].png", b"brackets")
        z.writestr("res/icon1.png", b"plain one")
        z.writestr("../../evil.png", b"climbing")


class RawZip:
    """Writes local headers, central records and end records exactly as told, lies included."""

    def __init__(self):
        self.body = bytearray()
        self.central = bytearray()
        self.count = 0

    def add(self, name, data, method=0, crc=None, usize=None, offset=None, central_extra=b""):
        raw = data
        if method == 8:
            packer = zlib.compressobj(9, zlib.DEFLATED, -15)
            raw = packer.compress(data) + packer.flush()
        crc = zlib.crc32(data) if crc is None else crc
        usize = len(data) if usize is None else usize
        name = name.encode()
        here = len(self.body)
        self.body += struct.pack("<IHHHHHIIIHH", 0x04034B50, 20, 0, method, 0, 0x21, crc, len(raw), usize,
                                 len(name), 0) + name + raw
        self.central += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 20, 20, 0, method, 0, 0x21, crc,
                                    len(raw), usize, len(name), len(central_extra), 0, 0, 0, 0,
                                    here if offset is None else offset) + name + central_extra
        self.count += 1

    def bytes(self, count=None, zip64_end=None):
        count = self.count if count is None else count
        start = len(self.body)
        out = bytes(self.body) + bytes(self.central)
        if zip64_end is not None:
            entries, cd_offset = zip64_end
            end64 = len(out)
            out += struct.pack("<IQHHIIQQQQ", 0x06064B50, 44, 45, 45, 0, 0, entries, entries,
                               len(self.central), cd_offset)
            out += struct.pack("<IIQI", 0x07064B50, 0, end64, 1)
            return out + struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, 0xFFFF, 0xFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0)
        return out + struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, count, count, len(self.central), start, 0)


def hostile(out_dir):
    crc = RawZip()
    crc.add("bad-deflated.png", deflated_bytes(), method=8, crc=zlib.crc32(deflated_bytes()) ^ 0xFFFFFFFF)
    crc.add("bad-stored.bin", stored_bytes(), crc=zlib.crc32(stored_bytes()) ^ 0xFFFFFFFF)
    (out_dir / "crc.zip").write_bytes(crc.bytes())

    absurd = RawZip()
    absurd.add("big-stored.bin", stored_bytes(), usize=0x7FFFFFF0)
    absurd.add("big-deflated.bin", deflated_bytes(), method=8, usize=0xFFFFFFF0)
    absurd.add("small-deflated.bin", deflated_bytes(), method=8, usize=10)
    (out_dir / "absurd.zip").write_bytes(absurd.bytes())

    # A ZIP64 extra field moving the first local header a terabyte away; the second entry is sound.
    far = RawZip()
    far.add("far.bin", stored_bytes(), offset=0xFFFFFFFF, central_extra=struct.pack("<HHQ", 1, 8, 1 << 40))
    far.add("near.bin", stored_bytes())
    (out_dir / "zip64-offset.zip").write_bytes(far.bytes())

    # ZIP64 end records: a central directory a terabyte away, and four billion entries.
    cd_far = RawZip()
    cd_far.add("a.bin", b"a")
    (out_dir / "zip64-directory.zip").write_bytes(cd_far.bytes(zip64_end=(1, 1 << 40)))
    many = RawZip()
    many.add("a.bin", b"a")
    (out_dir / "zip64-count.zip").write_bytes(many.bytes(zip64_end=(1 << 32 | 5, 0)))

    # An end record that claims 60000 entries for one.
    liar = RawZip()
    liar.add("a.bin", b"a")
    (out_dir / "count-lie.zip").write_bytes(liar.bytes(count=60000))

    (out_dir / "empty.zip").write_bytes(RawZip().bytes())


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--out", required=True)
    parser.add_argument("--aapt", required=True)
    parser.add_argument("--framework", required=True)
    args = parser.parse_args()
    out_dir = pathlib.Path(args.out)
    shutil.rmtree(out_dir, ignore_errors=True)
    out_dir.mkdir(parents=True)
    icon, packed_icon = aapt_apk(out_dir / "icon.apk", args.aapt, args.framework)
    (out_dir / "icon-expected.png").write_bytes(icon)
    (out_dir / "icon-v4-expected.png").write_bytes(packed_icon)
    entries_zip(out_dir / "entries.zip")
    names_zip(out_dir / "names.zip", icon)
    hostile(out_dir)


if __name__ == "__main__":
    main()
