#include "components/AppError.h"
#include "import/InvoiceParser.h"

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
    return lines.join(QStringLiteral("\r\n"));
}

long parseErrorNumber(const QString& text)
{
    try {
        parse(text);
    } catch (const AppError& error) {
        return error.number();
    }
    return 0;
}

} // namespace

class TestInvoiceParser : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsArticleBlocksInColumns()
    {
        const QString line =
            articleLine(QStringLiteral("10"), QStringLiteral("LB"), QStringLiteral("P/N: AB-100"),
                        QStringLiteral("4.50"), QStringLiteral("45.00"));
        QCOMPARE(line.size(), 95);
        QCOMPARE(columns(line, 25, 29), QStringLiteral("P/N: "));
        const QList<InvoiceLine> lines = parse(document({
            QStringLiteral("COMMERCIAL INVOICE 4711"),
            QStringLiteral("QTY UNIT PART DESCRIPTION"),
            line,
            QStringLiteral("   STEEL BOLT   "),
            QStringLiteral("COUNTRY OF ORIGIN:  JAPAN "),
            QStringLiteral("SHIPPED VIA AIR"),
            articleLine(QStringLiteral("3"), QStringLiteral("FT"), QStringLiteral("P/N: XP/N:Y"),
                        QStringLiteral("3.00"), QStringLiteral("9.00")),
            QStringLiteral("HOSE"),
            QStringLiteral("COUNTRY OF ORIGIN: US"),
            QStringLiteral("COUNTRY OF ORIGIN: MEXICO COUNTRY OF ORIGIN:"),
        }));
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0].partNumber, QStringLiteral("AB-100"));
        QCOMPARE(lines[0].quantity, 10.0);
        QCOMPARE(lines[0].unit, QStringLiteral("LB"));
        QCOMPARE(lines[0].description, QStringLiteral("STEEL BOLT"));
        QCOMPARE(lines[0].origin, QStringLiteral("JAPAN"));
        QCOMPARE(lines[0].unitPrice, 4.5);
        QCOMPARE(lines[0].total, 45.0);
        // Every "P/N:" inside the part columns goes; a later origin line replaces the earlier.
        QCOMPARE(lines[1].partNumber, QStringLiteral("XY"));
        QCOMPARE(lines[1].origin, QStringLiteral("MEXICO"));
    }

    void markerAndDescriptionRules()
    {
        const QList<InvoiceLine> lines = parse(document({
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
            // Cut short after the part number: the amounts read as empty.
            articleLine(QStringLiteral("5"), QStringLiteral("RL"), QStringLiteral("P/N: SHORT"),
                        QStringLiteral("9"), QStringLiteral("9"))
                .left(35),
        }));
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[0].partNumber, QStringLiteral("CD-7"));
        QCOMPARE(lines[0].description, QStringLiteral("COUNTRY OF ORIGIN: CHINA"));
        QCOMPARE(lines[0].origin, QString());
        QCOMPARE(lines[1].partNumber, QStringLiteral("E-1"));
        QCOMPARE(lines[1].description, QString());
        QCOMPARE(lines[1].origin, QString());
        // Only blanks are trimmed: tabs stay.
        QCOMPARE(lines[2].description, QStringLiteral("\tTAB  DESCRIPTION\t"));
        QCOMPARE(lines[2].origin, QStringLiteral("\tKOREA"));
        QCOMPARE(lines[3].quantity, 5.0);
        QCOMPARE(lines[3].unit, QStringLiteral("RL"));
        QCOMPARE(lines[3].partNumber, QStringLiteral("SHORT"));
        QCOMPARE(lines[3].unitPrice, 0.0);
        QCOMPARE(lines[3].total, 0.0);
    }

    void documentsWithoutArticles()
    {
        QVERIFY(parse(QString()).isEmpty());
        QVERIFY(
            parse(document({QStringLiteral("INVOICE"), QStringLiteral("TOTAL 10.00")})).isEmpty());
    }

    void invoiceNumbers()
    {
        QCOMPARE(leadingNumber(QStringLiteral("1,250.00")), 1250.0);
        QCOMPARE(leadingNumber(QStringLiteral("1250.00")), 1250.0);
        QCOMPARE(leadingNumber(QStringLiteral("12,345,678.9")), 12345678.9);
        // A comma that does not separate thousands ends the number.
        QCOMPARE(leadingNumber(QStringLiteral("1,2500")), 1.0);
        QCOMPARE(leadingNumber(QStringLiteral("1,25")), 1.0);
        QCOMPARE(leadingNumber(QStringLiteral("1.250,00")), 1.25);
        QCOMPARE(leadingNumber(QStringLiteral(",250")), 0.0);
        // Blanks, tabs and line feeds are ignored; text after the number too.
        QCOMPARE(leadingNumber(QStringLiteral(" 1 2\t3\n4 EACH")), 1234.0);
        QCOMPARE(leadingNumber(QStringLiteral("-3.5e2X")), -350.0);
        QCOMPARE(leadingNumber(QStringLiteral("7E")), 7.0);
        QCOMPARE(leadingNumber(QStringLiteral(".5")), 0.5);
        QCOMPARE(leadingNumber(QStringLiteral("USD 5")), 0.0);
        QCOMPARE(leadingNumber(QString()), 0.0);

        QCOMPARE(wholeNumber(QStringLiteral("1,000")), std::optional<double>(1000));
        QCOMPARE(wholeNumber(QStringLiteral("10.5")), std::optional<double>(10.5));
        QCOMPARE(wholeNumber(QStringLiteral("-2")), std::optional<double>(-2));
        QCOMPARE(wholeNumber(QStringLiteral("1,5")), std::nullopt);
        QCOMPARE(wholeNumber(QStringLiteral("10 PCS")), std::nullopt);
        QCOMPARE(wholeNumber(QStringLiteral("1 000")), std::nullopt);
        QCOMPARE(wholeNumber(QStringLiteral("-")), std::nullopt);
        QCOMPARE(wholeNumber(QStringLiteral("1e999")), std::nullopt);

        const QList<InvoiceLine> lines = parse(
            articleLine(QStringLiteral("1,000"), QStringLiteral("EA"), QStringLiteral("P/N: N-1"),
                        QStringLiteral("1.25"), QStringLiteral("1,250.00")));
        QCOMPARE(lines.size(), 1);
        QCOMPARE(lines[0].quantity, 1000.0);
        QCOMPARE(lines[0].total, 1250.0);
    }

    void parseErrors()
    {
        const auto withQuantity = [](const QString& quantity) {
            return document({QStringLiteral("HEADER"),
                             articleLine(quantity, QStringLiteral("EA"), QStringLiteral("P/N: Q-1"),
                                         QStringLiteral("1"), QStringLiteral("1"))});
        };
        QCOMPARE(parseErrorNumber(withQuantity(QString())), 13L);
        QCOMPARE(parseErrorNumber(withQuantity(QStringLiteral("TEN"))), 13L);
        QCOMPARE(parseErrorNumber(withQuantity(QStringLiteral("1,5"))), 13L);
        try {
            parse(withQuantity(QStringLiteral("12X")));
            QFAIL("a quantity that is not a number must fail");
        } catch (const AppError& error) {
            QCOMPARE(error.description(),
                     QStringLiteral("Línea 2 del documento (artículo Q-1): la cantidad \"12X\" no "
                                    "es un número."));
        }
        QCOMPARE(parseErrorNumber(articleLine(QStringLiteral("1"), QStringLiteral("EA"),
                                              QStringLiteral("P/N: Q-2"), QStringLiteral("1"),
                                              QStringLiteral("1e999"))),
                 6L);
        QCOMPARE(parseErrorNumber(document({QStringLiteral("COUNTRY OF ORIGIN: JAPAN"),
                                            withQuantity(QStringLiteral("1"))})),
                 9L);
    }
};

QTEST_GUILESS_MAIN(TestInvoiceParser)
#include "tst_InvoiceParser.moc"
