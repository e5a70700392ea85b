#!/usr/bin/env python3
"""Builds the Quillmoor MSI with wixl so that the same inputs give the same bytes.

wixl stamps the package with the time it ran and a random package code (the summary
information's revision number) and ignores SOURCE_DATE_EPOCH; the cabinet takes the files'
modification times. So the files are staged with the epoch as their time, and the summary
information is rewritten in place afterwards: its dates become the epoch and its package code
one derived from the inputs, which still changes whenever the package does.
"""
import argparse
import hashlib
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import uuid

# Names the product and package codes below; changing it changes every code derived from it.
CODE_NAMESPACE = uuid.UUID("7ad5a817-14f1-45ac-8819-31a3564f37e8")
PROGRAMS = ("quillmoor.exe", "quillmoor-cli.exe")
SUMMARY_STREAM = "\x05SummaryInformation"
PID_REVISION, PID_CREATED, PID_SAVED = 9, 12, 13
VT_LPSTR, VT_FILETIME = 30, 64
FREE_SECTOR, END_OF_CHAIN = 0xFFFFFFFF, 0xFFFFFFFE


def source_constant(path, name):
    """The text of `inline constexpr wchar_t NAME[] = L"...";` in a C++ header."""
    with open(path, encoding="utf-8") as f:
        match = re.search(r"\b" + name + r'\[\]\s*=\s*L"([^"\\]*)"', f.read())
    if not match:
        sys.exit(f"make-msi: {name} not found in {path}")
    return match.group(1)


