// libgsf before any Qt header (glib's `signals`): the tests build damaged and hand-made
// containers with it.
#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-input.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile-zip.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-output.h>

#include "import/DocumentImport.h"
#include "import/WordReader.h"
#include "support/ScriptedDialogs.h"
#include "support/TestHome.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <functional>
#include <map>

namespace {

using Streams = std::map<QString, QByteArray>;

QString dataPath(const QString& relative)
{
    return TestHome::testDataPath(QStringLiteral("word/") + relative);
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

/** The body text with line ends written as LF, as the expected texts are stored. */
QString bodyLines(const QString& path)
{
    QString text = WordReader::bodyText(path);
    return text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

/** The error number the reader refuses the file with, or 0 when it reads it. */
long refusal(const QString& path)
{
    try {
        WordReader::bodyText(path);
    } catch (const AppError& error) {
        if (error.description().isEmpty())
            return -1;
        return error.number();
    }
    return 0;
}

/** The streams of the root storage of an OLE2 file. */
Streams oleStreams(const QString& path)
{
    GsfInput* input = gsf_input_stdio_new(QFile::encodeName(path).constData(), nullptr);
    GsfInfile* ole = input ? gsf_infile_msole_new(input, nullptr) : nullptr;
    if (!ole)
        qFatal("not an OLE2 file: %s", qPrintable(path));
    Streams streams;
    for (int i = 0; i < gsf_infile_num_children(ole); ++i) {
        GsfInput* child = gsf_infile_child_by_index(ole, i);
        if (gsf_infile_num_children(GSF_INFILE(child)) < 0) {
            QByteArray bytes(qsizetype(gsf_input_size(child)), Qt::Uninitialized);
            if (!bytes.isEmpty())
                gsf_input_read(child, size_t(bytes.size()),
                               reinterpret_cast<guint8*>(bytes.data()));
            streams[QString::fromUtf8(gsf_infile_name_by_index(ole, i))] = bytes;
        }
        g_object_unref(child);
    }
    g_object_unref(ole);
    g_object_unref(input);
    return streams;
}

void writeOle(const QString& path, const Streams& streams)
{
    GsfOutput* sink = gsf_output_stdio_new(QFile::encodeName(path).constData(), nullptr);
    GsfOutfile* ole = gsf_outfile_msole_new(sink);
    for (const auto& [name, bytes] : streams) {
        GsfOutput* child = gsf_outfile_new_child(ole, name.toUtf8().constData(), FALSE);
        gsf_output_write(child, size_t(bytes.size()),
                         reinterpret_cast<const guint8*>(bytes.constData()));
        gsf_output_close(child);
        g_object_unref(child);
    }
    gsf_output_close(GSF_OUTPUT(ole));
    g_object_unref(ole);
    g_object_unref(sink); // closed with the container
}

/** Writes a zip whose entries are given by path ("word/document.xml"). */
void writeZip(const QString& path, const std::map<QString, QByteArray>& entries)
{
    GsfOutput* sink = gsf_output_stdio_new(QFile::encodeName(path).constData(), nullptr);
    GsfOutfile* zip = gsf_outfile_zip_new(sink, nullptr);
    std::map<QString, GsfOutfile*> dirs;
    for (const auto& [name, bytes] : entries) {
        GsfOutfile* dir = zip;
        const QStringList parts = name.split(QLatin1Char('/'));
        QString dirPath;
        for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
            dirPath += parts[i] + QLatin1Char('/');
            GsfOutfile*& sub = dirs[dirPath];
            if (!sub)
                sub = GSF_OUTFILE(gsf_outfile_new_child(dir, parts[i].toUtf8().constData(), TRUE));
            dir = sub;
        }
        GsfOutput* child = gsf_outfile_new_child(dir, parts.last().toUtf8().constData(), FALSE);
        gsf_output_write(child, size_t(bytes.size()),
                         reinterpret_cast<const guint8*>(bytes.constData()));
        gsf_output_close(child);
        g_object_unref(child);
    }
    for (auto it = dirs.rbegin(); it != dirs.rend(); ++it) { // deepest directories first
        gsf_output_close(GSF_OUTPUT(it->second));
        g_object_unref(it->second);
    }
    gsf_output_close(GSF_OUTPUT(zip));
    g_object_unref(zip);
    g_object_unref(sink); // closed with the container
}

/** A minimal WordprocessingML package around the given body markup. */
std::map<QString, QByteArray> docxEntries(const QByteArray& body)
{
    return {
        {QStringLiteral("[Content_Types].xml"),
         "<?xml version=\"1.0\"?><Types xmlns=\"http://schemas.openxmlformats.org/package/2006/"
         "content-types\"><Override PartName=\"/word/document.xml\" ContentType=\"application/"
         "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/></Types>"},
        {QStringLiteral("_rels/.rels"),
         "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/"
         "2006/relationships\"><Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/"
         "officeDocument/2006/relationships/officeDocument\" Target=\"word/document.xml\"/>"
         "</Relationships>"},
        {QStringLiteral("word/document.xml"),
         "<?xml version=\"1.0\"?><w:document xmlns:w=\"http://schemas.openxmlformats.org/"
         "wordprocessingml/2006/main\" xmlns:mc=\"http://schemas.openxmlformats.org/"
         "markup-compatibility/2006\"><w:body>" +
             body + "</w:body></w:document>"},
    };
}

quint32 le32(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}
template <typename T> void setLe(QByteArray& bytes, qsizetype at, T value)
{
    qToLittleEndian(value, bytes.data() + at);
}
void setLe32(QByteArray& bytes, qsizetype at, quint32 value)
{
    setLe(bytes, at, value);
}

constexpr qsizetype kFcClx = 0x1A2, kLcbClx = 0x1A6, kCcpText = 0x4C;

/**
 * Rewrites a document of one 16-bit piece as a fast-saved one would look: the text split into
 * pieces stored at the end of the WordDocument stream in reverse order, every other piece
 * 8-bit, the original text left behind as stale text.
 */
Streams splitIntoPieces(Streams streams, qsizetype pieceLength)
{
    QByteArray& word = streams[QStringLiteral("WordDocument")];
    QByteArray& table = streams[QStringLiteral("1Table")];
    const QByteArray clx = table.mid(le32(word, kFcClx), le32(word, kLcbClx));
    if (clx.size() != 1 + 4 + 4 * 2 + 8 || clx[0] != 0x02)
        qFatal("expected a document of one piece");
    const quint32 length = le32(clx, 5 + 4);
    const quint32 fc = le32(clx, 5 + 8 + 2);
    if (fc & 0x40000000)
        qFatal("expected a 16-bit piece");
    const QString text =
        QString::fromUtf16(reinterpret_cast<const char16_t*>(word.constData() + fc), length);

    struct Piece {
        quint32 cp;
        quint32 fc;
    };
    std::vector<Piece> pieces;
    for (quint32 cp = 0; cp < length; cp += quint32(pieceLength))
        pieces.push_back({cp, 0});
    for (qsizetype i = qsizetype(pieces.size()) - 1; i >= 0; --i) {
        const quint32 end = std::min<quint32>(length, pieces[i].cp + quint32(pieceLength));
        const QString piece = text.mid(pieces[i].cp, end - pieces[i].cp);
        if (i % 2 == 0 && piece == QString::fromLatin1(piece.toLatin1())) {
            pieces[i].fc = quint32(word.size()) * 2 | 0x40000000;
            word += piece.toLatin1();
        } else {
            if (word.size() % 2)
                word += '\0';
            pieces[i].fc = quint32(word.size());
            word.append(reinterpret_cast<const char*>(piece.utf16()), piece.size() * 2);
        }
    }
    QByteArray plc;
    for (const Piece& piece : pieces)
        plc.append(reinterpret_cast<const char*>(&piece.cp), 4); // little-endian host
    plc.append(reinterpret_cast<const char*>(&length), 4);
    for (const Piece& piece : pieces) {
        plc.append(2, '\0');
        plc.append(reinterpret_cast<const char*>(&piece.fc), 4);
        plc.append(2, '\0');
    }
    QByteArray newClx(1, '\x02');
    newClx.append(4, '\0');
    setLe32(newClx, 1, quint32(plc.size()));
    newClx += plc;
    setLe32(word, kFcClx, quint32(table.size()));
    setLe32(word, kLcbClx, quint32(newClx.size()));
    table += newClx;
    return streams;
}

} // namespace

class TestWordReader : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString temp(const QString& name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void corpus_data();
    void corpus();
    void generatedDocuments_data();
    void generatedDocuments();
    void openXmlMarkup();
    void refusals();
    void damagedBinary();
    void leerDocumento();
};

void TestWordReader::corpus_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("outcome");
    QFile manifest(dataPath(QStringLiteral("corpus/MANIFEST.tsv")));
    QVERIFY(manifest.open(QIODevice::ReadOnly | QIODevice::Text));
    manifest.readLine(); // column names
    int rows = 0;
    while (!manifest.atEnd()) {
        const QStringList columns = QString::fromUtf8(manifest.readLine()).split(QLatin1Char('\t'));
        QVERIFY(columns.size() >= 7);
        QTest::newRow(qPrintable(columns[0])) << columns[0] << columns[6];
        ++rows;
    }
    QCOMPARE(rows, 48);
}

