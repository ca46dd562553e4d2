#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""Invoice document reading and parsing benchmark (not a test). On invoices of 10,000 and 50,000
article blocks written by LibreOffice (bench/process/make_invoice.py, generated when missing,
as .doc and .docx; the PDF printed by soffice from the same blocks in a fixed-pitch font,
tests/fixtures/word/generate.py), times our text extraction alone
(bench/word_text) and `aduplan-cli parse` (extraction, parsing and the JSON records) beside
antiword -w 0, catdoc and, with --soffice, soffice --headless --cat on the .doc, and beside
pdftotext -layout on the PDF. Times are the processor time of the process (user and
system), which a machine busy with other work disturbs far less than the wall-clock time: the
programs run in turn, round after round, on the document and on a 10-block one, so that a
change in the machine's load falls on all of them alike, and each figure is the median of its
rounds, the start-up (the median on the 10-block document) subtracted. The peak resident
memory is the highest of the runs, the figure /usr/bin/time -v gives as the maximum resident
set size. --formats=pdf (or doc, docx, a list with commas) limits the documents timed.

    cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DADUPLAN_BENCH=ON
    cmake --build build-bench --target word_text aduplan-cli
    bench/word_bench.py [--soffice] [--formats=doc,docx,pdf] [BUILD_DIR [BLOCKS ...]]
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
MAKE_INVOICE = os.path.join(ROOT, "bench", "process", "make_invoice.py")
MAKE_FIXED_PITCH = os.path.join(ROOT, "tests", "fixtures", "word", "generate.py")


def document(data, blocks, extension):
    """The benchmark invoice of that many blocks, made when missing. A PDF is read by the place
    of its glyphs, which gives the invoice's columns only from a fixed-pitch font."""
    path = os.path.join(data, f"invoice-{blocks}.{extension}")
    if os.path.exists(path):
        return path
    os.makedirs(data, exist_ok=True)
    if extension == "pdf":
        source = os.path.join(data, f"invoice-{blocks}-mono.doc")
        subprocess.run([sys.executable, MAKE_FIXED_PITCH, "--invoice", str(blocks), source],
                       check=True)
        profile = tempfile.mkdtemp(prefix="bench-lo-")
        subprocess.run(["soffice", f"-env:UserInstallation=file://{profile}", "--headless",
                        "--convert-to", "pdf", "--outdir", data, source],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.replace(os.path.join(data, f"invoice-{blocks}-mono.pdf"), path)
        shutil.rmtree(profile, ignore_errors=True)
    else:
        subprocess.run([sys.executable, MAKE_INVOICE, str(blocks), str(blocks), path], check=True)
    return path


def run(command, token):
    """Processor time, peak resident memory (KiB) and the count of token in the output of one
    run; the output is counted, not kept."""
    process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    count = 0
    tail = b""
    while chunk := process.stdout.read(1 << 16):
        count += (tail + chunk).count(token)
        tail = chunk[-(len(token) - 1):]
    _, status, usage = os.wait4(process.pid, 0)
    if status:
        sys.exit(f"{' '.join(command)} failed ({status})")
    return usage.ru_utime + usage.ru_stime, usage.ru_maxrss, count


def measure(tools, big, small):
    megabytes = os.path.getsize(big) / 1e6
    print(f"\ndocument: {big} ({megabytes:.2f} MB)")
    print(f"{'program':<16}{'cpu s':>10}{'start-up s':>12}{'net s':>10}{'s/MB':>10}"
          f"{'peak MiB':>10}{'records':>10}")
    runs = {name: ([], []) for name, _, _, _ in tools}
    for turn in range(max(repeats for _, _, _, repeats in tools)):
        for name, command, token, repeats in tools:
            if turn < repeats:
                runs[name][0].append(run(command(big), token))
                runs[name][1].append(run(command(small), token))
    net = {}
    for name, (on_big, on_small) in runs.items():
        total = statistics.median(r[0] for r in on_big)
        startup = statistics.median(r[0] for r in on_small)
        net[name] = max(total - startup, 1e-6)
        print(f"{name:<16}{total:>10.3f}{startup:>12.3f}{net[name]:>10.3f}"
              f"{net[name] / megabytes:>10.4f}{max(r[1] for r in on_big) / 1024:>10.1f}"
              f"{on_big[0][2]:>10}")
    return net


def main():
    args = sys.argv[1:]
    with_soffice = "--soffice" in args
    formats = ["doc", "docx", "pdf"]
    for a in args:
        if a.startswith("--formats="):
            formats = a.split("=", 1)[1].split(",")
    args = [a for a in args if a != "--soffice" and not a.startswith("--formats=")]
    build = os.path.abspath(args[0] if args else os.path.join(ROOT, "build-bench"))
    sizes = [int(a) for a in args[1:]] or [10000, 50000]
    word_text = os.path.join(build, "bench", "word_text")
    cli = os.path.join(build, "aduplan-cli")
    for program in (word_text, cli):
        if not os.path.exists(program):
            sys.exit(f"{program} missing: configure with -DADUPLAN_BENCH=ON and build "
                     "word_text and aduplan-cli")
    data = os.path.join(build, "bench-data")
    ours = [("word_text", lambda f: [word_text, f], b"P/N: ", 15),
            ("aduplan parse", lambda f: [cli, "parse", f], b'{"n":', 15)]
    others = []
    if shutil.which("antiword"):
        others.append(("antiword -w 0", lambda f: ["antiword", "-w", "0", f], b"P/N: ", 10))
    if shutil.which("catdoc"):
        others.append(("catdoc", lambda f: ["catdoc", f], b"P/N: ", 15))
    profile = tempfile.mkdtemp(prefix="bench-lo-")
    if with_soffice and shutil.which("soffice"):
        lo = lambda f: ["soffice", f"-env:UserInstallation=file://{profile}", "--headless",
                        "--cat", f]
        others.append(("soffice --cat", lo, b"P/N: ", 2))
    pdf = [("pdftotext -layout", lambda f: ["pdftotext", "-layout", f, "-"], b"P/N: ", 10)]
    for extension in formats:
        small = document(data, 10, extension)
        if extension == "doc" and with_soffice:
            run(others[-1][1](small), b"P/N: ")  # creates the profile
        for blocks in sizes:
            compared = {"doc": others, "docx": [], "pdf": pdf}[extension]
            net = measure(ours + compared, document(data, blocks, extension), small)
            print(f"parse / extraction alone: {net['aduplan parse'] / net['word_text']:.2f} x")
            for name, _, _, _ in compared:
                print(f"aduplan parse takes {net['aduplan parse'] / net[name]:.2f} x the time "
                      f"of {name}")
    shutil.rmtree(profile, ignore_errors=True)


if __name__ == "__main__":
    main()
