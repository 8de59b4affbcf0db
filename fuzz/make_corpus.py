#!/usr/bin/env python3
"""Writes the committed seed corpora of the fuzz targets: for each a few valid inputs and
the edge cases its parser must refuse, in the input layout the target's source describes.
Run from anywhere; it rewrites fuzz/corpus/<target>/ files of these names only."""
import os
import struct
import zlib

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")
IMAGES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "ZubVgaPkg", "TextConsolePei", "Test", "Images")


def put(target, name, data):
    d = os.path.join(ROOT, target)
    os.makedirs(d, exist_ok=True)
    with open(os.path.join(d, name), "wb") as f:
        f.write(data)


def bmp_header(file_size, data_offset, width, height, bits, colors=0):
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 1 if bits == 8 else 0, 0, 2835, 2835, colors, 0)
    return b"BM" + struct.pack("<IHHI", file_size, 0, 0, data_offset) + info


def draw(flags, x, y, file):
    return struct.pack("<BHH", flags, x, y) + file


def bmp():
    image = lambda n: open(os.path.join(IMAGES, n), "rb").read()
    put("FuzzBmp", "truecolor-30x20", draw(0, 10, 5, image("TrueColor30x20.bmp")))
    put("FuzzBmp", "rle-40x24-clipped", draw(0, 780, 0, image("Rle40x24.bmp")))
    put("FuzzBmp", "centered-160x120", draw(1, 700, 500, image("Centered160x120.bmp")))
    put("FuzzBmp", "size-below-header", draw(0, 0, 0, bmp_header(53, 54, 1, 1, 24) + b"\0" * 4))
    put("FuzzBmp", "huge-dimensions", draw(0, 0, 0, bmp_header(58, 54, 0x7FFFFFFF, 0x7FFFFFFF, 24) + b"\0" * 4))
    put("FuzzBmp", "negative-height", draw(0, 0, 0, bmp_header(58, 54, 1, -1, 24) + b"\0" * 4))
    put("FuzzBmp", "palette-too-large", draw(0, 0, 0, bmp_header(54 + 4 * 300, 54 + 4 * 300, 2, 2, 8, 300) + b"\0" * 1200))
    # Two palette entries, runs that stop one pair short of the last row.
    pal = b"\x00\x00\xff\x00\xff\x00\x00\x00"
    runs = b"\x04\x01\x00\x00" * 3
    put("FuzzBmp", "rle-truncated", draw(0, 0, 0, bmp_header(62 + len(runs), 62, 4, 4, 8, 2) + pal + runs))
    # Findings: rows without columns and a huge height once made DrawBmp spin for 2^32 rows.
    put("FuzzBmp", "rle-zero-width-huge-height", draw(0, 0, 0, bmp_header(62, 62, 0, -1, 8, 2) + pal))
    put("FuzzBmp", "centered-zero-width-huge-height", draw(1, 0, 0, bmp_header(54, 54, 0, -1, 24)))


def answer(result, data, params=b"", command=2):
    head = struct.pack("<IHHIIIII", 0x64616776, command, 1, result, 1, len(data), zlib.crc32(data), 0)
    head += params.ljust(224, b"\0")
    head = struct.pack("<I", zlib.crc32(head)) + head
    return head + data


def quick_transfer():
    file = bytes(range(256)) * 4
    put("FuzzQuickTransfer", "getfile-ok", bytes([0, 0, 0]) + answer(0x14, file, struct.pack("<I", len(file))))
    put("FuzzQuickTransfer", "getfile-size-past-data", bytes([0, 0, 0]) + answer(0x14, file[:16], struct.pack("<I", 0xFFFFFFFF)))
    put("FuzzQuickTransfer", "getfile-not-found", bytes([0, 0, 0]) + answer(6, b""))
    put("FuzzQuickTransfer", "length-past-area-sealed", bytes([7, 1, 7]) + answer(0x14, b"")[:0x14] + struct.pack("<I", 0xFFFFFFFF))
    bad = bytearray(answer(0x14, file))
    bad[0x100] ^= 1
    put("FuzzQuickTransfer", "data-crc-wrong", bytes([0, 1, 1]) + bytes(bad))
    put("FuzzQuickTransfer", "push-ok", bytes([0, 2, 0]) + answer(0x14, b"", command=3))


