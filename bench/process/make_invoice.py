#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""Writes a benchmark invoice as a Word 97 .doc, or as a .docx when OUT ends so (LibreOffice
converts a flat OpenDocument text): LINES article blocks in fixed columns over ARTICLES distinct
part numbers (P-00000 ...), each with its description and origin line.

    make_invoice.py LINES ARTICLES OUT.doc|OUT.docx
"""
import os
import shutil
import subprocess
import sys
import tempfile
from xml.sax.saxutils import escape


def article(number, quantity, unit, part, unit_price, total):
    """Columns 1-8 line, 9-17 quantity, 18-24 unit, 25-48 part, 49-67 note, 68-81 unit price,
    82-95 total."""
    return (f"{number:>6}  " + f"{quantity:>9}" + " " + f"{unit:<6}" + f"{part:<24}" +
            f"{'':<19}" + f"{unit_price:>14}" + f"{total:>14}")


def paragraph(text):
    out = []
    run = 0
    for ch in text + "\0":
        if ch == " ":
            run += 1
            continue
        if run:  # every blank written out: a leading one would be dropped
            out.append(f'<text:s text:c="{run}"/>')
            run = 0
        if ch != "\0":
            out.append(escape(ch))
    return "<text:p>" + "".join(out) + "</text:p>"


def document(body):
    return f"""<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 office:version="1.3" office:mimetype="application/vnd.oasis.opendocument.text">
<office:body><office:text>{body}</office:text></office:body></office:document>
"""


def main():
    lines, articles, out = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
    body = [paragraph("COMMERCIAL INVOICE")]
    for n in range(lines):
        part = f"P-{(n * 7919) % articles:05d}"
        body.append(paragraph(article(n + 1, "2", "EA", "P/N: " + part, "1.50", "3.00")))
        body.append(paragraph("ARTICULO"))
        body.append(paragraph("COUNTRY OF ORIGIN: JAPAN"))
    with tempfile.TemporaryDirectory() as work:
        source = os.path.join(work, "invoice.fodt")
        with open(source, "w", encoding="utf-8") as f:
            f.write(document("".join(body)))
        docx = out.lower().endswith(".docx")
        target = "docx:MS Word 2007 XML" if docx else "doc:MS Word 97"
        subprocess.run(["soffice", f"-env:UserInstallation=file://{work}/profile", "--headless",
                        "--convert-to", target, "--outdir", work, source],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        shutil.move(os.path.join(work, "invoice.docx" if docx else "invoice.doc"), out)


if __name__ == "__main__":
    main()
