#!/usr/bin/env python3
"""Builds a corpus of hostile system data archives from the sample world and starts the program's
core (brix-start-check) on each, in a folder of its own under a temporary directory.

Every case must end in a normal start or the program's own message, never in a crash, a
sanitizer report or a hang; the expected outcome of each case is checked. With --report the
peak memory of each start (maximum resident set size, from /usr/bin/time) is printed as a
table; measure with a Release build, since the sanitizers of the test build inflate it.

usage: hostile-archives.py START_CHECK SAMPLE_ARCHIVE [--report] [--program BRIX_TOOLS]
       [--only NAME] [--jobs N]
"""
import argparse
import concurrent.futures
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import zipfile
import zlib

# --- bitmaps ------------------------------------------------------------------------------

def bmp(width, height, bpp, pixels=b"", palette=None, compression=0, header_size=40,
        offset=None, colours_used=None, file_size=None):
    """A BMP file with whatever header fields a case wants, true or not."""
    if palette is None:
        palette = b""
        if bpp <= 8:
            palette = b"".join(struct.pack("<BBBB", v, v, v, 0)
                               for v in (0, 255) + (128,) * ((1 << bpp) - 2))
    if header_size == 12:
        info = struct.pack("<IHHHH", 12, width & 0xFFFF, height & 0xFFFF, 1, bpp)
    else:
        info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bpp, compression, len(pixels),
                           2835, 2835, colours_used if colours_used is not None else 0, 0)
        info += b"\0" * (header_size - 40)
        info = struct.pack("<I", header_size) + info[4:]
    if offset is None:
        offset = 14 + len(info) + len(palette)
    size = file_size if file_size is not None else 14 + len(info) + len(palette) + len(pixels)
    return (b"BM" + struct.pack("<IHHI", size & 0xFFFFFFFF, 0, 0, offset & 0xFFFFFFFF) + info +
            palette + pixels)


def mono_rows(width, height, value=0xFF):
    stride = (width + 31) // 32 * 4
    return bytes([value]) * (stride * height)


# --- archives ------------------------------------------------------------------------------

def read_members(path):
    with zipfile.ZipFile(path) as z:
        return [(info.filename, z.read(info.filename)) for info in z.infolist()]


def write_zip(path, members, compression=zipfile.ZIP_DEFLATED):
    with zipfile.ZipFile(path, "w", compression) as z:
        for name, data in members:
            z.writestr(zipfile.ZipInfo(name, (2020, 1, 1, 0, 0, 0)), data,
                       compress_type=compression)


def replaced(members, **new):
    # Keyword names stand for member names: the last "_" is the full stop.
    names = {k[::-1].replace("_", ".", 1)[::-1]: v for k, v in new.items()}
    assert all(n in dict(members) for n in names), names
    return [(n, names.get(n, d)) for n, d in members]


def deflated_zeros(total, piece=1 << 20):
    """Raw deflate stream of `total` zero bytes (a multiple of `piece`): one fully flushed block
    of `piece` zeros repeated, then an empty final block. Its checksum is not computed (0): the
    bomb is refused by its declared size before any of it is inflated."""
    z = zlib.compressobj(9, zlib.DEFLATED, -15)
    block = z.compress(b"\0" * piece) + z.flush(zlib.Z_FULL_FLUSH)
    return block * (total // piece) + zlib.compressobj(9, zlib.DEFLATED, -15).flush(), 0


def raw_zip(path, entries):
    """Writes a zip from (name, raw deflate bytes, crc, declared size) without checking that
    the declared size is true: the way a lying header is made."""
    out = bytearray()
    directory = bytearray()
    for name, raw, crc, declared in entries:
        name_bytes = name.encode()
        local = len(out)
        out += struct.pack("<IHHHHHIIIHH", 0x04034B50, 20, 0, 8, 0, 0x5021, crc, len(raw),
                           declared, len(name_bytes), 0) + name_bytes + raw
        directory += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 20, 20, 0, 8, 0, 0x5021, crc,
                                 len(raw), declared, len(name_bytes), 0, 0, 0, 0, 0,
                                 local) + name_bytes
    start = len(out)
    out += directory
    out += struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(entries), len(entries),
                       len(directory), start, 0)
    with open(path, "wb") as f:
        f.write(out)


def deflate(data):
    z = zlib.compressobj(9, zlib.DEFLATED, -15)
    return z.compress(data) + z.flush()


def zip_with_lying_member(path, members, name, real, declared):
    entries = []
    for n, d in members:
        if n == name:
            entries.append((n, deflate(real), zlib.crc32(real), declared))
        else:
            entries.append((n, deflate(d), zlib.crc32(d), len(d)))
    raw_zip(path, entries)