// Every corpus file: the body text we settled on (tests/fixtures/word/DIFFERENCES.md tells where
// and why it differs from the other readers), or the refusal the manifest asks for.
void TestWordReader::corpus()
{
    QFETCH(QString, file);
    QFETCH(QString, outcome);
    const QString path = dataPath(QStringLiteral("corpus/") + file);
    if (outcome.startsWith(QLatin1String("text"))) {
        const QString expected = QString::fromUtf8(
            readAll(dataPath(QStringLiteral("corpus/body/") + file + QStringLiteral(".txt"))));
        QCOMPARE(bodyLines(path), expected);
    } else if (outcome.contains(QLatin1String("Word 6/95"))) {
        QCOMPARE(refusal(path), long(WordReader::OldWordVersion));
    } else if (outcome.contains(QLatin1String("encrypted"))) {
        QCOMPARE(refusal(path), long(WordReader::Encrypted));
    } else if (outcome.contains(QLatin1String("rights-managed"))) {
        QCOMPARE(refusal(path), long(WordReader::RightsManaged));
    } else {
        QFAIL(qPrintable(QStringLiteral("unknown outcome ") + outcome));
    }
}

void TestWordReader::generatedDocuments_data()
{
    QTest::addColumn<QString>("document");
    QTest::addColumn<QString>("source");
    for (const char* name : {"invoice", "unicode", "long"})
        for (const char* suffix : {".doc", ".docx"}) {
            const QString base = QStringLiteral("generated/") + QLatin1String(name);
            QTest::newRow((QByteArray(name) + suffix).constData())
                << base + QLatin1String(suffix) << base + QStringLiteral(".txt");
        }
}

