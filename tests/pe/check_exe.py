#!/usr/bin/env python3
"""Checks a built vexmora.exe before it ships.

    check_exe.py [--arch i386|amd64] path/to/vexmora.exe

Prints one line per check, "ok NAME" or "FAIL NAME: detail" (with indented
detail lines under some), then "N passed, M failed".  Exits 1 on any failure.

The PE file is parsed here directly (headers, section table, data
directories, import and delay-import tables, resource tree) so the check
needs nothing beyond Python's standard library.
"""

import argparse
import struct
import sys

ARCHES = {
    # --arch: (optional header magic, COFF machine, label)
    "i386": (0x10B, 0x014C, "PE32/i386"),
    "amd64": (0x20B, 0x8664, "PE32+/amd64"),
}

SUBSYSTEM_GUI = 2
SUBSYSTEM_NAMES = {1: "native", 2: "GUI", 3: "console", 9: "CE GUI", 10: "EFI application"}

DIR_IMPORT = 1
DIR_RESOURCE = 2
DIR_DELAY_IMPORT = 13

RT_ICON = 3
RT_GROUP_ICON = 14
RT_VERSION = 16

ICON_ID = 1  # the program loads its icon with MAKEINTRESOURCE(1)
ICON_SIZES = (48, 32, 16)
ICON_BPP = 32

FILE_VERSION = (1, 0, 0, 0)
PRODUCT_VERSION = (1, 0, 0, 0)
VFT_APP = 1

STRING_TABLE = "080403a8"  # Chinese (PRC), code page 936
STRING_TABLE_LANG, STRING_TABLE_CP = 0x0804, 936
REQUIRED_STRINGS = ("CompanyName", "FileDescription", "FileVersion", "InternalName",
                    "LegalCopyright", "OriginalFilename", "ProductName", "ProductVersion")

# DLLs every supported Windows has.  Anything else (a MinGW runtime DLL such
# as libstdc++-6, libgcc_s_dw2-1 or libwinpthread-1 in particular) would have
# to be shipped next to the program, and it is not.
SYSTEM_DLLS = {
    "advapi32.dll", "bcrypt.dll", "comctl32.dll", "comdlg32.dll", "crypt32.dll",
    "dbghelp.dll", "dwmapi.dll", "gdi32.dll", "gdiplus.dll", "imm32.dll",
    "iphlpapi.dll", "kernel32.dll", "mpr.dll", "msimg32.dll", "msvcrt.dll",
    "netapi32.dll", "ntdll.dll", "ole32.dll", "oleacc.dll", "oleaut32.dll",
    "psapi.dll", "rpcrt4.dll", "secur32.dll", "setupapi.dll", "shell32.dll",
    "shlwapi.dll", "user32.dll", "userenv.dll", "usp10.dll", "uxtheme.dll",
    "version.dll", "winhttp.dll", "wininet.dll", "winmm.dll", "winspool.drv",
    "ws2_32.dll", "wsock32.dll",
}
SYSTEM_DLL_PREFIXES = ("api-ms-win-", "ext-ms-win-")  # API set forwarders


class PEError(Exception):
    pass


