#include "components/AppError.h"
#include "import/InvoiceParser.h"
#include "import/InvoiceTotal.h"

#include <QTest>

using namespace InvoiceParser;

namespace {

/**
 * An article line in the invoice's fixed columns: 1-8 line number, 9-17 quantity, 18-24 unit,
 * 25-48 part number, 49-67 not read, 68-81 unit price, 82-95 total.
 */
QString articleLine(const QString& quantity, const QString& unit, const QString& part,
                    const QString& unitPrice, const QString& total,
                    const QString& notRead = QStringLiteral("  MADE TO ORDER"))
{
    return QStringLiteral("   1    ") + quantity.rightJustified(9) + QLatin1Char(' ') +
           unit.leftJustified(6) + part.leftJustified(24) + notRead.leftJustified(19) +
           unitPrice.rightJustified(14) + total.rightJustified(14);
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
        // 24 characters of part number, each outside the Basic Multilingual Plane.
        const QString wide = QString::fromUcs4(U"\U0001D538").repeated(19);
        const QStringList lines = {
            QStringLiteral("COMMERCIAL INVOICE 4711"),
            articleLine(QStringLiteral("10"), QStringLiteral("LB"), QStringLiteral("P/N: AB-100"),
                        QStringLiteral("4.50"), QStringLiteral("45.00")),
            QStringLiteral("   STEEL BOLT   "),
            QStringLiteral("COUNTRY OF ORIGIN:  JAPAN "),
            QStringLiteral("SHIPPED VIA AIR"),
            articleLine(QStringLiteral("1,000"), QStringLiteral("FT"),
                        QStringLiteral("P/N: XP/N:Y"), QStringLiteral("1.25"),
                        QStringLiteral("1,250.00")),
            QStringLiteral("HOSE"),
            QStringLiteral("COUNTRY OF ORIGIN: US"),
            QStringLiteral("COUNTRY OF ORIGIN: MEXICO COUNTRY OF ORIGIN:"),
            // The marker outside the part columns still starts an article.
            articleLine(QStringLiteral("2"), QStringLiteral("EA"), QStringLiteral("CD-7"),
                        QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("  P/N: ")),
            // The line after an article line is its description, whatever it holds.
            QStringLiteral(" COUNTRY OF ORIGIN: CHINA "),
            // Small letters or no blank after the colon: no article.
            QStringLiteral("        9        EA     p/n: LOW-1"),
            QStringLiteral("        9        EA     P/N:NOBLANK"),
            articleLine(QStringLiteral("1"), QStringLiteral("EA"), QStringLiteral("P/N: E-1"),
                        QStringLiteral("1"), QStringLiteral("1")),
            // An article line right after another starts the next article.
            articleLine(QStringLiteral("4"), QStringLiteral("BX"), QStringLiteral("P/N: E-2"),
                        QStringLiteral("1"), QStringLiteral("4")),
            QStringLiteral("\tTAB  DESCRIPTION\t  "),
            QStringLiteral("COUNTRY OF ORIGIN:\tKOREA "),
            // A character is one column: the later columns stay where they are.
            articleLine(QStringLiteral("3"), QStringLiteral("EA"), QStringLiteral("P/N: ") + wide,
                        QStringLiteral("4.50"), QStringLiteral("13.50")),
            // Cut short after the part number: the amounts read as empty.
            articleLine(QStringLiteral("5"), QStringLiteral("RL"), QStringLiteral("P/N: SHORT"),
                        QStringLiteral("9"), QStringLiteral("9"))
                .left(35),
        };
        const QStringList read = records(parse(document(lines)));
        QCOMPARE(read,
                 (QStringList{QStringLiteral("AB-100|10|LB|STEEL BOLT|JAPAN|4.5|45"),
                              // Every "P/N:" in the part columns goes; the last origin line counts.
                              QStringLiteral("XY|1000|FT|HOSE|MEXICO|1.25|1250"),
                              QStringLiteral("CD-7|2|EA|COUNTRY OF ORIGIN: CHINA||1|2"),
                              QStringLiteral("E-1|1|EA|||1|1"),
                              // Only blanks are trimmed: tabs stay.
                              QStringLiteral("E-2|4|BX|\tTAB  DESCRIPTION\t|\tKOREA|1|4"),
                              wide + QStringLiteral("|3|EA|||4.5|13.5"),
                              QStringLiteral("SHORT|5|RL|||0|0")}));

        QVERIFY(parse(QString()).isEmpty());
        QVERIFY(
            parse(document({QStringLiteral("INVOICE"), QStringLiteral("TOTAL 10.00")})).isEmpty());
    }

    void invoiceNumbers()
    {
        // Blanks, tabs and line feeds are ignored; a comma that does not separate thousands
        // ends the number, and so does any other text.
        QCOMPARE(leadingNumber(QStringLiteral(" 1 2\t3\n4 EACH")), 1234.0);
        QCOMPARE(leadingNumber(QStringLiteral("12,345,678.9")), 12345678.9);
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
        const QString article =
            articleLine(QStringLiteral("2"), QStringLiteral("EA"), QStringLiteral("P/N: A-1"),
                        QStringLiteral("5.00"), QStringLiteral("10.00"));
        // SUBTOTAL, in any case and after blanks and tabs, comes before a TOTAL that adds charges;
        // a line whose last word is no amount is passed over.
        const std::optional<StatedTotal> subtotal = InvoiceTotal::find(
            document({article, QStringLiteral("ITEM  TOTAL PRICE"),
                      QStringLiteral("TOTAL USD 1,260.00"), QStringLiteral("Subtotal due"),
                      QStringLiteral(" \tsubTOTAL   1,250.00 "), QStringLiteral("SUBTOTAL 9.00")}));
        QVERIFY(subtotal);
        QCOMPARE(subtotal->documentLine, 5);
        QCOMPARE(subtotal->text, QStringLiteral("subTOTAL   1,250.00"));
        QCOMPARE(subtotal->amount, 1250.0);

        const std::optional<StatedTotal> total = InvoiceTotal::find(
            document({article, QStringLiteral("TOTALS"), QStringLiteral("  TOTAL FOB: 12,345.5")}));
        QVERIFY(total);
        QCOMPARE(total->documentLine, 3);
        QCOMPARE(total->amount, 12345.5);

        QVERIFY(!InvoiceTotal::find(
            document({article, QStringLiteral("GRAND TOTAL 10.00"), QStringLiteral("TOTAL")})));
    }

    void parseErrors()
    {
        // A quantity that is no number and an origin line before any article: importsDocuments.
        const std::tuple<long, QString, QString> refused[] = {
            {13,
             QStringLiteral("Línea 2 del documento (artículo Q-1): la cantidad está en blanco."),
             document({QStringLiteral("HEADER"),
                       articleLine({}, QStringLiteral("EA"), QStringLiteral("P/N: Q-1"),
                                   QStringLiteral("1"), QStringLiteral("1"))})},
            {6,
             {},
             articleLine(QStringLiteral("1"), QStringLiteral("EA"), QStringLiteral("P/N: Q-2"),
                         QStringLiteral("1"), QStringLiteral("1e999"))}};
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
