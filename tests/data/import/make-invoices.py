#!/usr/bin/env python3
"""Writes the test invoices as flat OpenDocument text and has LibreOffice save each one as
.doc and .docx (monospaced font, fixed columns). Run by hand; the results are committed:

    python3 make-invoices.py && rm -f *.fodt
"""
import os
import re
import subprocess
import tempfile
from xml.sax.saxutils import escape

HERE = os.path.dirname(os.path.abspath(__file__))


def article(number, quantity, unit, part, unit_price, total, note=""):
    """Columns 1-8 line, 9-17 quantity, 18-24 unit, 25-48 part, 49-67 note, 68-81 unit price,
    82-95 total."""
    return (f"{number:>4}    " + f"{quantity:>9}" + " " + f"{unit:<6}" + f"{part:<24}" +
            f"{note:<19}" + f"{unit_price:>14}" + f"{total:>14}")


def paragraph(text):
    """A paragraph with its runs of blanks and its tabs written as OpenDocument needs them."""
    out = []
    for piece in re.split(r"( {2,}|\t)", text):
        if piece == "\t":
            out.append("<text:tab/>")
        elif piece.startswith("  "):
            out.append(f'<text:s text:c="{len(piece)}"/>')
        else:
            out.append(escape(piece))
    return "<text:p>" + "".join(out) + "</text:p>"


def table(cells):
    row = "".join(f'<table:table-cell office:value-type="string">{paragraph(c)}</table:table-cell>'
                  for c in cells)
    return (f'<table:table table:name="Encabezado"><table:table-column '
            f'table:number-columns-repeated="{len(cells)}"/><table:table-row>{row}'
            f"</table:table-row></table:table>")


def document(body):
    return f"""<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"
 office:version="1.3" office:mimetype="application/vnd.oasis.opendocument.text">
<office:font-face-decls><style:font-face style:name="Liberation Mono"
 svg:font-family="'Liberation Mono'" style:font-pitch="fixed"/></office:font-face-decls>
<office:styles><style:default-style style:family="paragraph">
<style:paragraph-properties fo:margin-top="0cm" fo:margin-bottom="0cm"/>
<style:text-properties style:font-name="Liberation Mono" fo:font-size="8pt"/>
</style:default-style></office:styles>
<office:automatic-styles><style:page-layout style:name="pm1"><style:page-layout-properties
 fo:page-width="21cm" fo:page-height="29.7cm" fo:margin-left="1.5cm" fo:margin-right="1.5cm"
 fo:margin-top="1.5cm" fo:margin-bottom="1.5cm"/></style:page-layout></office:automatic-styles>
<office:master-styles><style:master-page style:name="Standard" style:page-layout-name="pm1"/>
</office:master-styles>
<office:body><office:text>{body}</office:text></office:body></office:document>
"""


HEADING = [
    "ACME INDUSTRIAL SUPPLY CO.",
    "COMMERCIAL INVOICE",
    "",
    "LINE      QTY UNIT  PART NUMBER             REMARKS                UNIT PRICE         TOTAL",
]

INVOICES = {
    "invoice-fixed-columns": [
        table(["INVOICE NO. 4711", "DATE 30/11/2026"]),
        *map(paragraph, HEADING),
        paragraph(article(1, "10", "LB", "P/N: AB-100", "4.536", "45.36")),
        paragraph("STEEL BOLT"),
        paragraph("COUNTRY OF ORIGIN: JAPAN"),
        paragraph(""),
        paragraph(article(2, "3", "FT", "P/N: HS-200", "3.00", "9.00", "CUT TO LENGTH")),
        paragraph('   RUBBER HOSE 1/2" D\'ARTAGNAN   '),
        paragraph("COUNTRY OF ORIGIN:  GERMANY  "),
        paragraph(article(3, "1,000", "EA", "P/N: O'NEIL-7", "1.25", "1,250.00")),
        paragraph("TUERCA ÑANDÚ 3/8"),
        paragraph("    9        EA     p/n: LOWER-1 (NOT AN ARTICLE)"),
        paragraph("COUNTRY OF ORIGIN: GERMANY"),
        paragraph(article(4, "5", "PCS", "P/N: TB-4", "2.00", "10.00 USD")),
        paragraph("\tTAB INDENTED WASHER"),
        paragraph(article(5, "2", "GA", "P/N: CL-9", "3.785", "7.57")),
        paragraph("COUNTRY OF ORIGIN: MEXICO"),
        paragraph(""),
        paragraph("TOTAL USD 1,322.93"),
    ],
    "invoice-bad-quantity": [
        *map(paragraph, HEADING),
        paragraph(article(1, "10", "EA", "P/N: AB-100", "1.00", "10.00")),
        paragraph("GOOD LINE"),
        paragraph(article(2, "TEN", "EA", "P/N: AB-101", "1.00", "10.00")),
        paragraph("QUANTITY IN WORDS"),
    ],
    "invoice-origin-first": [
        *map(paragraph, HEADING),
        paragraph("COUNTRY OF ORIGIN: JAPAN"),
        paragraph(article(1, "10", "EA", "P/N: AB-100", "1.00", "10.00")),
        paragraph("BOLT"),
    ],
    "invoice-blank": [paragraph(""), paragraph("   "), paragraph("")],
}


def main():
    with tempfile.TemporaryDirectory() as work:
        for name, body in INVOICES.items():
            source = os.path.join(work, name + ".fodt")
            with open(source, "w", encoding="utf-8") as f:
                f.write(document("".join(body)))
            for target in ("doc:MS Word 97", "docx:MS Word 2007 XML"):
                subprocess.run(["soffice", f"-env:UserInstallation=file://{work}/profile",
                                "--headless", "--convert-to", target, "--outdir", HERE, source],
                               check=True)


if __name__ == "__main__":
    main()
