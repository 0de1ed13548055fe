#!/usr/bin/env python3
"""Large user data: brix-tools (offscreen) loads a user.xml of 1000 characters x 1000 entries
(about 40 MB, written exactly as the program writes it), shows its main window with a
character current, is asked to close (SIGTERM) and saves the file again, which must come back
byte for byte. Prints the time to the shown window, the time of the shutdown and the peak
memory (maximum resident set size, from /usr/bin/time). Measure with a Release build.

usage: large-user-data.py BUILD_FOLDER [--characters N] [--entries N]
"""
import argparse
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time


def user_xml(characters, entries):
    """The program's own form: CR LF line ends (CR CR LF after the declaration and the root
    tags, which carry their own CR LF through the text-mode conversion), entries with their
    trailing zero counts cut."""
    out = ['<?xml version="1.0" encoding="UTF-8"?>\r\r\n', "<brix-data>\r\r\n"]
    for c in range(characters):
        out.append("\t<Character>\r\n\t\t<Name>Hunter %04d</Name>\r\n" % c)
        for e in range(1, entries + 1):
            counts = ",".join(str(1 + (c * 7 + e * 3 + level) % 23) for level in range(2))
            out.append('\t\t<MapCounts Index="%d">%s</MapCounts>\r\n' % (e, counts))
        out.append("\t</Character>\r\n")
    out.append("</brix-data>\r\r\n")
    return "".join(out).encode()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--characters", type=int, default=1000)
    parser.add_argument("--entries", type=int, default=1000)
    args = parser.parse_args()
    folder = tempfile.mkdtemp(prefix="brix-large-")
    try:
        shutil.copy(os.path.join(args.build, "kestrel.zip"), folder)
        data = user_xml(args.characters, args.entries)
        with open(os.path.join(folder, "user.xml"), "wb") as f:
            f.write(data)
        with open(os.path.join(folder, "brix-tools.ini"), "w") as f:
            f.write("[Settings]\nCharacter=Hunter %04d\n" % (args.characters - 1))
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
        begin = time.monotonic()
        proc = subprocess.Popen(["/usr/bin/time", "-f", "peak-kb %M",
                                 os.path.abspath(os.path.join(args.build, "brix-tools"))],
                                cwd=folder, env=env, stdout=subprocess.DEVNULL,
                                stderr=subprocess.PIPE, text=True)
        # The program catches SIGTERM from the moment its window is shown.
        child = None
        while child is None or not caught(child):
            if proc.poll() is not None:
                raise RuntimeError("brix-tools ended before showing its window")
            child = child or first_child(proc.pid)
            time.sleep(0.005)
        shown = time.monotonic() - begin
        begin = time.monotonic()
        os.kill(child, signal.SIGTERM)
        err = proc.communicate(timeout=600)[1]
        closed = time.monotonic() - begin
        with open(os.path.join(folder, "user.xml"), "rb") as f:
            saved = f.read()
        peak = int(re.search(r"peak-kb (\d+)", err).group(1))
        print("user.xml: %d characters x %d entries, %.1f MB" %
              (args.characters, args.entries, len(data) / 1e6))
        print("start to shown window: %.2f s; close and save: %.2f s; peak memory: %d MB" %
              (shown, closed, round(peak / 1024)))
        same = saved == data
        if not same:
            with open("/tmp/large-user-data-saved.xml", "wb") as f:
                f.write(saved)
            with open("/tmp/large-user-data-original.xml", "wb") as f:
                f.write(data)
            print("kept both files in /tmp as large-user-data-{original,saved}.xml")
        print("saved back byte for byte: %s" % ("yes" if same else "NO (%d bytes)" % len(saved)))
        return 0 if same and proc.returncode == 0 else 1
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def first_child(pid):
    try:
        with open("/proc/%d/task/%d/children" % (pid, pid)) as f:
            children = f.read().split()
        return int(children[0]) if children else None
    except FileNotFoundError:
        return None


def caught(pid):
    try:
        with open("/proc/%d/status" % pid) as f:
            mask = next(l for l in f if l.startswith("SigCgt:")).split()[1]
        return int(mask, 16) & (1 << (signal.SIGTERM - 1)) != 0
    except (FileNotFoundError, StopIteration):
        return False


if __name__ == "__main__":
    sys.exit(main())
