#!/usr/bin/env python3
"""Tests for check_exe.py on small programs built here with MinGW-w64,
and for the committed icon.

Every build case makes one executable from the real resource script (or a
broken variant of it) and states exactly which checks must fail; a good
build must pass them all.  Run: python3 tests/pe/test_check_exe.py
"""

import io
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True  # keep the source tree clean

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
RES = os.path.join(ROOT, "platform", "win32", "res")
sys.path.insert(0, HERE)

import check_exe  # noqa: E402

TRIPLES = {"i386": "i686-w64-mingw32", "amd64": "x86_64-w64-mingw32"}
ALL_CHECKS = {name for name, _ in check_exe.CHECKS}

# Uses the C++ library, so a build without -static imports its DLLs.
MAIN_CPP = r"""
#include <windows.h>
#include <string>
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    std::string title = "vexmora";
    HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(1));
    return icon && !title.empty() ? 0 : 1;
}
"""


def tools_missing():
    for triple in TRIPLES.values():
        for tool in ("g++", "windres"):
            if not shutil.which("%s-%s" % (triple, tool)):
                return "%s-%s not installed" % (triple, tool)
    return None


def read_rc():
    with open(os.path.join(RES, "vexmora.rc"), "rb") as f:
        return f.read()


def ico_without(size):
    """vexmora.ico with the image of the given size left out."""
    with open(os.path.join(RES, "vexmora.ico"), "rb") as f:
        data = f.read()
    _, _, count = struct.unpack_from("<HHH", data)
    entries = [struct.unpack_from("<BBBBHHII", data, 6 + 16 * i) for i in range(count)]
    kept = [e for e in entries if e[0] != size]
    out = bytearray(struct.pack("<HHH", 0, 1, len(kept)))
    offset = 6 + 16 * len(kept)
    images = b""
    for e in kept:
        image = data[e[7]:e[7] + e[6]]
        out += struct.pack("<BBBBHHII", *(e[:6] + (len(image), offset)))
        offset += len(image)
        images += image
    return bytes(out) + images


def ico_with_image_bpp(index, bpp):
    """vexmora.ico whose image at index has its own header say bpp, while
    the directory still says 32."""
    with open(os.path.join(RES, "vexmora.ico"), "rb") as f:
        data = bytearray(f.read())
    (offset,) = struct.unpack_from("<I", data, 6 + 16 * index + 12)
    struct.pack_into("<H", data, offset + 14, bpp)  # biBitCount
    return bytes(data)


def patch_machine(data, machine):
    """The same image with another COFF machine field."""
    (pe_off,) = struct.unpack_from("<I", data, 0x3C)
    out = bytearray(data)
    struct.pack_into("<H", out, pe_off + 4, machine)
    return bytes(out)


def rc_with(*edits):
    """The real resource script with (old, new) byte replacements."""
    def make():
        rc = read_rc()
        for old, new in edits:
            assert old in rc, old
            rc = rc.replace(old, new)
        return rc
    return make


STATIC_GUI = ["-static", "-mwindows"]
NO_PRAGMA = (b"#pragma code_page(936)", b"")


def case(name, failing, build="i386", check=None, rc=read_rc, extra=None,
         flags=STATIC_GUI, patch=None):
    """One program to build (rc None: no resources) and the checks that must
    fail on it; extra holds files to put next to the resource script and
    patch rewrites the linked file."""
    return dict(name=name, failing=set(failing), build=build, check=check or build,
                rc=rc, extra=extra or {}, flags=flags, patch=patch)