// Documents written by a word processor from a text: the body is that text, character for
// character (runs of blanks, tabs, accents, euro sign, CJK), also once the long one is rewritten
// in pieces as a fast save leaves it.
void TestWordReader::generatedDocuments()
{
    QFETCH(QString, document);
    QFETCH(QString, source);
    const QString expected = QString::fromUtf8(readAll(dataPath(source)));
    QCOMPARE(bodyLines(dataPath(document)), expected);
    if (document.endsWith(QLatin1String("long.doc"))) {
        const QString pieces = temp(QStringLiteral("pieces.doc"));
        writeOle(pieces, splitIntoPieces(oleStreams(dataPath(document)), 4999));
        QCOMPARE(bodyLines(pieces), expected);
    }
}

void TestWordReader::openXmlMarkup()
{
    const QString path = temp(QStringLiteral("markup.docx"));
    const auto body = [&](const QByteArray& markup) {
        writeZip(path, docxEntries(markup));
        return WordReader::bodyText(path);
    };
    // No-break spaces become blanks, runs of blanks stay, tabs and breaks end up as text.
    QCOMPARE(body("<w:p><w:r><w:t xml:space=\"preserve\">  1\xC2\xA0"
                  "EA   x</w:t><w:tab/>"
                  "<w:t>y</w:t><w:br/><w:t>z</w:t><w:noBreakHyphen/><w:softHyphen/></w:r></w:p>"),
             QStringLiteral("  1 EA   x\ty\rz-\r"));
    // Field instructions dropped, results kept, also nested; a field left open reads as text.
    QCOMPARE(body("<w:p><w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText>PAGE"
                  "</w:instrText></w:r><w:r><w:fldChar w:fldCharType=\"separate\"/></w:r><w:r>"
                  "<w:t>7</w:t></w:r><w:r><w:fldChar w:fldCharType=\"begin\"/><w:t>code</w:t>"
                  "<w:fldChar w:fldCharType=\"separate\"/><w:t>+</w:t><w:fldChar "
                  "w:fldCharType=\"end\"/></w:r><w:r><w:fldChar w:fldCharType=\"end\"/></w:r></w:p>"
                  "<w:p><w:r><w:fldChar w:fldCharType=\"begin\"/><w:t>open</w:t></w:r></w:p>"),
             QStringLiteral("7+\ropen\r"));
    // Deleted text and a deleted paragraph mark; only the fallback of alternative content.
    QCOMPARE(body("<w:p><w:pPr><w:rPr><w:del w:id=\"1\"/></w:rPr></w:pPr><w:r><w:t>a</w:t></w:r>"
                  "<w:del><w:r><w:delText>gone</w:delText></w:r></w:del></w:p><w:p><w:ins><w:r>"
                  "<w:t>b</w:t></w:r></w:ins><mc:AlternateContent><mc:Choice Requires=\"x\"><w:r>"
                  "<w:t>choice</w:t></w:r></mc:Choice><mc:Fallback><w:r><w:t>c</w:t></w:r>"
                  "</mc:Fallback></mc:AlternateContent></w:p>"),
             QStringLiteral("abc\r"));
}

