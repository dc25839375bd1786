#!/usr/bin/env python3
"""Whether two enhanced metafiles hold the same records: "emf_same.py A.emf B.emf", exit 0 when
they do. Byte for byte, except the part of a font record (EMR_EXTCREATEFONTINDIRECTW) past its
LOGFONTW: Wine writes memory it never set there, so two plays of one list differ in it."""
import struct
import sys

EMR_EXTCREATEFONTINDIRECTW = 82
FONT_KEPT = 12 + 92  # type, size, handle index, then the LOGFONTW


def records(path):
    data = open(path, "rb").read()
    offset = 0
    while offset + 8 <= len(data):
        kind, size = struct.unpack_from("<II", data, offset)
        if size < 8:
            break
        record = data[offset:offset + size]
        yield record[:FONT_KEPT] if kind == EMR_EXTCREATEFONTINDIRECTW else record
        offset += size
    yield data[offset:]


def main():
    first, second = list(records(sys.argv[1])), list(records(sys.argv[2]))
    for number, (a, b) in enumerate(zip(first, second)):
        if a != b:
            print(f"record {number} differs")
            return 1
    if len(first) != len(second):
        print(f"{len(first)} records against {len(second)}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