CASES = [
    case("good i686", []),
    case("good x86_64", [], build="amd64"),
    case("i686 checked as amd64", ["format"], check="amd64"),
    case("x86_64 checked as i386", ["format"], build="amd64", check="i386"),
    case("PE32 with an ARM machine field", ["format"],
         patch=lambda d: patch_machine(d, 0x01C4)),
    case("console subsystem", ["subsystem"], flags=["-static", "-mconsole"]),
    case("dynamic C++ runtime", ["imports"], flags=["-mwindows"]),
    case("dynamic C++ runtime x86_64", ["imports"], build="amd64", flags=["-mwindows"]),
    case("no resources", ["version-info", "version-strings", "icon"], rc=None),
    case("GBK read as the default code page", ["version-strings"], rc=rc_with(NO_PRAGMA)),
    # B0 D7 is GBK for one character; read as Windows-1252 it turns into two
    # characters that GBK also has, so only the mis-decoding rule sees it.
    # (The other Chinese text goes, as it would not map to GBK that way.)
    case("mis-decoded text that still maps to GBK", ["version-strings"],
         rc=rc_with(NO_PRAGMA, (b"Vexmora \xba\xb0\xbb\xb0\xc6\xf7", b"Vexmora \xb0\xd7"),
                    (b"\xb0\xe6\xc8\xa8\xcb\xf9\xd3\xd0 (C)", b"(C)"))),
    case("wrong file version", ["version-info"],
         rc=rc_with((b"FILEVERSION     1,0,0,0", b"FILEVERSION     1,0,0,1"))),
    case("wrong product version", ["version-info"],
         rc=rc_with((b"PRODUCTVERSION  1,0,0,0", b"PRODUCTVERSION  2,0,0,0"))),
    case("not marked as an application", ["version-info"],
         rc=rc_with((b"FILETYPE        VFT_APP", b"FILETYPE        VFT_DLL"))),
    case("string table in another code page", ["version-strings"],
         rc=rc_with((b'"080403a8"', b'"040904b0"'))),
    case("version string missing", ["version-strings"],
         rc=rc_with((b'VALUE "CompanyName",      "Talquin"', b""))),
    case("version string disagreeing with the version", ["version-strings"],
         rc=rc_with((b'"ProductVersion",   "1.0.0.0"', b'"ProductVersion",   "1.0"'))),
    case("Translation in another code page", ["version-strings"],
         rc=rc_with((b"0x0804, 936", b"0x0804, 1200"))),
    case("icon without 16 px", ["icon"],
         rc=rc_with((b'"vexmora.ico"', b'"short.ico"')),
         extra={"short.ico": lambda: ico_without(16)}),
    case("icon image at 24 bpp", ["icon"],
         rc=rc_with((b'"vexmora.ico"', b'"odd.ico"')),
         extra={"odd.ico": lambda: ico_with_image_bpp(2, 24)}),
    case("icon under another ID", ["icon"],
         rc=rc_with((b'\n1 ICON "vexmora.ico"', b'\n7 ICON "vexmora.ico"'))),
]


def run_check(path, arch):
    out = io.StringIO()
    status = check_exe.run(path, arch, out)
    lines = out.getvalue().splitlines()
    failed = {l.split(":", 1)[0][5:] for l in lines if l.startswith("FAIL ")}
    passed = {l[3:] for l in lines if l.startswith("ok ")}
    return status, lines, passed, failed


@unittest.skipIf(tools_missing(), tools_missing())
class BuiltPrograms(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp(prefix="check_exe_test.")
        cls.objects = {}
        src = os.path.join(cls.tmp, "main.cpp")
        with open(src, "w") as f:
            f.write(MAIN_CPP)
        for arch, triple in TRIPLES.items():
            obj = os.path.join(cls.tmp, "main-%s.o" % arch)
            subprocess.run(["%s-g++" % triple, "-c", src, "-o", obj], check=True)
            cls.objects[arch] = obj

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.tmp, ignore_errors=True)

    def build(self, c):
        triple = TRIPLES[c["build"]]
        work = os.path.join(self.tmp, c["name"].replace(" ", "_"))
        os.makedirs(work)
        inputs = [self.objects[c["build"]]]
        if c["rc"] is not None:
            shutil.copy(os.path.join(RES, "vexmora.ico"), work)
            for fname, make in c["extra"].items():
                with open(os.path.join(work, fname), "wb") as f:
                    f.write(make())
            rc_path = os.path.join(work, "vexmora.rc")
            with open(rc_path, "wb") as f:
                f.write(c["rc"]())
            res = os.path.join(work, "vexmora.res.o")
            subprocess.run(["%s-windres" % triple, "-O", "coff", rc_path, res], check=True)
            inputs.append(res)
        exe = os.path.join(work, "vexmora.exe")
        subprocess.run(["%s-g++" % triple] + inputs + c["flags"] + ["-o", exe], check=True)
        if c["patch"]:
            with open(exe, "rb") as f:
                data = c["patch"](f.read())
            with open(exe, "wb") as f:
                f.write(data)
        return exe

    def test_cases(self):
        for c in CASES:
            with self.subTest(c["name"]):
                status, lines, passed, failed = run_check(self.build(c), c["check"])
                report = "\n".join(lines)
                self.assertEqual(failed, c["failing"], report)
                self.assertEqual(passed, ALL_CHECKS - c["failing"], report)
                self.assertEqual(status, 1 if c["failing"] else 0, report)
                self.assertEqual(lines[-1], "%d passed, %d failed" % (
                    len(ALL_CHECKS - c["failing"]), len(c["failing"])), report)

    def test_dynamic_build_names_the_runtime_dlls(self):
        exe = self.build(case("dynamic names", [], flags=["-mwindows"]))
        _, lines, _, _ = run_check(exe, "i386")
        fail = next(l for l in lines if l.startswith("FAIL imports"))
        self.assertIn("libstdc++-6.dll", fail)
        self.assertIn("libgcc_s_dw2-1.dll", fail)
        self.assertNotIn("KERNEL32", fail)
        self.assertIn("    import KERNEL32.dll", lines)

    def test_version_strings_are_gbk(self):
        exe = self.build(case("strings", []))
        with open(exe, "rb") as f:
            pe = check_exe.PE(f.read())
        data = next(iter(check_exe.resources_of_type(pe.resources(),
                                                     check_exe.RT_VERSION).values()))
        _, children = check_exe.version_info(data)
        table = {}
        for key, _, _, kids in children:
            if key == "StringFileInfo":
                for tkey, _, _, strings in kids:
                    table[tkey] = {k: check_exe.text_value(v) for k, v, _, _ in strings}
        strings = table["080403a8"]
        self.assertEqual(strings["FileDescription"].encode("gbk"),
                         b"Vexmora \xba\xb0\xbb\xb0\xc6\xf7")
        self.assertEqual(strings["ProductName"], "Vexmora")
        self.assertEqual(strings["OriginalFilename"], "vexmora.exe")


