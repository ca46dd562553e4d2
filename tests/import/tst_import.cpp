// SPDX-License-Identifier: Apache-2.0
#include "components/AppError.h"
#include "data/ArticleStore.h"
#include "import/ArticleLoading.h"
#include "import/DocumentImport.h"
#include "import/InvoiceParser.h"
#include "import/WordReader.h"
#include "support/Cli.h"
#include "support/Golden.h"
#include "support/ScriptedDialogs.h"
#include "support/TestHome.h"
#include "support/WorkHome.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace InvoiceParser;

namespace {

InvoiceLine article(const char* part, double quantity, const char* unit, double total,
                    const char* origin = "", const char* description = nullptr)
{
    const QString p = QString::fromUtf8(part);
    const QString d = description ? QString::fromUtf8(description) : p + u" DESC"_s;
    const double price = quantity == 0 ? 0 : total / quantity;
    return {p, quantity, d, QString::fromUtf8(origin), price, total, QString::fromUtf8(unit)};
}

QString invoice(const QString& name)
{
    return TestHome::testDataPath(u"import/"_s + name);
}

/** Relations and two internos holding former rows (import/former-rows.work.sql). */
struct Fixture : WorkHome {

    Fixture()
        : WorkHome({u"import/former-rows.work.sql"_s})
    {}

    bool load(const QList<InvoiceLine>& lines, const QString& interno = u"100"_s)
    {
        const std::optional<QList<Article>> articles = CargarArticulos(ws, lines);
        if (!articles)
            return false;
        TransactionGuard transaction(ws.work());
        ArticleStore(ws.work()).replaceRows(interno, *articles);
        transaction.commit();
        return true;
    }

    /** ARTORD|ARTNRO|ARTDSC|PRCDUN|ARTCAN|ARTUNI|ARTTOT|ARTORG|PRCEST of an interno, in order. */
    QStringList rows(const QString& interno = u"100"_s)
    {
        return queryRows(ws.work(),
                         u"select ARTORD, ARTNRO, ARTDSC, PRCDUN, ARTCAN, ARTUNI, ARTTOT, ARTORG, "
                         "PRCEST from ART where INTNRO = ? order by ARTORD"_s,
                         {interno});
    }
};

void addFormats()
{
    QTest::addColumn<QString>("suffix");
    QTest::newRow("doc") << u".doc"_s;
    QTest::newRow("docx") << u".docx"_s;
}

/**
 * An article line in the invoice's fixed columns: 1-8 line number, 9-17 quantity, 18-24 unit,
 * 25-48 part number, 49-67 not read, 68-81 unit price, 82-95 total.
 */
QString articleLine(const QString& quantity, const QString& unit, const QString& part,
                    const QString& unitPrice, const QString& total,
                    const QString& notRead = u"  MADE TO ORDER"_s)
{
    return u"   1    "_s + quantity.rightJustified(9) + QLatin1Char(' ') + unit.leftJustified(6) +
           part.leftJustified(24) + notRead.leftJustified(19) + unitPrice.rightJustified(14) +
           total.rightJustified(14);
}

QString document(const QStringList& lines)
{
    return lines.join(QLatin1Char('\r'));
}

/** Each record as its fields joined by "|", the numbers written shortest. */
QStringList records(const QList<InvoiceLine>& lines)
{
    const auto number = [](double value) {
        return QString::number(value, 'g', QLocale::FloatingPointShortest);
    };
    QStringList out;
    for (const InvoiceLine& l : lines)
        out << QStringList{l.partNumber, number(l.quantity),  l.unit,         l.description,
                           l.origin,     number(l.unitPrice), number(l.total)}
                   .join(QLatin1Char('|'));
    return out;
}

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

/**
 * The Word reader over its corpus, an invoice read into its lines, and the lines into the work
 * database.
 */
class TestImport : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roundsAsFormatting()
    {
        // Halves away from zero, on the decimal text of the value (1.005 lies just below).
        QCOMPARE(roundFormatted(1.005, 2), 1.01);
        QCOMPARE(roundFormatted(-2.345, 2), -2.35);
    }