def zip_with_bomb(path, members, name, total):
    entries = []
    for n, d in members:
        if n == name:
            raw, crc = deflated_zeros(total)
            entries.append((n, raw, crc, total))
        else:
            entries.append((n, deflate(d), zlib.crc32(d), len(d)))
    raw_zip(path, entries)


def patch_directory(path, members, patch):
    """Writes the sample archive, then lets `patch` change the bytes of its central directory."""
    write_zip(path, members)
    data = bytearray(open(path, "rb").read())
    end = data.rfind(b"PK\x05\x06")
    start = struct.unpack_from("<I", data, end + 16)[0]
    patch(data, start, end)
    open(path, "wb").write(data)


def directory_entries(data, start, end):
    at = start
    while at < end and data[at:at + 4] == b"PK\x01\x02":
        name_len, extra_len, comment_len = struct.unpack_from("<HHH", data, at + 28)
        yield at, bytes(data[at + 46:at + 46 + name_len]).decode()
        at += 46 + name_len + extra_len + comment_len


def set_entry_field(name, offset, fmt, value):
    def patch(data, start, end):
        for at, n in directory_entries(data, start, end):
            if n == name:
                struct.pack_into(fmt, data, at + offset, value)
    return patch


# --- data.xml ------------------------------------------------------------------------------

BILLION_LAUGHS = ("<?xml version=\"1.0\"?>\n<!DOCTYPE brix-data [\n<!ENTITY a0 \"lol\">\n" +
                  "".join("<!ENTITY a%d \"%s\">\n" % (i, ("&a%d;" % (i - 1)) * 10)
                          for i in range(1, 10)) +
                  "]>\n<brix-data><Level Index=\"1\"><Name>&a9;</Name></Level></brix-data>\n")


def deep_nesting(depth):
    return ("<?xml version=\"1.0\"?>\n<brix-data>" + "<Level>" * depth + "</Level>" * depth +
            "</brix-data>\n")


def with_values(data_xml, element, value):
    text = data_xml.decode()
    return re.sub("<%s>[^<]*</%s>" % (element, element),
                  "<%s>%s</%s>" % (element, value, element), text).encode()


STARTED = "started:"

# --- cases ---------------------------------------------------------------------------------

