#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into fuzz/corpus/<target>/ from our own
files: workbooks the companion writes (whole files and their bare workbook streams, with
the sheet protection, conditional formats and validations the budget carries), the
formulas of the golden sheet dump, the formula tokens and number formats found in those
workbooks, and settings files in the layout the program stores. Each file stays under
64 KB. Usage: fuzz/make_corpus.py BUILD_DIR (a build that has app/quillmere-sheet)."""
import hashlib
import os
import re
import struct
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CORPUS = os.path.join(ROOT, "fuzz", "corpus")
LIMIT = 64 * 1024


def put(target, data):
    if isinstance(data, str):
        data = data.encode("utf-8")
    if len(data) >= LIMIT:
        return
    folder = os.path.join(CORPUS, target)
    os.makedirs(folder, exist_ok=True)
    name = hashlib.sha1(data).hexdigest()[:16]
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def streams(ole):
    """The streams of a compound file, by name (512-byte sectors, as ours are)."""
    u32 = lambda at: struct.unpack_from("<I", ole, at)[0]
    sector = lambda s: ole[512 + s * 512 : 512 + (s + 1) * 512]
    fat = []
    for i in range(u32(0x2C)):
        fat += struct.unpack("<128I", sector(u32(0x4C + 4 * i)))

    def chain(s):
        out = b""
        while s < 0xFFFFFFFA:
            out += sector(s)
            s = fat[s]
        return out

    directory = chain(u32(0x30))
    minifat = list(struct.unpack("<%dI" % (len(chain(u32(0x3C))) // 4), chain(u32(0x3C))))
    result, ministream = {}, b""
    for k in range(len(directory) // 128):
        e = directory[k * 128 : (k + 1) * 128]
        length = struct.unpack_from("<H", e, 64)[0]
        name = e[: max(length - 2, 0)].decode("utf-16le")
        start, size = struct.unpack_from("<II", e, 116)
        if e[66] == 5:
            ministream = chain(start)
        elif e[66] == 2:
            if size >= 4096:
                result[name] = chain(start)[:size]
            else:
                data, s = b"", start
                while s < 0xFFFFFFFA:
                    data += ministream[s * 64 : (s + 1) * 64]
                    s = minifat[s]
                result[name] = data[:size]
    return result


def records(stream):
    at = 0
    while at + 4 <= len(stream):
        rid, size = struct.unpack_from("<HH", stream, at)
        yield rid, stream[at + 4 : at + 4 + size]
        at += 4 + size


def main():
    build = sys.argv[1]
    companion = os.path.join(build, "app", "quillmere-sheet")
    env = dict(os.environ, SOURCE_DATE_EPOCH="1700000000", QT_QPA_PLATFORM="offscreen")
    formats, tokens = set(), set()
    with tempfile.TemporaryDirectory() as tmp:
        for args in (["--defaults"], ["--synthetic", "0x0"], ["--synthetic", "1x1"],
                     ["--synthetic", "2x3"], ["--synthetic", "4x10"]):
            path = os.path.join(tmp, "w.xls")
            subprocess.run([companion] + args + ["-o", path], check=True, env=env,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            data = open(path, "rb").read()
            put("fuzz_xls_reader", data)
            workbook = streams(data)["Workbook"]
            put("fuzz_xls_reader", workbook.rstrip(b"\0"))
            for rid, body in records(workbook):
                if rid == 0x041E and len(body) > 5:  # FORMAT: index, length, flags, text
                    n = struct.unpack_from("<H", body, 2)[0]
                    text = body[5 : 5 + n * (2 if body[4] & 1 else 1)]
                    formats.add(text.decode("utf-16le" if body[4] & 1 else "latin-1"))
                if rid == 0x0006 and len(body) >= 22:  # FORMULA: row, col, ..., cce, rgce
                    row, col = struct.unpack_from("<HH", body, 0)
                    cce = struct.unpack_from("<H", body, 20)[0]
                    if row < 256:
                        tokens.add(bytes([row, col]) + body[22 : 22 + cce])
    for t in sorted(tokens)[:200]:
        put("fuzz_biff8_tokens", t)

    formats |= {"General", "0", "0.00", "#,##0.00", "0%", "0.00E+00", "@", '"Total: "0',
                "[Blue]0;[Red]-0;\"zero\";@", "0.0,,", "#,##0_);(#,##0)", "?/?", "\\$0"}
    values = [3100.0, -280.0, 0.0, 1.5, 1e300, -1e-300, 123456789012.0]
    for code in sorted(formats):
        for v in values:
            put("fuzz_number_format", bytes([0]) + struct.pack("<d", v) + code.encode())
        put("fuzz_number_format", bytes([2]) + b"Budget  " + code.encode())
        put("fuzz_number_format", bytes([3, 1, 0, 0, 0, 0, 0, 0, 0]) + code.encode())

    golden = open(os.path.join(ROOT, "tests", "sheet", "golden", "default_sheet.txt")).read()
    formulas = set(re.findall(r"\s(=\S+)", golden))
    formulas |= {"=SUM(R[-10]C:R[-1]C)", "=R[-2]C-R[-4]C", "=-(1+2)*3/4", '="a ""b"""',
                 "=SUM(R1C1:R5C3,C2,R[1],2.5E-3)", "= r[ -1 ]c + .5", "=C[-1]/0",
                 "=SUM(SUM(1,2),(3))", "=R65536C256", "=+R[1]C[1]*R"}
    for f in sorted(formulas):
        put("fuzz_r1c1", f)

    section = "[Quillmere]\n"
    incomes = ["0%20Income=$3000", "1%20Extra%20income=$100", "2%20Extra%20income=$100",
               "3%20Income=$2720"]
    rows = [("1_", "0_", "HOUSING", "HOUSING"), ("2_", "1_", "Mortgage or rent", "HOUSING\\\\Mortgage or rent"),
            ("3_", "0_", "FOOD", "FOOD"), ("4_", "3_", "Groceries", "FOOD\\\\Groceries"),
            ("5_", "1_", "\"Caf\u00e9, quoted\"", "")]
    fields = []
    for r, row in enumerate(rows, 1):
        fields += ["Field%d_%d=%s" % (f, r, row[f - 1]) for f in range(1, 5)]
    tail = ["System%20Value%20-%20Rows=" + str(len(rows)), "System%20Value%20-%20Columns=4",
            "System%20Value%20-%20Saved=True"]
    put("fuzz_settings", section + "\n".join(incomes + fields + tail) + "\n")
    put("fuzz_settings", section + "\n".join(fields[:8] + ["System Value - Rows=2",
        "System Value - Columns=4", "System Value - Saved=True"]) + "\n")
    put("fuzz_settings", section + "System%20Value%20-%20Rows=99999999999\nSystem%20Value%20-%20Saved=True\n")
    put("fuzz_settings", section + "\n".join(incomes) + "\n[Other]\nkey=\"unterminated\n")
    put("fuzz_settings", "")

    # Categories files: a plain one, one with a byte order mark, quotes, CR LF and amounts in
    # several forms, and refused ones (a bad header, an item before any group, a bad amount).
    header = "Group,Category,Planned\n"
    put("fuzz_category_csv", header + "HOUSING,,\nHOUSING,Mortgage or rent,1200.50\nFOOD,Groceries,\n")
    put("fuzz_category_csv", "\ufeff" + header.replace("\n", "\r\n") +
        '"Caf\u00e9, ""quoted""",,\r\n"Caf\u00e9, ""quoted""","line\nbreak",$45\r\n'
        ",Continued,\"1,234.56\"\r\n\U0001F3E0 Home,\u4e2d\u6587,0\r\n")
    put("fuzz_category_csv", "Group,Item,Planned\nA,,\n")
    put("fuzz_category_csv", header + ",Orphan,\n")
    put("fuzz_category_csv", header + "A,,\nA,B,-5\nA,C,1e5\n")


if __name__ == "__main__":
    main()