def pei_param():
    def param(dedicated=b"10.0.0.5", length=None, fill=None):
        p = struct.pack("<5I", 3, 5, 0x1FF, 1, 0)
        for text, size in ((dedicated, 16), (b"fd00::5", 64), (b"10.0.1.5", 16), (b"fd00:1::5", 64)):
            p += (fill * size if fill else text.ljust(size, b"\0"))
        p += struct.pack("<II", 0x1A, 0x2B)
        return p if length is None else p[:length]
    put("FuzzPeiParam", "full", bytes([0]) + answer(0x14, param(), command=8))
    put("FuzzPeiParam", "short-180", bytes([0]) + answer(0x14, param(length=180), command=8))
    put("FuzzPeiParam", "texts-unterminated", bytes([0]) + answer(0x14, param(fill=b"9"), command=8))
    put("FuzzPeiParam", "four-bytes", bytes([0]) + answer(0x14, param(length=4), command=8))
    put("FuzzPeiParam", "length-past-area", bytes([5]) + answer(0x14, b"")[:0x14] + struct.pack("<I", 0xFFF01))


SLOTS = [0, 44, 72, 100, 128, 168, 196]
SIZES = [44, 28, 28, 28, 40, 28, 32]


def volatile():
    store = bytearray(256)
    boot_option = bytes.fromhex("34235e543b3c20428b8fd821e1a4dcb2") + struct.pack("<I", 0x01000004)
    store[SLOTS[0] + 24:SLOTS[0] + 24 + 20] = boot_option
    store[SLOTS[1] + 24:SLOTS[1] + 28] = struct.pack("<I", 0x7A5B9C6D)
    exact = bytes(s - 24 for s in SIZES)
    put("FuzzVolatileStore", "warm-all-valid", bytes([1, 0x7F, 0x7F, 0]) + exact + bytes(store))
    put("FuzzVolatileStore", "warm-read-clear-oversize", bytes([1, 0x7F, 0x7F, 0x7F]) + bytes([255] * 7) + bytes(store))
    put("FuzzVolatileStore", "cold-bad-crcs", bytes([0, 0x7F, 0x00, 0]) + exact + bytes(store))
    put("FuzzVolatileStore", "ac-power-loss", bytes([2, 0x7F, 0x7F, 0]) + exact + bytes(store))
    put("FuzzVolatileStore", "foreign-zero-sizes", bytes([1, 0, 0x7F, 0]) + bytes(7) + bytes([0x5A]) * 256)


def diagnosis():
    clock = struct.pack("<IBB", 1796963400, 2, 0x80)
    slots = bytes(range(1, 33))
    def case(name, record, request, clk=clock, rest=b""):
        put("FuzzDiagnosis", name, bytes(record) + bytes([request]) + slots + clk + rest)
    case("start-request", [0, 0, 0, 0, 0, 0, 0], 0x02)
    case("mid-diagnosis", [0x01, 2, 0x10, 1, 3, 0, 0], 0x02)
    case("isolation-boot", [0x01, 2, 0x40, 0, 2, 0, 0], 0x06)
    case("withdrawn", [0x01, 2, 0x20, 2, 5, 0, 0], 0x00)
    case("cmos-garbage", [0xFF] * 7, 0xFF, rest=bytes([0xFF]) * 120)
    case("clock-invalid", [0, 2, 0x11, 0, 0, 0, 0], 0x02, clk=struct.pack("<IBB", 0xFFFFFFFF, 1, 0x00),
         rest=bytes([0x7F, 0x00, 0x00, 0x00]))


def warning_log():
    def entry(etype, major, minor=0, body=b"", size=None):
        b = struct.pack("<IH6xBB", etype, 0, major, minor) + body
        return b[:4] + struct.pack("<H", len(b) if size is None else size) + b[6:]
    dimm = bytes([0, 1, 0, 0])   # socket, channel, dimm, rank
    def case(name, used, checks, log):
        put("FuzzWarningLog", name, struct.pack("<IB", len(log) if used is None else used, checks) + log)
    case("dimm-training-failed", None, 0x01, entry(1, 0x0D, 0, dimm))
    case("every-check-point", None, 0x7F, entry(1, 0x0C, 0, dimm) + entry(2, 0x10, 1, bytes(8)) + entry(1, 0x0D, 2, dimm))
    case("used-size-past-area", 0xFFFFFFFF, 0x41, entry(1, 0x0D, 0, dimm) + entry(1, 0x0C, 0, b"", 0xFFFF))
    case("entry-size-zero", None, 0x01, entry(1, 0x0D, 0, dimm, 0) + entry(1, 0x0C, 0, dimm))
    case("entry-size-below-header", None, 0x01, entry(1, 0x0D, 0, dimm, 5))
    case("boot-stopping", None, 0x01, entry(1, 0xED, 0, dimm))