class PE:
    def __init__(self, data):
        self.data = data
        if len(data) < 0x40 or data[:2] != b"MZ":
            raise PEError("no MZ header")
        (pe_off,) = struct.unpack_from("<I", data, 0x3C)
        if data[pe_off:pe_off + 4] != b"PE\0\0":
            raise PEError("no PE signature at 0x%x" % pe_off)
        (self.machine, nsect, _, _, _, opt_size, _) = struct.unpack_from("<HHIIIHH", data, pe_off + 4)
        opt = pe_off + 24
        (self.magic,) = struct.unpack_from("<H", data, opt)
        if self.magic == 0x10B:
            dirs_at = opt + 96
        elif self.magic == 0x20B:
            dirs_at = opt + 112
        else:
            raise PEError("unknown optional header magic 0x%x" % self.magic)
        (self.subsystem,) = struct.unpack_from("<H", data, opt + 68)
        (ndirs,) = struct.unpack_from("<I", data, dirs_at - 4)
        ndirs = min(ndirs, 16, (opt + opt_size - dirs_at) // 8)
        self.dirs = [struct.unpack_from("<II", data, dirs_at + 8 * i) for i in range(ndirs)]
        self.sections = []
        for i in range(nsect):
            at = opt + opt_size + 40 * i
            name = data[at:at + 8].rstrip(b"\0").decode("latin-1")
            vsize, va, rawsize, rawptr = struct.unpack_from("<IIII", data, at + 8)
            self.sections.append((name, va, vsize, rawptr, rawsize))

    def directory(self, index):
        if index >= len(self.dirs):
            return 0, 0
        return self.dirs[index]

    def offset(self, rva):
        for _, va, vsize, rawptr, rawsize in self.sections:
            if va <= rva < va + max(vsize, rawsize):
                if rva - va >= rawsize:
                    raise PEError("RVA 0x%x lies in uninitialised data" % rva)
                return rawptr + rva - va
        raise PEError("RVA 0x%x is in no section" % rva)

    def read(self, rva, size):
        at = self.offset(rva)
        if at + size > len(self.data):
            raise PEError("RVA 0x%x+%d runs past the end of the file" % (rva, size))
        return self.data[at:at + size]

    def cstring(self, rva):
        at = self.offset(rva)
        end = self.data.find(b"\0", at)
        if end < 0:
            raise PEError("unterminated string at RVA 0x%x" % rva)
        return self.data[at:end].decode("latin-1")

    def imports(self):
        """DLL names from the import table and the delay-import table."""
        names = []
        rva, size = self.directory(DIR_IMPORT)
        if rva:
            at = rva
            while True:
                desc = struct.unpack("<IIIII", self.read(at, 20))
                if desc == (0, 0, 0, 0, 0):
                    break
                names.append(self.cstring(desc[3]))
                at += 20
        rva, size = self.directory(DIR_DELAY_IMPORT)
        if rva:
            at = rva
            while True:
                desc = struct.unpack("<8I", self.read(at, 32))
                if not any(desc):
                    break
                name = desc[1]
                if not desc[0] & 1:  # old-style table holds VAs, not RVAs
                    name -= self.image_base()
                names.append(self.cstring(name) + " (delay-loaded)")
                at += 32
        return names

    def image_base(self):
        (pe_off,) = struct.unpack_from("<I", self.data, 0x3C)
        opt = pe_off + 24
        if self.magic == 0x10B:
            return struct.unpack_from("<I", self.data, opt + 28)[0]
        return struct.unpack_from("<Q", self.data, opt + 24)[0]

    def resources(self):
        """{(type, name, lang): bytes} for every leaf of the resource tree.

        Numeric IDs stay ints, named entries become strings."""
        root, size = self.directory(DIR_RESOURCE)
        found = {}
        if not root:
            return found

        def entry_id(raw):
            if raw & 0x80000000:
                at = root + (raw & 0x7FFFFFFF)
                (n,) = struct.unpack("<H", self.read(at, 2))
                return self.read(at + 2, 2 * n).decode("utf-16-le")
            return raw

        def walk(offset, path, seen):
            if offset in seen or len(path) > 2:
                raise PEError("malformed resource tree")
            seen = seen | {offset}
            head = self.read(root + offset, 16)
            named, ids = struct.unpack_from("<HH", head, 12)
            for i in range(named + ids):
                raw_id, target = struct.unpack("<II", self.read(root + offset + 16 + 8 * i, 8))
                key = path + (entry_id(raw_id),)
                if target & 0x80000000:
                    walk(target & 0x7FFFFFFF, key, seen)
                elif len(key) == 3:
                    data_rva, data_size, _, _ = struct.unpack("<IIII", self.read(root + target, 16))
                    found[key] = self.read(data_rva, data_size)
                else:
                    raise PEError("resource leaf at depth %d" % len(key))

        walk(0, (), frozenset())
        return found


def resources_of_type(resources, rtype):
    return {(name, lang): data for (t, name, lang), data in resources.items() if t == rtype}


# --- VERSIONINFO ---------------------------------------------------------

def parse_version_block(data, at=0):
    """One VS_VERSIONINFO-style node: (key, value bytes, type, children)."""
    length, value_len, vtype = struct.unpack_from("<HHH", data, at)
    if length < 6 or at + length > len(data):
        raise PEError("bad version block length %d at %d" % (length, at))
    end = at + length
    key_at = at + 6
    key_end = key_at
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
        if key_end >= end:
            raise PEError("unterminated version block key")
    key = data[key_at:key_end].decode("utf-16-le")
    pos = (key_end + 2 + 3) & ~3
    value_bytes = value_len * 2 if vtype == 1 else value_len  # text values count WCHARs
    value = data[pos:pos + value_bytes]
    pos = (pos + value_bytes + 3) & ~3
    children = []
    while pos < end:
        child = parse_version_block(data, pos)
        children.append(child[:4])
        pos = (pos + child[4] + 3) & ~3
    return key, value, vtype, children, length


def version_info(data):
    key, value, _, children, _ = parse_version_block(data)
    if key != "VS_VERSION_INFO":
        raise PEError("root key is %r" % key)
    if len(value) < 52:
        raise PEError("no VS_FIXEDFILEINFO")
    fixed = struct.unpack_from("<13I", value)
    if fixed[0] != 0xFEEF04BD:
        raise PEError("VS_FIXEDFILEINFO signature 0x%08x" % fixed[0])
    return fixed, children


def split_version(ms, ls):
    return (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)


def text_value(raw):
    return raw.decode("utf-16-le").split("\0", 1)[0]


# --- checks --------------------------------------------------------------
# Each check returns (ok, detail, extra lines).

def check_format(pe, arch):
    magic, machine, label = ARCHES[arch]
    if pe.magic != magic or pe.machine != machine:
        return False, "want %s (magic 0x%x, machine 0x%x), got magic 0x%x, machine 0x%x" % (
            label, magic, machine, pe.magic, pe.machine), []
    return True, "", []


def check_subsystem(pe, arch):
    if pe.subsystem != SUBSYSTEM_GUI:
        return False, "subsystem %d (%s), want 2 (GUI)" % (
            pe.subsystem, SUBSYSTEM_NAMES.get(pe.subsystem, "unknown")), []
    return True, "", []


def is_system_dll(name):
    name = name.split(" ", 1)[0].lower()
    return name in SYSTEM_DLLS or name.startswith(SYSTEM_DLL_PREFIXES)


def check_imports(pe, arch):
    names = pe.imports()
    lines = ["import %s" % n for n in names]
    if not names:
        return False, "no imports at all", lines
    foreign = [n for n in names if not is_system_dll(n)]
    if foreign:
        return False, "not shipped with Windows: %s" % ", ".join(foreign), lines
    return True, "", lines


def check_version(pe, arch):
    found = resources_of_type(pe.resources(), RT_VERSION)
    if not found:
        return False, "no VERSIONINFO resource", []
    if len(found) > 1:
        return False, "%d VERSIONINFO resources" % len(found), []
    fixed, _ = version_info(next(iter(found.values())))
    fv = split_version(fixed[2], fixed[3])
    pv = split_version(fixed[4], fixed[5])
    lines = ["file version %d.%d.%d.%d, product version %d.%d.%d.%d" % (fv + pv)]
    problems = []
    if fv != FILE_VERSION:
        problems.append("file version %d.%d.%d.%d, want %d.%d.%d.%d" % (fv + FILE_VERSION))
    if pv != PRODUCT_VERSION:
        problems.append("product version %d.%d.%d.%d, want %d.%d.%d.%d" % (pv + PRODUCT_VERSION))
    if fixed[9] != VFT_APP:
        problems.append("file type %d, want 1 (application)" % fixed[9])
    return not problems, "; ".join(problems), lines


def check_version_strings(pe, arch):
    """The string table the ANSI program reads: Chinese (PRC), code page 936.

    Windows keeps these strings as UTF-16 and hands them to an ANSI caller
    in its code page, so each must map to GBK.  Characters from U+0080 to
    U+00FF are what GBK bytes read as a Western code page turn into, which
    is how a resource compiler run with the wrong code page shows up."""
    found = resources_of_type(pe.resources(), RT_VERSION)
    if not found:
        return False, "no VERSIONINFO resource", []
    _, children = version_info(next(iter(found.values())))
    tables = {}
    translation = None
    for key, _, _, kids in children:
        if key == "StringFileInfo":
            for tkey, _, _, strings in kids:
                tables[tkey.lower()] = {k: text_value(v) for k, v, _, _ in strings}
        elif key == "VarFileInfo":
            for vkey, value, _, _ in kids:
                if vkey == "Translation" and len(value) >= 4:
                    translation = struct.unpack_from("<HH", value)
    lines = []
    problems = []
    if STRING_TABLE not in tables:
        return False, "no %s string table (found: %s)" % (
            STRING_TABLE, ", ".join(sorted(tables)) or "none"), lines
    strings = tables[STRING_TABLE]
    for k in sorted(strings):
        lines.append("%s = %s" % (k, strings[k].encode("unicode_escape").decode("ascii")
                                  if not strings[k].isascii() else strings[k]))
        try:
            gbk = strings[k].encode("gbk")
        except UnicodeEncodeError:
            problems.append("%s has characters outside GBK" % k)
            continue
        if not strings[k].isascii():
            lines[-1] += "  [GBK %s]" % gbk.hex(" ")
        if any(0x80 <= ord(c) <= 0xFF for c in strings[k]):
            problems.append("%s looks mis-decoded (U+0080..U+00FF present)" % k)
    missing = [k for k in REQUIRED_STRINGS if not strings.get(k)]
    if missing:
        problems.append("missing %s" % ", ".join(missing))
    for k in ("FileVersion", "ProductVersion"):
        if k in strings and strings[k] != "1.0.0.0":
            problems.append("%s is %r, want '1.0.0.0'" % (k, strings[k]))
    if translation != (STRING_TABLE_LANG, STRING_TABLE_CP):
        problems.append("Translation is %s, want 0x0804, 936" % (
            "0x%04x, %d" % translation if translation else "missing"))
    return not problems, "; ".join(problems), lines


def icon_image_size(data):
    """(width, height, bpp) of an RT_ICON image: a DIB or a PNG."""
    if data[:8] == b"\x89PNG\r\n\x1a\n":
        width, height, depth, colour = struct.unpack_from(">IIBB", data, 16)
        channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}.get(colour, 0)
        return width, height, depth * channels
    size, width, height, _, bpp = struct.unpack_from("<IiiHH", data)
    if size < 40:
        raise PEError("icon image header of %d bytes" % size)
    return width, height // 2, bpp  # the DIB height covers image and AND mask