    // import/loaded.txt: each load (interno: whether it loaded), what the operator saw and the
    // interno's rows after it. Units are compared exactly: lower-case ones stay as read,
    // quantity and price too; a relation without code leaves the origin empty; interno 200
    // keeps its row. An invoice without articles leaves the interno empty. Apostrophes in every
    // value are bound; in the description they become acute accents. Leaving the origin
    // relation entry without saving, or a converted quantity of 0: the former rows stay.
    void loadsRowsOrKeepsTheFormerOnes()
    {
        Fixture f;
        QString log;
        const auto load = [&](const QList<InvoiceLine>& lines, const QString& interno) {
            log += u"> %1: %2\n"_s.arg(interno).arg(f.load(lines, interno));
            log += f.dialogs.takeJournal() + f.rows(interno).join(u'\n') + u'\n';
        };
        load({article("A-5", 2, "ea", 1, "NOWHERE"), article("A-6", 2, "lb", 3, "US")}, u"100"_s);
        log += f.rows(u"200"_s).join(u'\n') + u'\n';
        load({}, u"100"_s);
        f.home.runWorkSql(u"insert into ORG (PAI, ORI) values ('COTE D''IVOIRE', '4''7');\n"_s);
        load({article("O'NEIL-1", 1, "E'A", 2, "COTE D'IVOIRE", "DON'T 'PANIC'")}, u"O'1"_s);
        f.dialogs.originAnswers << OriginRelation{u"CHILE"_s, u"208"_s} << std::nullopt;
        load({article("A-1", 1, "EA", 1, "CHILE"), article("A-2", 1, "EA", 1, "FRANCE")}, u"200"_s);
        load({article("Z-1", 0, "LB", 1)}, u"200"_s);
        COMPARE_GOLDEN(log.toUtf8(), u"import/loaded.txt"_s);
    }

    /** Invoices saved by a word processor, read end to end by the parse command. */
    void parseCommandPrintsTheRecords()
    {
        const TestHome home;
        COMPARE_CLI_TRANSCRIPT(home.path(), u"import/parse.txt"_s);
    }

    // Read, then loaded as the process loads it: each document's outcome, what the operator saw
    // and the rows of interno 100 after it, in import/imported.doc.txt and .docx.txt.
    void importsDocuments_data() { addFormats(); }
    void importsDocuments()
    {
        QFETCH(QString, suffix);
        Fixture f;
        QStringList log;
        const auto import = [&](const QString& path) {
            const PreparedImport read = ImportarDocumento(f.ws, path, u"100"_s);
            ImportOutcome outcome = read.outcome;
            if (outcome == ImportOutcome::Loaded && !f.load(read.lines))
                outcome = ImportOutcome::Failed;
            log << u"== %1: outcome %2"_s.arg(QFileInfo(path).fileName()).arg(int(outcome))
                << f.dialogs.journal << f.rows();
            f.dialogs.journal.clear();
        };
        f.dialogs.originAnswers << OriginRelation{u"GERMANY"_s, u"438"_s}
                                << OriginRelation{u"GERMANY"_s, u"438"_s};
        for (const char* name : {"invoice-blank", "invoice-bad-quantity", "invoice-origin-first",
                                 "no-such-invoice", "invoice-fixed-columns"})
            import(invoice(QLatin1String(name) + suffix));
        // A document with text but not one article line changes nothing.
        import(TestHome::testDataPath(suffix == u".doc"_s
                                          ? u"word/corpus/tika-testWORD.doc"_s
                                          : u"word/corpus/tika-testWORD_text_box.docx"_s));
        // Rows corrected by hand are replaced only when the operator says so.
        f.home.runWorkSql(
            u"update ART set PRCEST = 'M' where INTNRO = '100' and ARTORD in (2, 3);\n"_s);
        f.dialogs.questionAnswers << false << true;
        import(invoice(u"invoice-fixed-columns"_s + suffix));
        import(invoice(u"invoice-fixed-columns"_s + suffix));
        QCOMPARE(f.progress.busyDepth, 0);
        COMPARE_GOLDEN(portable(log.join(u'\n') + u'\n'), u"import/imported%1.txt"_s.arg(suffix));
    }

    void readsArticleBlocks()
    {
        // import/blocks.txt tells its cases; the records it gives are in blocks.records.txt.
        const QString blocks = TestHome::testData(u"import/blocks.txt"_s);
        const QStringList read = records(parse(blocks.chopped(1).replace(u'\n', u'\r')).lines());
        COMPARE_GOLDEN((read.join(u'\n') + u'\n').toUtf8(), u"import/blocks.records.txt"_s);
        QVERIFY(parse(QString()).records.isEmpty());
        QVERIFY(parse(document({u"INVOICE"_s, u"TOTAL 10.00"_s})).records.isEmpty());
    }