def logo_area():
    logo = open(os.path.join(IMAGES, "TrueColor30x20.bmp"), "rb").read()
    def area(oem, entries, files):
        head = bytearray(0x1000)
        struct.pack_into("<I", head, 0x14, oem)
        for i, (offset, size) in enumerate(entries):
            struct.pack_into("<II", head, 0x18 + 12 * i, offset, size)
        body = bytearray(head)
        for offset, data in files:
            body = body.ljust(offset, b"\xff")
            body[offset:offset + len(data)] = data
        return bytes(body)
    three = [(0x1000, len(logo)), (0x2000, len(logo)), (0x3000, len(logo))]
    files = [(0x1000, logo), (0x2000, logo), (0x3000, logo)]
    put("FuzzLogoArea", "cached-oem3", bytes([7, 3, 0]) + area(3, three, files))
    put("FuzzLogoArea", "cached-oem-changed", bytes([7, 4, 0]) + area(3, three, files))
    put("FuzzLogoArea", "header-crc-wrong", bytes([6, 3, 0]) + area(3, three, files))
    put("FuzzLogoArea", "range-past-area", bytes([7, 3, 0]) + area(3, [(0x1000, 0xFFFFFFFF), (0x2000, 1), (0x3000, 1)], files))
    put("FuzzLogoArea", "unaligned", bytes([7, 3, 0]) + area(3, [(0x1001, 16), (0x2000, 1), (0x3000, 1)], files))
    bad = bytearray(logo)
    struct.pack_into("<I", bad, 2, 0x7FFFFFFF)   # the cached file declares more than its entry holds
    put("FuzzLogoArea", "bmp-declares-more", bytes([7, 3, 0]) + area(3, three, [(0x1000, bytes(bad)), (0x2000, logo), (0x3000, logo)]))
    put("FuzzLogoArea", "built-in-oem1", bytes([0, 1, 1]))


def nvar(name, data, flags=0x80 | 0x02, guid_index=0, size=None, nxt=0xFFFFFF):
    body = bytes([guid_index]) + name + b"\0" + data
    total = 10 + len(body) if size is None else size
    return b"NVAR" + struct.pack("<H", total) + struct.pack("<I", nxt)[:3] + bytes([flags]) + body


def nvram_store():
    custom = nvar(b"ZubCustomInfo", bytes(8), guid_index=1)
    setup = nvar(b"Setup", bytes(range(100)))
    std = nvar(b"StdDefaults", custom + setup)
    identity = lambda oem, custom_id: bytes([oem, custom_id, 0, 0, 0, 0, 0])
    put("FuzzNvramStore", "setup-and-defaults", identity(0, 3) + setup + std)
    put("FuzzNvramStore", "oem-above-two", identity(3, 7) + setup + std)
    put("FuzzNvramStore", "next-loops-back", identity(0, 3) + nvar(b"Setup", bytes(4), nxt=0) + std)
    put("FuzzNvramStore", "size-past-store", identity(0, 3) + nvar(b"StdDefaults", custom, size=0xFFFF))
    put("FuzzNvramStore", "name-unterminated", identity(0, 3) + b"NVAR" + struct.pack("<H", 20) + b"\xff\xff\xff\x82" + b"\0" + b"S" * 9)
    put("FuzzNvramStore", "nested-size-zero", identity(0, 3) + nvar(b"StdDefaults", nvar(b"ZubCustomInfo", b"", guid_index=1, size=0)))


if __name__ == "__main__":
    nvram_store()
    warning_log()
    logo_area()
    bmp()
    quick_transfer()
    pei_param()
    volatile()
    diagnosis()
