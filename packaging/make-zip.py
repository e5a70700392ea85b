#!/usr/bin/env python3
"""Makes the release archive: the two programs, the help page and the README as plain text.

The same inputs give the same bytes: every entry has the time SOURCE_DATE_EPOCH names, the
same attributes and the same place in the archive (names sorted).
"""
import argparse
import os
import re
import sys
import time
import zipfile

# The oldest time a zip entry can hold.
ZIP_EPOCH = 315532800


def plain_text(markdown):
    """The README as Notepad shows it best: no markup around code and links, CR LF lines."""
    lines = []
    in_code = False
    for line in markdown.splitlines():
        if line.startswith("```"):
            in_code = not in_code
            continue
        if in_code:
            lines.append("    " + line if line else "")
            continue
        line = re.sub(r"\[([^\]]+)\]\(#[^)]*\)", r"\1", line)
        line = re.sub(r"\[([^\]]+)\]\(([^)]+)\)", r"\1 (\2)", line)
        lines.append(line.replace("**", ""))
    # A byte-order mark, so that every Notepad reads the text as UTF-8.
    return ("\ufeff" + "\r\n".join(lines) + "\r\n").encode("utf-8")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--source", required=True, help="the source tree")
    parser.add_argument("--bin", required=True, help="the folder holding the two programs")
    parser.add_argument("--output", required=True)
    args = parser.parse_args()

    epoch = max(int(os.environ.get("SOURCE_DATE_EPOCH", "0")), ZIP_EPOCH)
    entries = {}
    for name in ("quillmoor.exe", "quillmoor-cli.exe"):
        with open(os.path.join(args.bin, name), "rb") as f:
            entries[name] = f.read()
    with open(os.path.join(args.source, "resources", "Help.htm"), "rb") as f:
        entries["Help.htm"] = f.read()
    with open(os.path.join(args.source, "README.md"), encoding="utf-8") as f:
        entries["README.txt"] = plain_text(f.read())
    license_file = os.path.join(args.source, "LICENSE")
    if os.path.exists(license_file):
        with open(license_file, encoding="utf-8") as f:
            entries["LICENSE.txt"] = plain_text(f.read())

    with zipfile.ZipFile(args.output, "w") as archive:
        for name in sorted(entries):
            info = zipfile.ZipInfo(name, date_time=time.gmtime(epoch)[:6])
            info.compress_type = zipfile.ZIP_DEFLATED
            # Made on "MS-DOS", plain archive files: the same whichever system zips them.
            info.create_system = 0
            info.external_attr = 0x20
            archive.writestr(info, entries[name], compresslevel=9)


if __name__ == "__main__":
    sys.exit(main())
