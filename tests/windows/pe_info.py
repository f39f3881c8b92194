#!/usr/bin/env python3
"""Prints what a Windows executable carries, one fact a line, for executable_test.sh:
  subsystem N            (2: a window program, 3: a console one)
  dll NAME               each DLL it imports
  resource TYPE COUNT    its resources by type (3 icon, 14 icon group, 16 version, 24 manifest)
  icon WIDTHxHEIGHT      each picture of its first icon group (256 is stored as 0)
  manifest TEXT          its manifest on one line
  version KEY=VALUE      the strings of its version information"""
import struct
import sys


def main(path):
    data = open(path, "rb").read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    assert data[pe:pe + 4] == b"PE\0\0", "not a PE file"
    sections_count = struct.unpack_from("<H", data, pe + 6)[0]
    optional_size = struct.unpack_from("<H", data, pe + 20)[0]
    opt = pe + 24
    assert struct.unpack_from("<H", data, opt)[0] == 0x20B, "not a 64-bit executable"
    print("subsystem", struct.unpack_from("<H", data, opt + 68)[0])
    directories = opt + 112
    sections = []
    for i in range(sections_count):
        at = opt + optional_size + 40 * i
        vsize, vaddr, rsize, raddr = struct.unpack_from("<IIII", data, at + 8)
        sections.append((vaddr, max(vsize, rsize), raddr))

    def offset(rva):
        for vaddr, size, raddr in sections:
            if vaddr <= rva < vaddr + size:
                return rva - vaddr + raddr
        raise ValueError("address %x outside the sections" % rva)

    def cstring(at):
        return data[at:data.index(b"\0", at)].decode("ascii", "replace")

    imports_rva = struct.unpack_from("<I", data, directories + 8)[0]
    if imports_rva:
        at = offset(imports_rva)
        while True:
            name_rva = struct.unpack_from("<I", data, at + 12)[0]
            if name_rva == 0:
                break
            print("dll", cstring(offset(name_rva)))
            at += 20

    resources_rva = struct.unpack_from("<I", data, directories + 16)[0]
    if not resources_rva:
        return 0
    base = offset(resources_rva)

    def entries(at):
        named, ids = struct.unpack_from("<HH", data, at + 12)
        for i in range(named + ids):
            name, target = struct.unpack_from("<II", data, at + 16 + 8 * i)
            yield name, target

    def leaves(target):
        if target & 0x80000000:
            for _, sub in entries(base + (target & 0x7FFFFFFF)):
                yield from leaves(sub)
        else:
            rva, size = struct.unpack_from("<II", data, base + target)
            yield data[offset(rva):offset(rva) + size]

    found = {}
    for type_id, target in entries(base):
        found[type_id] = list(leaves(target))
        print("resource", type_id, len(found[type_id]))
    for group in found.get(14, [])[:1]:
        count = struct.unpack_from("<H", group, 4)[0]
        for i in range(count):
            w, h = struct.unpack_from("<BB", group, 6 + 14 * i)
            print("icon %dx%d" % (w or 256, h or 256))
    for manifest in found.get(24, []):
        print("manifest", " ".join(manifest.decode("utf-8").split()))
    for version in found.get(16, []):
        text = version.decode("utf-16-le", "replace")
        for key in ("CompanyName", "FileDescription", "FileVersion", "ProductName",
                    "ProductVersion", "OriginalFilename", "LegalCopyright"):
            at = text.find(key + "\0")
            if at >= 0:
                rest = text[at + len(key) + 1:].lstrip("\0")
                print("version %s=%s" % (key, rest[:rest.index("\0")]))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