void TestWordReader::refusals()
{
    const auto file = [&](const QString& name, const QByteArray& bytes) {
        writeAll(temp(name), bytes);
        return temp(name);
    };
    QCOMPARE(refusal(temp(QStringLiteral("missing.doc"))), long(WordReader::CannotOpen));
    QCOMPARE(refusal(file(QStringLiteral("empty.doc"), {})), long(WordReader::NotWordDocument));
    QCOMPARE(refusal(file(QStringLiteral("text.doc"), "       1   10.00 EA     P/N: AB-100\r\n")),
             long(WordReader::NotWordDocument));
    QCOMPARE(refusal(file(QStringLiteral("rtf.doc"), "{\\rtf1\\ansi hello}")),
             long(WordReader::NotWordDocument));

    // Zips that are no Word package: no relationships, or a main part of another kind.
    const QString zip = temp(QStringLiteral("other.docx"));
    writeZip(zip, {{QStringLiteral("content.xml"), "<office/>"}});
    QCOMPARE(refusal(zip), long(WordReader::NotWordDocument));
    auto sheet = docxEntries({});
    sheet[QStringLiteral("word/document.xml")] = "<workbook xmlns=\"urn:x\"/>";
    writeZip(zip, sheet);
    QCOMPARE(refusal(zip), long(WordReader::NotWordDocument));
    // Broken XML and a main part the relationships name but the zip lacks.
    auto broken = docxEntries("<w:p><w:r><w:t>x</w:r></w:p>");
    writeZip(zip, broken);
    QCOMPARE(refusal(zip), long(WordReader::Damaged));
    writeZip(zip, docxEntries("<w:p>" + QByteArray("<w:r>").repeated(5000) + "</w:p>"));
    QCOMPARE(refusal(zip), long(WordReader::Damaged)); // nesting no document has
    // A small file whose main part inflates past what any invoice holds.
    writeZip(zip,
             docxEntries("<w:p><w:r><w:t>" + QByteArray(33 << 20, 'x') + "</w:t></w:r></w:p>"));
    QVERIFY(QFileInfo(zip).size() < (1 << 20));
    QCOMPARE(refusal(zip), long(WordReader::TooLarge));
    broken.erase(QStringLiteral("word/document.xml"));
    writeZip(zip, broken);
    QCOMPARE(refusal(zip), long(WordReader::Damaged));

    // Truncated files: half of a document written by the word processor.
    for (const char* name :
         {"generated/long.doc", "generated/long.docx", "generated/invoice.doc"}) {
        const QByteArray bytes = readAll(dataPath(QLatin1String(name)));
        const long number = refusal(file(QStringLiteral("half"), bytes.left(bytes.size() / 2)));
        QVERIFY2(number == WordReader::Damaged, name);
    }
    // An OLE2 file that holds no Word document.
    const QString ole = temp(QStringLiteral("sheet.doc"));
    writeOle(ole, {{QStringLiteral("Workbook"), QByteArray(5000, 'x')}});
    QCOMPARE(refusal(ole), long(WordReader::NotWordDocument));
}

