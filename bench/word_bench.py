#!/usr/bin/env python3
"""Word reader benchmark (not a test): time per MB of our extraction beside antiword -w 0,
catdoc and soffice --headless --cat, on the same large invoice document (10,000 article blocks
written by LibreOffice as .doc, generated when missing), each with its process start-up
(the time on a one-paragraph document) subtracted; and the peak memory of our run.

    cmake -S . -B build -DADUPLAN_BENCH=ON && cmake --build build --target word_text
    bench/word_bench.py [BUILD_DIR]
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build"))
DATA = os.path.join(BUILD, "bench-data")
GENERATE = os.path.join(ROOT, "tests", "data", "word", "generate.py")


def document(name, blocks):
    path = os.path.join(DATA, name)
    if not os.path.exists(path):
        os.makedirs(DATA, exist_ok=True)
        subprocess.run([sys.executable, GENERATE, "--invoice", str(blocks), path], check=True)
    return path


def run(command):
    """Wall time and peak resident memory (KiB) of one run; the output is counted, not kept."""
    start = time.perf_counter()
    process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    articles = 0
    tail = b""
    while chunk := process.stdout.read(1 << 16):
        articles += (tail + chunk).count(b"P/N: ")
        tail = chunk[-4:]
    _, status, usage = os.wait4(process.pid, 0)
    return time.perf_counter() - start, usage.ru_maxrss, articles, status


def best(command, repeats):
    """The fastest run, with the highest peak memory of all runs."""
    runs = [run(command) for _ in range(repeats)]
    fastest = min(runs, key=lambda r: r[0])
    return fastest[0], max(r[1] for r in runs), fastest[2], fastest[3]


def main():
    ours = os.path.join(BUILD, "bench", "word_text")
    if not os.path.exists(ours):
        sys.exit(f"{ours} missing: configure with -DADUPLAN_BENCH=ON and build word_text")
    big = document("invoice-10000.doc", 10000)
    small = document("one-paragraph.doc", 0)
    megabytes = os.path.getsize(big) / 1e6
    profile = tempfile.mkdtemp(prefix="bench-lo-")
    tools = [("aduplan", lambda f: [ours, f], 15)]
    if shutil.which("antiword"):
        tools.append(("antiword -w 0", lambda f: ["antiword", "-w", "0", f], 10))
    if shutil.which("catdoc"):
        tools.append(("catdoc", lambda f: ["catdoc", f], 15))
    if shutil.which("soffice"):
        lo = lambda f: ["soffice", f"-env:UserInstallation=file://{profile}", "--headless",
                        "--cat", f]
        run(lo(small))  # creates the profile
        tools.append(("soffice --cat", lo, 2))

    print(f"document: {big} ({megabytes:.2f} MB)")
    print(f"{'reader':<16}{'total s':>10}{'start-up s':>12}{'s/MB':>12}{'peak MiB':>10}"
          f"{'articles':>10}")
    results = {}
    for name, command, repeats in tools:
        total, rss, articles, _ = best(command(big), repeats)
        startup, small_rss, _, _ = best(command(small), repeats)
        per_mb = max(total - startup, 1e-6) / megabytes
        results[name] = per_mb
        print(f"{name:<16}{total:>10.3f}{startup:>12.3f}{per_mb:>12.5f}{rss / 1024:>10.1f}"
              f"{articles:>10}")
        if name == "aduplan":
            print(f"{'':<16}peak memory over start-up: {(rss - small_rss) / 1024:.1f} MiB = "
                  f"{(rss - small_rss) * 1024 / os.path.getsize(big):.2f} x file size "
                  f"(whole process: {rss * 1024 / os.path.getsize(big):.2f} x)")
    for name, per_mb in results.items():
        if name != "aduplan":
            print(f"aduplan is {per_mb / results['aduplan']:.1f} x faster than {name}")
    shutil.rmtree(profile, ignore_errors=True)


if __name__ == "__main__":
    main()
