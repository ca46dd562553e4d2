// SPDX-License-Identifier: Apache-2.0
#include "import/DocumentImport.h"
#include "import/InvoiceParser.h"
#include "import/WordReader.h"
#include "support/Golden.h"
#include "support/ScriptedDialogs.h"
#include "support/TestHome.h"

#include <QFile>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QString dataPath(const QString& relative)
{
    return TestHome::testDataPath(u"word/"_s + relative);
}

/** The error number the reader refuses the file with, or 0 when it reads it. */
long refusal(const QString& path)
{
    try {
        WordReader::bodyText(path);
    } catch (const AppError& error) {
        return error.description().isEmpty() ? -1 : error.number();
    }
    return 0;
}

/** The rows of a manifest under tests/fixtures/word, without its header, split at tabs. */
QList<QStringList> manifest(const QString& relative)
{
    QList<QStringList> rows;
    for (const QString& line :
         TestHome::testData(u"word/"_s + relative).split(u'\n', Qt::SkipEmptyParts).mid(1))
        rows << line.split(u'\t');
    return rows;
}

/** The invoice records of a document, one line each, every field. */
QString records(const QString& path)
{
    const QString document = LeerDocumento(path);
    QString text;
    for (const InvoiceLine& line : InvoiceParser::parse(document).lines())
        text +=
            QStringList({line.partNumber, QString::number(line.quantity, 'g', 17), line.unit,
                         line.description, line.origin, QString::number(line.unitPrice, 'g', 17),
                         QString::number(line.total, 'g', 17)})
                .join(u'|') +
            u'\n';
    return text;
}

} // namespace

class TestWordReader : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void documents_data();
    void documents();
    void readingAnInvoice();
    void convertedDocuments_data();
    void convertedDocuments();
};

// Every file of the corpus (tests/fixtures/word/DIFFERENCES.md tells where and why our body text
// differs from the other readers') and of MANIFEST.tsv (documents a word processor wrote, and
// hand-made and damaged files): its body text, line ends written as LF, or the error number it
// is refused with.
void TestWordReader::documents_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("expected");
    const QList<QStringList> corpus = manifest(u"corpus/MANIFEST.tsv"_s);
    QCOMPARE(corpus.size(), 48);
    for (const QStringList& row : corpus) {
        const QString outcome = row.value(6);
        const QString expected =
            outcome.startsWith(u"text"_s)       ? u"corpus/body/"_s + row[0] + u".txt"_s
            : outcome.contains(u"Word 6/95"_s)  ? QString::number(WordReader::OldWordVersion)
            : outcome.contains(u"encrypted"_s)  ? QString::number(WordReader::Encrypted)
            : outcome.contains(u"rights-man"_s) ? QString::number(WordReader::RightsManaged)
                                                : outcome;
        QTest::newRow(qPrintable(row[0])) << u"corpus/"_s + row[0] << expected;
    }
    for (const QStringList& row : manifest(u"MANIFEST.tsv"_s))
        QTest::newRow(qPrintable(row[0])) << row[0] << row.value(1);
}

void TestWordReader::documents()
{
    QFETCH(QString, file);
    QFETCH(QString, expected);
    bool isNumber = false;
    const long number = expected.toLong(&isNumber);
    if (isNumber)
        QCOMPARE(refusal(dataPath(file)), number);
    else
        COMPARE_GOLDEN(WordReader::bodyText(dataPath(file)).replace(u'\r', u'\n').toUtf8(),
                       u"word/"_s + expected);
}

void TestWordReader::readingAnInvoice()
{
    // The final paragraph mark goes, the lines keep their carriage returns; a body whose last
    // mark is deleted has none to drop.
    QCOMPARE(LeerDocumento(dataPath(u"corpus/poi-empty.doc"_s)), u""_s);
    QCOMPARE(LeerDocumento(dataPath(u"cases/deleted-last-mark.docx"_s)), u"a\rbc"_s);

    // The reader raises; reading an invoice tells the operator and reads nothing.
    ScriptedDialogs dialogs;
    const InvoiceRead word6 = LeerFactura(dialogs, dataPath(u"corpus/poi-Word6.doc"_s));
    QCOMPARE(word6.outcome, ImportOutcome::Failed);
    QVERIFY(word6.parsed.records.isEmpty());
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages[0].icon, MessageIcon::Critical);
    const QString& message = dialogs.messages[0].text;
    QVERIFY(message.contains(dataPath(u"corpus/poi-Word6.doc"_s)) && message.endsWith(u"7102"_s));
}

// Word documents a word processor saved as OpenDocument text and printed to PDF
// (converted/MANIFEST.tsv: the demo invoices, an invoice of the import tests and the documents
// of the corpus): an OpenDocument text reads as the same body text as its original, a PDF as
// the same invoice records, or when its original is no invoice the same printed lines; where a
// conversion cannot, the row says why and the two differ.
void TestWordReader::convertedDocuments_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("original");
    QTest::addColumn<QString>("difference");
    for (const QStringList& row : manifest(u"converted/MANIFEST.tsv"_s))
        QTest::newRow(qPrintable(row[0])) << row[0] << row.value(1) << row.value(2);
}

void TestWordReader::convertedDocuments()
{
    QFETCH(QString, file);
    QFETCH(QString, original);
    QFETCH(QString, difference);
    // A PDF of no invoice: its lines as a page prints them, blanks collapsed, no empty lines.
    const bool invoice = !records(dataPath(original)).isEmpty();
    const auto outcome = [&](const QString& path) {
        return file.endsWith(u".odt"_s) ? WordReader::bodyText(dataPath(path))
               : invoice                ? records(dataPath(path))
                                        : WordReader::bodyText(dataPath(path))
                               .replace(QRegularExpression(u"\\s*\\r\\s*"_s), u"\n"_s)
                               .replace(QRegularExpression(u"[^\\S\\n]+"_s), u" "_s)
                               .trimmed();
    };
    const QString read = outcome(file);
    QVERIFY(!read.isEmpty());
    if (difference.isEmpty())
        QCOMPARE(read, outcome(original));
    else
        QVERIFY2(read != outcome(original), qPrintable(difference));
}

QTEST_GUILESS_MAIN(TestWordReader)
#include "tst_wordreader.moc"