def cases(sample):
    """(name, builder(path), expected outcome substring)."""
    data = dict(sample)["data.xml"]
    world_load = "Unable to load \"world.bmp\""
    multimap_load = "Unable to load \"multimap.bmp\""
    overlay_load = "Unable to load \"world_overlay_1.bmp\""
    started = STARTED
    big_colour = bmp(9000, 9000, 24, pixels=b"\x80" * 4096)
    c = []

    def add(name, build, expected):
        c.append((name, build, expected))

    def members_case(**new):
        return lambda path: write_zip(path, replaced(sample, **new))

    add("sample world", members_case(), started)
    # Sizes and bombs.
    add("world.bmp claims 9000 x 9000, 24 bits", members_case(world_bmp=big_colour), world_load)
    add("world.bmp is 9000 x 9000, 24 bits, every pixel present (243 MB)",
        members_case(world_bmp=bmp(9000, 9000, 24, pixels=bytes(27000 * 9000))), world_load)
    add("multimap.bmp claims 9000 x 9000, 1 bit",
        members_case(multimap_bmp=bmp(9000, 9000, 1, pixels=b"\xff" * 4096)), multimap_load)
    add("overlay claims 16384 x 16384, 32 bits",
        members_case(world_overlay_1_bmp=bmp(16384, 16384, 32)), "must be monochrome")
    add("zip bomb: world.bmp inflates to 1 GiB",
        lambda p: zip_with_bomb(p, sample, "world.bmp", 1 << 30), world_load)
    add("zip bomb: data.xml inflates to 1 GiB",
        lambda p: zip_with_bomb(p, sample, "data.xml", 1 << 30), "Unable to open the \"data.xml\"")
    world = dict(sample)["world.bmp"]
    add("lying size: world.bmp declares 1 MiB, inflates to 64 MiB",
        lambda p: zip_with_lying_member(p, sample, "world.bmp",
                                        world + b"\0" * (64 << 20), 1 << 20), world_load)
    add("lying size: world.bmp declares twice its size",
        lambda p: zip_with_lying_member(p, sample, "world.bmp", world, 2 * len(world)),
        world_load)
    add("lying size: data.xml declares half its size",
        lambda p: zip_with_lying_member(p, sample, "data.xml", data, len(data) // 2),
        "Error parsing \"data.xml\"")
    add("65,535 members",
        lambda p: write_zip(p, sample + [("filler_%05d.txt" % i, b"")
                                         for i in range(65535 - len(sample))],
                            zipfile.ZIP_STORED), started)
    # Damaged archives.
    def truncated(fraction):
        def build(path):
            write_zip(path, sample)
            raw = open(path, "rb").read()
            open(path, "wb").write(raw[:int(len(raw) * fraction)])
        return build
    add("truncated archive (half)", truncated(0.5), "Unable to open the system data file")
    add("truncated archive (last 10 bytes gone)", truncated(0.99999),
        "Unable to open the system data file")
    add("empty file named kestrel.zip", lambda p: open(p, "wb").close(),
        "Unable to open the system data file")
    add("central directory: data.xml at a huge offset",
        lambda p: patch_directory(p, sample, set_entry_field("data.xml", 42, "<I", 0xFFFFFFF0)),
        "\"data.xml\"")
    add("central directory: world.bmp name length past the end",
        lambda p: patch_directory(p, sample, set_entry_field("world.bmp", 28, "<H", 0xFFFF)),
        "")
    add("central directory: garbage", lambda p: patch_directory(
        p, sample, lambda d, s, e: d.__setitem__(slice(s, e), bytes((i * 37) & 0xFF
                                                                     for i in range(e - s)))),
        "")
    add("central directory: world.bmp method 99",
        lambda p: patch_directory(p, sample, set_entry_field("world.bmp", 10, "<H", 99)),
        world_load)
    add("central directory: multimap.bmp declared 4 GiB",
        lambda p: patch_directory(p, sample,
                                  set_entry_field("multimap.bmp", 24, "<I", 0xFFFFFFFF)),
        multimap_load)
    # Absurd bitmap headers.
    for name, image, expected in [
        ("zero width", bmp(0, 10, 24), world_load),
        ("zero height", bmp(10, 0, 24), world_load),
        ("negative width", bmp(-10, 10, 24, pixels=b"\0" * 400), world_load),
        ("height -2^31", bmp(10, -2**31, 24, pixels=b"\0" * 400), world_load),
        ("width 2^31 - 1", bmp(2**31 - 1, 1, 24, pixels=b"\0" * 400), world_load),
        ("8 bits, palette of 2^32 - 1 colours", bmp(64, 64, 8, pixels=b"\0" * 4096,
                                                    colours_used=0xFFFFFFFF), ""),
        ("32 bits with a 256-colour palette", bmp(8, 8, 32, pixels=b"\0" * 256,
                                                  palette=b"\x10" * 1024, colours_used=256),
         ""),
        ("RLE8 with runs past the picture", bmp(16, 16, 8, pixels=b"\xff\x01" * 300 + b"\0\1",
                                                compression=1), ""),
        ("RLE4 with a delta past the picture", bmp(16, 16, 4, pixels=b"\0\2\xff\xff" * 10 +
                                                   b"\0\1", compression=2), ""),
        ("RLE8, top-down (not allowed)", bmp(16, -16, 8, pixels=b"\x10\x01" * 16 + b"\0\1",
                                               compression=1), ""),
        ("top-down 24 bits", bmp(64, -48, 24, pixels=bytes(range(256)) * 36), started),
        ("pixel offset 2^32 - 1", bmp(64, 48, 24, pixels=b"\0" * 9216, offset=0xFFFFFFFF),
         world_load),
        ("file size field 2^32 - 1", bmp(64, 48, 24, pixels=b"\0" * 9216,
                                         file_size=0xFFFFFFFF), ""),
        ("header size 2^32 - 1", b"BM" + struct.pack("<IHHII", 100, 0, 0, 54, 0xFFFFFFFF) +
         b"\0" * 100, world_load),
        ("OS/2 header, 65535 x 65535", bmp(65535, 65535, 24, header_size=12,
                                          pixels=b"\0" * 100), world_load),
        ("bit fields with zero masks", bmp(8, 8, 16, compression=3, pixels=b"\0" * 12 +
                                           b"\x55" * 128), ""),
        ("header only", bmp(64, 48, 24), world_load),
    ]:
        add("world.bmp: " + name, members_case(world_bmp=image), expected)
    add("multimap.bmp: 24 bits instead of 1", members_case(multimap_bmp=bmp(
        8, 8, 24, pixels=b"\0" * 192)), "must be monochrome")
    add("overlay: 1 bit, negative height", members_case(world_overlay_1_bmp=bmp(
        8, -8, 1, pixels=mono_rows(8, 8))), started)
    # data.xml.
    add("data.xml: billion laughs (entity expansion)", members_case(data_xml=BILLION_LAUGHS.encode()),
        "Error parsing \"data.xml\"")
    add("data.xml: 200,000-deep nesting", members_case(data_xml=deep_nesting(200000).encode()),
        "Error parsing \"data.xml\"")
    for value in ("2147483647,2147483647", "-2147483648,-2147483648", "2147483648,-2147483649",
                  "99999999999999999999,-99999999999999999999"):
        add("data.xml: region offsets and treasure locations " + value,
            members_case(data_xml=with_values(with_values(data, "MaskOffset", value),
                                              "Location", value)), started)
    add("data.xml: label offsets at the limits",
        members_case(data_xml=with_values(data, "LabelOffset", "2147483647,-2147483648")),
        started)
    return c


def run(command, cwd, timeout):
    timed = ["/usr/bin/time", "-f", "peak-kb %M"] if os.path.exists("/usr/bin/time") else []
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    try:
        done = subprocess.run(timed + command, cwd=cwd, env=env, capture_output=True,
                              text=True, errors="replace", timeout=timeout)
    except subprocess.TimeoutExpired:
        return None, "", "timed out", None
    peak = re.search(r"peak-kb (\d+)", done.stderr)
    return done.returncode, done.stdout, done.stderr, int(peak.group(1)) if peak else None


def whole_program_peak(program, folder):
    """The program's peak memory in KB over its first 4 seconds (it waits on its message box,
    if any, or runs on; either way it is then killed)."""
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    proc = subprocess.Popen(["/usr/bin/time", "-f", "peak-kb %M", program], cwd=folder, env=env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    time.sleep(4)
    try:
        with open("/proc/%d/task/%d/children" % (proc.pid, proc.pid)) as f:
            for child in f.read().split():
                os.kill(int(child), 9)
    except (FileNotFoundError, ProcessLookupError):
        pass
    err = proc.communicate(timeout=30)[1]
    peak = re.search(r"peak-kb (\d+)", err)
    return int(peak.group(1)) if peak else None


def check_case(root, index, case, args):
    """Builds one case and starts the program's core on it; (outcome, peak MB, whole program's
    peak MB or None, problem or None)."""
    name, build, expected = case
    folder = os.path.join(root, "case%02d" % index)
    os.makedirs(folder)
    try:
        build(os.path.join(folder, "kestrel.zip"))
        status, out, err, peak = run([os.path.abspath(args.start_check)], folder, args.timeout)
        lines = out.splitlines()
        outcome = next((l for l in lines if l.startswith("message: ")), None) or \
            (lines[-1] if lines else "(no output)")
        problem = None
        if status is None:
            problem = "timed out"
        elif status != 0 or "Sanitizer" in err or "runtime error" in err:
            problem = "exit status %s\n%s" % (status, err[-3000:])
        elif not any(l.startswith("started") or l == "start-up ended" for l in lines):
            problem = "did not finish start-up and shutdown"
        elif expected and expected not in out:
            problem = "expected %r in the outcome" % expected
        elif expected == STARTED and "message: " in out:
            problem = "expected a start without messages"
        gui_peak = None
        if args.program:
            for f in os.listdir(folder):
                if f != "kestrel.zip":
                    os.remove(os.path.join(folder, f))
            gui_peak = whole_program_peak(os.path.abspath(args.program), folder)
        return outcome.replace("message: ", ""), peak, gui_peak, problem
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("start_check")
    parser.add_argument("sample_archive")
    parser.add_argument("--report", action="store_true", help="print peak memory per case")
    parser.add_argument("--program", help="also start this brix-tools on each case for its "
                        "peak memory (ended after 4 seconds)")
    parser.add_argument("--only", help="run the cases whose name contains this text")
    parser.add_argument("--jobs", type=int, default=2, help="cases checked at once")
    parser.add_argument("--timeout", type=float, default=60)
    args = parser.parse_args()
    sample = read_members(args.sample_archive)
    chosen = [c for c in cases(sample) if not args.only or args.only in c[0]]

    mb = lambda kb: "%d MB" % round(kb / 1024) if kb else "?"
    failures = 0
    with tempfile.TemporaryDirectory(prefix="brix-hostile-") as root, \
            concurrent.futures.ThreadPoolExecutor(max_workers=max(1, args.jobs)) as pool:
        results = [pool.submit(check_case, root, i, c, args) for i, c in enumerate(chosen)]
        for (name, _, _), result in zip(chosen, results):
            outcome, peak, gui_peak, problem = result.result()
            if args.report:
                print("| %s | %s | %s |%s" % (name, outcome[:90], mb(peak),
                                              " %s |" % mb(gui_peak) if args.program else ""))
            else:
                print("%-70s %s" % (name, "FAILED" if problem else "ok"))
            if problem:
                failures += 1
                print("  %s\n  outcome: %s" % (problem, outcome))
    print("%d case(s), %d failure(s)" % (len(chosen), failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