    // import/numbers.txt: each text, the number it begins with and the whole number it is.
    // Blanks, tabs and line feeds are ignored; a comma that does not separate thousands ends
    // the number, and so does any other text.
    void invoiceNumbers()
    {
        QString shown;
        // The texts, "|" between them.
        for (const QString& text :
             u" 1 2\t3\n4 EACH|12,345,678.9|1,250.00|1,2500|1,25|1.250,00|,250|-3.5e2X|7E|.5|"
             "USD 5||1,000|10.5|-2|1,5|10 PCS|1 000|-|1e999"_s.split(u'|')) {
            const std::optional<double> whole = wholeNumber(text);
            shown += u"\"%1\": %2, %3\n"_s
                         .arg(QString(text).replace(u'\t', u"\\t"_s).replace(u'\n', u"\\n"_s))
                         .arg(leadingNumber(text), 0, 'g', QLocale::FloatingPointShortest)
                         .arg(whole ? QString::number(*whole, 'g', QLocale::FloatingPointShortest)
                                    : u"none"_s);
        }
        COMPARE_GOLDEN(shown.toUtf8(), u"import/numbers.txt"_s);
    }

    void statedTotal()
    {
        const QString article = articleLine(u"2"_s, u"EA"_s, u"P/N: A-1"_s, u"5.00"_s, u"10.00"_s);
        // SUBTOTAL, in any case and after blanks and tabs, comes before a TOTAL that adds charges;
        // a line whose last word is no amount is passed over; the lines of an article block are
        // looked at too, and so are the lines before the first block.
        const auto stated = [](const QStringList& lines) {
            const std::optional<StatedTotal> found = parse(document(lines)).statedTotal;
            return found
                       ? u"%1|%2|%3"_s.arg(found->documentLine).arg(found->text).arg(found->amount)
                       : u"none"_s;
        };
        QCOMPARE(stated({article, u"ITEM  TOTAL PRICE"_s, u"TOTAL USD 1,260.00"_s,
                         u"Subtotal due"_s, u" \tsubTOTAL   1,250.00 "_s, u"SUBTOTAL 9.00"_s}),
                 u"5|subTOTAL   1,250.00|1250"_s);
        QCOMPARE(stated({u"TOTALS"_s, u"  TOTAL FOB: 12,345.5"_s, article, u"TOTAL 9.00"_s}),
                 u"2|TOTAL FOB: 12,345.5|12345.5"_s);
        QCOMPARE(stated({article, u"GRAND TOTAL 10.00"_s, u"TOTAL"_s}), u"none"_s);
    }

    void parseErrors()
    {
        // A quantity that is no number and an origin line before any article: importsDocuments.
        const std::tuple<long, QString, QString> refused[] = {
            {13, u"Línea 2 del documento (artículo Q-1): la cantidad está en blanco."_s,
             document({u"HEADER"_s, articleLine({}, u"EA"_s, u"P/N: Q-1"_s, u"1"_s, u"1"_s)})},
            {6, {}, articleLine(u"1"_s, u"EA"_s, u"P/N: Q-2"_s, u"1"_s, u"1e999"_s)}};
        for (const auto& [number, description, text] : refused) {
            try {
                parse(text);
                QFAIL(qPrintable(text));
            } catch (const AppError& error) {
                QCOMPARE(error.number(), number);
                if (!description.isEmpty())
                    QCOMPARE(error.description(), description);
            }
        }
    }

    // Every file of the corpus (tests/fixtures/word/DIFFERENCES.md tells where and why our body
    // text differs from the other readers') and of MANIFEST.tsv (documents a word processor wrote,
    // and hand-made and damaged files): its body text, line ends written as LF, or the error number
    // it is refused with.
    void documents_data()
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

    void documents()
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

    void readingAnInvoice()
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
        QVERIFY(message.contains(dataPath(u"corpus/poi-Word6.doc"_s)) &&
                message.endsWith(u"7102"_s));
    }

    // Word documents a word processor saved as OpenDocument text and printed to PDF
    // (converted/MANIFEST.tsv: the demo invoices, an invoice of the import tests and the
    // documents of the corpus): an OpenDocument text reads as the same body text as its original,
    // a PDF as the same invoice records, or when its original is no invoice the same printed
    // lines; where a conversion cannot, the row says why and the two differ.
    void convertedDocuments_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("original");
        QTest::addColumn<QString>("difference");
        for (const QStringList& row : manifest(u"converted/MANIFEST.tsv"_s))
            QTest::newRow(qPrintable(row[0])) << row[0] << row.value(1) << row.value(2);
    }

    void convertedDocuments()
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
};

QTEST_GUILESS_MAIN(TestImport)
#include "tst_import.moc"