class CompoundFile:
    """Just enough of the compound file format to overwrite a stream's bytes in place."""

    def __init__(self, data):
        self.data = data
        self.shift = 1 << struct.unpack_from("<H", data, 0x1E)[0]
        self.mini = 1 << struct.unpack_from("<H", data, 0x20)[0]
        fat_count, first_dir = struct.unpack_from("<II", data, 0x2C)
        self.cutoff, first_minifat = struct.unpack_from("<II", data, 0x38)
        difat_next, difat_count = struct.unpack_from("<II", data, 0x44)
        fat_sectors = list(struct.unpack_from("<109I", data, 0x4C))
        per_sector = self.shift // 4
        for _ in range(difat_count):
            entries = struct.unpack_from(f"<{per_sector}I", data, self.offset(difat_next))
            fat_sectors += entries[:-1]
            difat_next = entries[-1]
        self.fat = []
        for sector in fat_sectors[:fat_count]:
            self.fat += struct.unpack_from(f"<{per_sector}I", data, self.offset(sector))
        self.minifat = []
        for sector in self.chain(first_minifat):
            self.minifat += struct.unpack_from(f"<{per_sector}I", data, self.offset(sector))
        self.entries = {}
        self.root = None
        for sector in self.chain(first_dir):
            for i in range(self.shift // 128):
                entry = self.offset(sector) + i * 128
                name_length, kind = struct.unpack_from("<HB", data, entry + 64)
                name = data[entry:entry + max(name_length - 2, 0)].decode("utf-16-le")
                start, size = struct.unpack_from("<IQ", data, entry + 116)
                if kind == 5:
                    self.root = (start, size)
                elif kind == 2:
                    self.entries[name] = (start, size)

    def offset(self, sector):
        return (sector + 1) * self.shift

    def chain(self, sector, table=None):
        table = self.fat if table is None else table
        sectors = []
        while sector not in (END_OF_CHAIN, FREE_SECTOR):
            sectors.append(sector)
            sector = table[sector]
        return sectors

    def stream_offsets(self, name):
        """The file offset of every byte of the stream."""
        start, size = self.entries[name]
        if size >= self.cutoff:
            offsets = [self.offset(s) + i for s in self.chain(start) for i in range(self.shift)]
        else:
            container = [self.offset(s) + i for s in self.chain(self.root[0]) for i in range(self.shift)]
            offsets = [container[s * self.mini + i] for s in self.chain(start, self.minifat) for i in range(self.mini)]
        return offsets[:size]

    def read(self, name):
        return bytes(self.data[o] for o in self.stream_offsets(name))

    def write(self, name, content):
        offsets = self.stream_offsets(name)
        assert len(content) == len(offsets), "a stream keeps its size"
        for o, byte in zip(offsets, content):
            self.data[o] = byte


def fixed_summary(stream, package_code, epoch):
    """The summary information with the given package code and both dates at the epoch."""
    out = bytearray(stream)
    section = struct.unpack_from("<I", out, 44)[0]
    count = struct.unpack_from("<I", out, section + 4)[0]
    seen = set()
    for i in range(count):
        pid, at = struct.unpack_from("<II", out, section + 8 + i * 8)
        at += section
        kind = struct.unpack_from("<I", out, at)[0]
        if pid in (PID_CREATED, PID_SAVED) and kind == VT_FILETIME:
            # 100-nanosecond steps since 1601-01-01.
            struct.pack_into("<Q", out, at + 4, (epoch + 11644473600) * 10_000_000)
            seen.add(pid)
        elif pid == PID_REVISION and kind == VT_LPSTR:
            text = ("{" + str(package_code).upper() + "}").encode("ascii") + b"\0"
            length = struct.unpack_from("<I", out, at + 4)[0]
            if length != len(text):
                sys.exit("make-msi: wixl wrote a package code of an unexpected length")
            out[at + 8:at + 8 + length] = text
            seen.add(pid)
    if seen != {PID_REVISION, PID_CREATED, PID_SAVED}:
        sys.exit("make-msi: the summary information lacks a date or the package code")
    return bytes(out)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--source", required=True, help="the source tree")
    parser.add_argument("--bin", required=True, help="the folder holding " + " and ".join(PROGRAMS))
    parser.add_argument("--version", required=True)
    parser.add_argument("--output", required=True)
    args = parser.parse_args()

    epoch = os.environ.get("SOURCE_DATE_EPOCH")
    if epoch is None:
        epoch = subprocess.run(["git", "-C", args.source, "log", "-1", "--format=%ct"],
                               capture_output=True, text=True).stdout.strip() or "0"
    epoch = int(epoch)
    wxs = os.path.join(args.source, "packaging", "quillmoor.wxs")
    resources = os.path.join(args.source, "resources")
    maker = source_constant(os.path.join(args.source, "launch", "AboutTexts.h"), "kMakerName")
    help_link = source_constant(os.path.join(args.source, "launch", "SystemInfo.h"), "kHomePageAddress")

    with tempfile.TemporaryDirectory() as stage:
        digest = hashlib.sha256(args.version.encode())
        sources = [os.path.join(args.bin, name) for name in PROGRAMS]
        sources += [os.path.join(resources, name) for name in ("Help.htm", "quillmoor.ico")]
        for source in sources:
            name = os.path.basename(source)
            shutil.copyfile(source, os.path.join(stage, name))
            os.utime(os.path.join(stage, name), (epoch, epoch))
            with open(source, "rb") as f:
                digest.update(f.read())
        with open(wxs, "rb") as f:
            digest.update(f.read())
        # A version has one product code, so the next version's major upgrade replaces it.
        product_code = uuid.uuid5(CODE_NAMESPACE, "product " + args.version)
        defines = {"Version": args.version, "ProductCode": str(product_code), "Maker": maker, "HelpLink": help_link}
        digest.update(repr(sorted(defines.items())).encode())
        package_code = uuid.uuid5(CODE_NAMESPACE, "package " + digest.hexdigest())
        built = os.path.join(stage, "out.msi")
        shutil.copyfile(wxs, os.path.join(stage, "quillmoor.wxs"))
        # wixl takes sources relative to the .wxs and refuses absolute paths.
        command = ["wixl", "-a", "x64", "-o", "out.msi", "quillmoor.wxs"]
        for key, value in defines.items():
            command += ["-D", f"{key}={value}"]
        # The cabinet stores local times.
        result = subprocess.run(command, cwd=stage, env=dict(os.environ, TZ="UTC"), capture_output=True, text=True)
        if result.returncode != 0:
            sys.exit(f"make-msi: wixl failed:\n{result.stdout}{result.stderr}")
        with open(built, "rb") as f:
            package = CompoundFile(bytearray(f.read()))
        package.write(SUMMARY_STREAM, fixed_summary(package.read(SUMMARY_STREAM), package_code, epoch))
        with open(args.output, "wb") as f:
            f.write(package.data)


if __name__ == "__main__":
    main()
