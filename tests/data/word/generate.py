#!/usr/bin/env python3
"""Writes the test documents of tests/data/word/generated with LibreOffice (run by hand when
they must change; the tests use the committed files). Also writes the large invoice of the
benchmark: generate.py --invoice N OUT.doc (N article blocks; 0 gives a one-paragraph document)"""
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "generated")

ORIGINS = ["USA", "GERMANY", "JAPAN", "MEXICO"]


def article_line(n, qty, unit, part, price, total):
    """An article line in the invoice's fixed columns (1-8, 9-17, 18-24, 25-48, 49-67, 68-81,
    82-95)."""
    line = f"{n:>8}{qty:>9}{unit:>7} P/N: {part:<18}{'':19}{price:>14}{total:>14}"
    assert len(line) == 95, line
    return line


def invoice_lines(blocks):
    lines = ["COMMERCIAL INVOICE 2024-0815", "SOLD TO: ACME S.A.  --  BUENOS AIRES", "",
             "    ITEM      QTY UNIT   PART NUMBER" + " " * 38 + "UNIT PRICE         TOTAL"]
    for i in range(1, blocks + 1):
        qty = f"{(i % 97) + 1}.00"
        price = f"{(i * 7) % 1000 + 0.25:.2f}"
        total = f"{float(qty) * float(price):.2f}"
        lines.append(article_line(i, qty, "EA" if i % 3 else "KG", f"AB-{i:05d}", price, total))
        lines.append(f"          VALVE ASSEMBLY  {i}  STAINLESS   (2  blanks,   3 blanks)")
        lines.append(f"          COUNTRY OF ORIGIN: {ORIGINS[i % len(ORIGINS)]}")
        lines.append("")
    lines.append("                                                  TOTAL FOB:        1,250.00")
    return lines


def convert(source, target_dir, filters):
    profile = tempfile.mkdtemp(prefix="lo-profile-")
    for f in filters:
        subprocess.run(["soffice", f"-env:UserInstallation=file://{profile}", "--headless",
                        "--infilter=Text (encoded):UTF8,LF,Liberation Mono,en-US",
                        "--convert-to", f, "--outdir", target_dir, source],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def write_text(path, lines):
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


def main():
    if len(sys.argv) == 4 and sys.argv[1] == "--invoice":
        target = os.path.abspath(sys.argv[3])
        with tempfile.TemporaryDirectory() as tmp:
            name = os.path.splitext(os.path.basename(target))[0]
            src = os.path.join(tmp, name + ".txt")
            blocks = int(sys.argv[2])
            write_text(src, invoice_lines(blocks) if blocks else ["One paragraph."])
            convert(src, os.path.dirname(target), ["doc:MS Word 97"])
        return
    os.makedirs(OUT, exist_ok=True)
    documents = {
        "invoice": invoice_lines(6),
        "unicode": ["Descripción: válvula de presión, ÁÉÍÓÚ áéíóú Üü Ññ ¿¡ ºª",
                    "       1    2.00 PZA    P/N: ÑANDÚ-€1                     1.250,00 €",
                    "Precio en euros: 99,90 € — “comillas” ‘simples’ … • ™",
                    "中文部品 東京 日本語の説明 한국어",
                    "Ελληνικά Русский текст"],
        "long": invoice_lines(1500),
    }
    for name, lines in documents.items():
        src = os.path.join(OUT, name + ".txt")
        write_text(src, lines)
        convert(src, OUT, ["doc:MS Word 97", "docx:MS Word 2007 XML"])


if __name__ == "__main__":
    main()