def check_icon(pe, arch):
    resources = pe.resources()
    groups = resources_of_type(resources, RT_GROUP_ICON)
    if not groups:
        return False, "no icon group resource", []
    mine = {lang: data for (name, lang), data in groups.items() if name == ICON_ID}
    if not mine:
        return False, "no icon group with ID %d (found: %s)" % (
            ICON_ID, ", ".join(str(n) for n, _ in groups)), []
    data = next(iter(mine.values()))
    _, rtype, count = struct.unpack_from("<HHH", data)
    if rtype != 1:
        return False, "icon group type %d, want 1" % rtype, []
    icons = {name: d for (name, _), d in resources_of_type(resources, RT_ICON).items()}
    lines, problems, sizes = [], [], []
    for i in range(count):
        w, h, _, _, _, bpp, nbytes, icon_id = struct.unpack_from("<BBBBHHIH", data, 6 + 14 * i)
        w, h = w or 256, h or 256
        sizes.append(w)
        lines.append("icon %d: %dx%d, %d bpp, %d bytes" % (icon_id, w, h, bpp, nbytes))
        if w != h:
            problems.append("icon %d is %dx%d" % (icon_id, w, h))
        if bpp != ICON_BPP:
            problems.append("icon %d is %d bpp, want %d" % (icon_id, bpp, ICON_BPP))
        image = icons.get(icon_id)
        if image is None:
            problems.append("icon %d is listed but missing" % icon_id)
            continue
        actual = icon_image_size(image)
        if actual != (w, h, bpp):
            problems.append("icon %d image is %dx%d at %d bpp, the group says %dx%d at %d bpp"
                            % ((icon_id,) + actual + (w, h, bpp)))
    if sorted(sizes) != sorted(ICON_SIZES):
        problems.append("sizes %s, want exactly %s" % (
            ", ".join(map(str, sizes)) or "none", ", ".join(map(str, ICON_SIZES))))
    return not problems, "; ".join(problems), lines


