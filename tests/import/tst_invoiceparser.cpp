// SPDX-License-Identifier: Apache-2.0
#include "components/AppError.h"
#include "import/InvoiceParser.h"
#include "support/Golden.h"
#include "support/TestHome.h"

#include <QTest>

using namespace Qt::StringLiterals;

using namespace InvoiceParser;

namespace {

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

} // namespace

class TestInvoiceParser : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsArticleBlocks()
    {
        // import/blocks.txt tells its cases; the records it gives are in blocks.records.txt.
        const QString blocks = TestHome::testData(u"import/blocks.txt"_s);
        const QStringList read = records(parse(blocks.chopped(1).replace(u'\n', u'\r')).lines());
        COMPARE_GOLDEN((read.join(u'\n') + u'\n').toUtf8(), u"import/blocks.records.txt"_s);
        QVERIFY(parse(QString()).records.isEmpty());
        QVERIFY(parse(document({u"INVOICE"_s, u"TOTAL 10.00"_s})).records.isEmpty());
    }

    void invoiceNumbers()
    {
        // Blanks, tabs and line feeds are ignored; a comma that does not separate thousands
        // ends the number, and so does any other text.
        QCOMPARE(leadingNumber(u" 1 2\t3\n4 EACH"_s), 1234.0);
        QCOMPARE(leadingNumber(u"12,345,678.9"_s), 12345678.9);
        const std::pair<const char*, double> leading[] = {
            {"1,250.00", 1250}, {"1,2500", 1}, {"1,25", 1}, {"1.250,00", 1.25}, {",250", 0},
            {"-3.5e2X", -350},  {"7E", 7},     {".5", 0.5}, {"USD 5", 0},       {"", 0}};
        for (const auto& [text, value] : leading)
            QVERIFY2(leadingNumber(QString::fromUtf8(text)) == value, text);

        const std::pair<const char*, std::optional<double>> whole[] = {
            {"1,000", 1000}, {"10.5", 10.5}, {"-2", -2}, {"1,5", {}},
            {"10 PCS", {}},  {"1 000", {}},  {"-", {}},  {"1e999", {}}};
        for (const auto& [text, value] : whole)
            QVERIFY2(wholeNumber(QString::fromUtf8(text)) == value, text);
    }

    void statedTotal()
    {
        const QString article = articleLine(u"2"_s, u"EA"_s, u"P/N: A-1"_s, u"5.00"_s, u"10.00"_s);
        // SUBTOTAL, in any case and after blanks and tabs, comes before a TOTAL that adds charges;
        // a line whose last word is no amount is passed over; the lines of an article block are
        // looked at too, and so are the lines before the first block.
        const std::optional<StatedTotal> subtotal =
            parse(document({article, u"ITEM  TOTAL PRICE"_s, u"TOTAL USD 1,260.00"_s,
                            u"Subtotal due"_s, u" \tsubTOTAL   1,250.00 "_s, u"SUBTOTAL 9.00"_s}))
                .statedTotal;
        QVERIFY(subtotal);
        QCOMPARE(subtotal->documentLine, 5);
        QCOMPARE(subtotal->text, u"subTOTAL   1,250.00"_s);
        QCOMPARE(subtotal->amount, 1250.0);

        const std::optional<StatedTotal> total =
            parse(document({u"TOTALS"_s, u"  TOTAL FOB: 12,345.5"_s, article, u"TOTAL 9.00"_s}))
                .statedTotal;
        QVERIFY(total);
        QCOMPARE(total->documentLine, 2);
        QCOMPARE(total->amount, 12345.5);

        QVERIFY(!parse(document({article, u"GRAND TOTAL 10.00"_s, u"TOTAL"_s})).statedTotal);
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
};

QTEST_GUILESS_MAIN(TestInvoiceParser)
#include "tst_invoiceparser.moc"
