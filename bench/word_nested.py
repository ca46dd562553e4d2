#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""Peak memory of reading a hostile .docx (not a test). Writes two packages whose main part
inflates to the same size, a little under the reader's cap: one holding millions of elements
nested inside a run property, which the reader skips, and one holding as many elements side by
side. Runs `aduplan-cli parse` on each and prints its exit status and its peak resident memory
(the maximum resident set size /usr/bin/time -v reports). The nested package is refused at
the reader's depth limit, so both stay at the memory of a flat document: about 21 MiB each
for 4.4 million elements, where the nested one took 741 MiB while the XML reader held every open
element.

    bench/word_nested.py [BUILD_DIR [ELEMENTS]]
"""
import os
import subprocess
import sys
import tempfile
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

CONTENT_TYPES = (
    '<?xml version="1.0"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/'
    'content-types"><Override PartName="/word/document.xml" ContentType="application/'
    'vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/></Types>')
RELATIONSHIPS = (
    '<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/'
    '2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/'
    'officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/>'
    '</Relationships>')


def package(path, inner):
    """A package whose only run carries `inner` inside its properties."""
    document = (
        '<?xml version="1.0"?><w:document xmlns:w="http://schemas.openxmlformats.org/'
        'wordprocessingml/2006/main"><w:body><w:p><w:r><w:rPr>' + inner +
        '</w:rPr><w:t>x</w:t></w:r></w:p></w:body></w:document>')
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        z.writestr("[Content_Types].xml", CONTENT_TYPES)
        z.writestr("_rels/.rels", RELATIONSHIPS)
        z.writestr("word/document.xml", document)


def peak(cli, path):
    """Exit status and maximum resident set size (KiB) of `aduplan-cli parse path`."""
    run = subprocess.run(["/usr/bin/time", "-v", cli, "parse", path], stdout=subprocess.DEVNULL,
                         stderr=subprocess.PIPE, text=True)
    for line in run.stderr.splitlines():
        if "Maximum resident set size" in line:
            return run.returncode, int(line.split(":")[1])
    sys.exit(f"no memory figure from /usr/bin/time for {path}")


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build")
    elements = int(sys.argv[2]) if len(sys.argv) > 2 else 4_400_000
    cli = os.path.join(build, "aduplan-cli")
    with tempfile.TemporaryDirectory() as folder:
        for name, inner in (("nested", "<a>" * elements + "</a>" * elements),
                            ("flat", "<a></a>" * elements)):
            path = os.path.join(folder, name + ".docx")
            package(path, inner)
            status, kib = peak(cli, path)
            print(f"{name:7} {os.path.getsize(path) // 1024:6} KiB file, "
                  f"{len(inner) / (1 << 20):5.1f} MiB inflated: exit {status}, "
                  f"peak {kib / 1024:7.1f} MiB")


if __name__ == "__main__":
    main()