CHECKS = (
    ("format", check_format),
    ("subsystem", check_subsystem),
    ("imports", check_imports),
    ("version-info", check_version),
    ("version-strings", check_version_strings),
    ("icon", check_icon),
)


def run(path, arch, out=sys.stdout):
    passed = failed = 0
    pe = None
    try:
        with open(path, "rb") as f:
            pe = PE(f.read())
        broken = None
    except (OSError, PEError, struct.error) as e:
        broken = "cannot read %s as a PE file: %s" % (path, e)
    for name, check in CHECKS:
        if pe is None:
            ok, detail, lines = False, broken, []
        else:
            try:
                ok, detail, lines = check(pe, arch)
            except (PEError, struct.error, IndexError, UnicodeDecodeError) as e:
                ok, detail, lines = False, "malformed: %s" % e, []
        if ok:
            passed += 1
            print("ok %s" % name, file=out)
        else:
            failed += 1
            print("FAIL %s: %s" % (name, detail), file=out)
        for line in lines:
            print("    %s" % line, file=out)
    print("%d passed, %d failed" % (passed, failed), file=out)
    return 1 if failed else 0


def main(argv=None):
    parser = argparse.ArgumentParser(description="Checks a built Windows executable.")
    parser.add_argument("exe")
    parser.add_argument("--arch", choices=sorted(ARCHES), default="i386")
    args = parser.parse_args(argv)
    return run(args.exe, args.arch)


if __name__ == "__main__":
    sys.exit(main())