void TestWordReader::damagedBinary()
{
    const Streams original = oleStreams(dataPath(QStringLiteral("generated/invoice.doc")));
    const QString path = temp(QStringLiteral("edited.doc"));
    const auto word = [](Streams& s) -> QByteArray& {
        return s[QStringLiteral("WordDocument")];
    };
    const auto at = [&](qsizetype offset, auto value) {
        return [=](Streams& s) {
            setLe(word(s), offset, value);
        };
    };
    const std::pair<std::function<void(Streams&)>, long> edits[] = {
        {[](Streams&) {}, 0},
        {at(0, quint16(0xA5DC)), WordReader::OldWordVersion},
        {at(2, quint16(0x0068)), WordReader::OldWordVersion},
        {at(0, quint16(0x1234)), WordReader::Damaged},
        {[&](Streams& s) { word(s)[0x0B] = char(word(s)[0x0B] | 0x01); }, // fEncrypted
         WordReader::Encrypted},
        {at(0x20, quint16(15)), WordReader::Damaged},
        {[&](Streams& s) { word(s).truncate(0x100); }, WordReader::Damaged},
        {at(kLcbClx, quint32(0x7FFFFFFF)), WordReader::Damaged},
        {at(kFcClx, quint32(0xFFFFFFF0)), WordReader::Damaged},
        {at(kCcpText, quint32(0x7FFFFFF0)), WordReader::Damaged},
        {at(kCcpText, quint32(0xFFFFFFF0)), WordReader::Damaged},
        // The piece pointing past the end of the stream, or its property-modifier size wrong.
        {[&](Streams& s) {
             setLe32(s[QStringLiteral("1Table")], le32(word(s), kFcClx) + 5 + 8 + 2,
                     quint32(word(s).size()) - 4);
         },
         WordReader::Damaged},
        {[&](Streams& s) { s[QStringLiteral("1Table")][le32(word(s), kFcClx)] = 0x01; },
         WordReader::Damaged},
        {[](Streams& s) { s.erase(QStringLiteral("1Table")); }, WordReader::Damaged},
        {[](Streams& s) {
             s[QStringLiteral("worddocument")] = s.extract(QStringLiteral("WordDocument")).mapped();
         },
         0},
        {[](Streams& s) { s[QStringLiteral("EncryptionInfo")] = "x"; }, WordReader::Encrypted},
    };
    for (qsizetype i = 0; i < qsizetype(std::size(edits)); ++i) {
        Streams streams = original;
        edits[i].first(streams);
        writeOle(path, streams);
        QVERIFY2(refusal(path) == edits[i].second, qPrintable(QString::number(i)));
    }
}

void TestWordReader::leerDocumento()
{
    // The final paragraph mark goes; the lines keep their carriage returns.
    QCOMPARE(LeerDocumento(dataPath(QStringLiteral("corpus/poi-empty.doc"))), QStringLiteral(""));

    // A body whose last paragraph mark is deleted has no mark to drop: its text stays whole.
    const QString joined = m_dir.filePath(QStringLiteral("joined.docx"));
    writeZip(joined, docxEntries("<w:p><w:r><w:t>a</w:t></w:r></w:p><w:p><w:pPr><w:rPr><w:del "
                                 "w:id=\"1\"/></w:rPr></w:pPr><w:r><w:t>bc</w:t></w:r></w:p>"));
    QCOMPARE(LeerDocumento(joined), QStringLiteral("a\rbc"));

    // The reader raises; reading an invoice tells the operator and reads nothing.
    ScriptedDialogs dialogs;
    const InvoiceRead word6 =
        LeerFactura(dialogs, dataPath(QStringLiteral("corpus/poi-Word6.doc")));
    QCOMPARE(word6.outcome, ImportOutcome::Failed);
    QVERIFY(word6.lines.isEmpty());
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages[0].icon, MessageIcon::Critical);
    QVERIFY(dialogs.messages[0].text.startsWith(
        QStringLiteral("No se pudo leer la factura %1. El documento está guardado con Word 6.0/95")
            .arg(dataPath(QStringLiteral("corpus/poi-Word6.doc")))));
    QVERIFY(dialogs.messages[0].text.endsWith(QStringLiteral(".\n\n7102")));
}

QTEST_GUILESS_MAIN(TestWordReader)
#include "tst_wordreader.moc"