class DamagedFiles(unittest.TestCase):
    """Files that are not sound PE images fail every check, with no traceback."""

    CASES = [
        ("empty", b""),
        ("text", b"not an executable\n" * 10),
        ("MZ without PE", b"MZ" + b"\0" * 0x3A + struct.pack("<I", 0x40) + b"\0" * 64),
        ("cut after PE signature", b"MZ" + b"\0" * 0x3A + struct.pack("<I", 0x40) + b"PE\0\0"),
    ]

    def test_cases(self):
        with tempfile.TemporaryDirectory() as tmp:
            for name, data in self.CASES:
                with self.subTest(name):
                    path = os.path.join(tmp, "bad.exe")
                    with open(path, "wb") as f:
                        f.write(data)
                    status, lines, passed, failed = run_check(path, "i386")
                    self.assertEqual(status, 1)
                    self.assertEqual(passed, set())
                    self.assertEqual(failed, ALL_CHECKS)
                    self.assertEqual(lines[-1], "0 passed, %d failed" % len(ALL_CHECKS))

    def test_missing_file(self):
        status, lines, _, failed = run_check("/nonexistent/vexmora.exe", "i386")
        self.assertEqual((status, failed), (1, ALL_CHECKS))


class CommittedIcon(unittest.TestCase):
    """The build takes the committed vexmora.ico, so it must be what
    make_icon.py draws now."""

    def test_matches_its_generator(self):
        sys.path.insert(0, RES)
        try:
            import make_icon
        finally:
            sys.path.remove(RES)
        with open(os.path.join(RES, "vexmora.ico"), "rb") as f:
            committed = f.read()
        self.assertEqual(committed, make_icon.build_ico(),
                         "vexmora.ico is stale: run platform/win32/res/make_icon.py")

    def test_images_are_anti_aliased_bgra(self):
        with open(os.path.join(RES, "vexmora.ico"), "rb") as f:
            data = f.read()
        _, kind, count = struct.unpack_from("<HHH", data)
        self.assertEqual((kind, count), (1, 3))
        for i, want in enumerate((48, 32, 16)):
            with self.subTest(size=want):
                w, h, _, _, _, bpp, nbytes, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
                self.assertEqual((w, h, bpp), (want, want, 32))
                _, bw, bh, _, bbpp, comp = struct.unpack_from("<IiiHHI", data, offset)
                self.assertEqual((bw, bh, bbpp, comp), (want, 2 * want, 32, 0))
                mask_bytes = ((want + 31) // 32) * 4 * want
                self.assertEqual(nbytes, 40 + want * want * 4 + mask_bytes)
                alpha = data[offset + 43:offset + 40 + want * want * 4:4]
                self.assertIn(0, alpha)           # transparent corners
                self.assertIn(255, alpha)         # solid body
                self.assertTrue(any(0 < a < 255 for a in alpha))  # soft edges


if __name__ == "__main__":
    unittest.main()
