#include "data/InvoiceTotalStore.h"
#include "import/InvoiceParser.h"
#include "review/InvoiceArithmetic.h"
#include "support/WorkHome.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace InvoiceArithmetic;

class TestInvoiceArithmetic : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lineTotals()
    {
        // Quantity, unit price and total as the invoice writes them; whether the total is right.
        const struct {
            const char* quantity;
            const char* unitPrice;
            const char* total;
            bool right;
        } cases[] = {
            {"10", "4.536", "45.36", true}, // binary fractions: 45.36000000000001
            {"3", "0.155", "0.47", true},   // 0.465: half a cent either way
            {"3", "0.155", "0.46", true},        {"3", "0.155", "0.45", false},
            {"3", "0.155", "0.48", false},       {"0", "12.50", "0.00", true},
            {"0", "12.50", "0.01", false},       {"1,500", "0.12", "180.00", true},
            {"2", "1,240.00", "2,480.00", true},
        };
        for (const auto& c : cases) {
            const double quantity = *InvoiceParser::wholeNumber(QString::fromUtf8(c.quantity));
            const double unitPrice = *InvoiceParser::wholeNumber(QString::fromUtf8(c.unitPrice));
            const double total = *InvoiceParser::wholeNumber(QString::fromUtf8(c.total));
            QVERIFY2(totalIsRight(quantity, unitPrice, total) == c.right, c.total);
        }
        QCOMPARE(expectedTotal(3, 0.155), 0.47);

        // NULL counts as 0; a converted quantity carries a price worked out from its total.
        Article row;
        row.total = 0;
        QVERIFY(lineIsRight(row));
        row.total = 5;
        QVERIFY(!lineIsRight(row));
        row.quantity = 0.91;
        row.unitPrice = 9.84252;
        row.total = 9;
        row.declaredUnit = u"07"_s;
        QVERIFY(!lineIsRight(row));
        row.declaredUnit = u"02"_s;
        QVERIFY(lineIsRight(row));
    }

    void reviewOfAnInterno()
    {
        WorkHome office([](TestHome& fresh) {
            fresh.runWorkSql(
                u"insert into ART (INTNRO, ARTORD, ARTNRO, ARTCAN, ARTUNI, ARTTOT, PRCDUN) values "
                "('100', 1, 'A-1', 4, 48, 129, '07'), ('100', 2, 'B-2', 3, 0.155, 0.46, '07'), "
                "('100', 3, 'C-3', 1, 1, NULL, '07'), ('200', 1, 'A-1', 2, 5, 10, '07');\n"_s);
        });
        Workspace& ws = office.ws;
        const QLocale c = QLocale::c();

        // Without a total line: the wrong lines alone count.
        Review found = review(ws.work(), u"100"_s);
        QCOMPARE(found.lines.size(), 2);
        QCOMPARE(found.lines.at(0).article, u"A-1"_s);
        QCOMPARE(QList<double>({found.lines.at(0).expected, found.lines.at(0).found,
                                found.lines.at(1).expected, found.lines.at(1).found}),
                 QList<double>({192, 129, 1, 0}));
        QCOMPARE(found.count(), 2);
        QCOMPARE(statedComparison(found, c),
                 u"El documento no tiene línea de total; suma de las líneas: 129.46."_s);

        // A stated total counts once when it differs from the lines' sum by a cent or more.
        InvoiceTotalStore totals(ws.work());
        totals.replace(u"100"_s, StatedTotal{41, u"SUBTOTAL 129.45"_s, 129.45});
        found = review(ws.work(), u"100"_s);
        QCOMPARE(found.count(), 3);
        // What the operator reviews: the wrong lines, then the stated total against the lines.
        QStringList shown;
        for (const ReviewLine& line : reviewLines(found))
            shown << u"%1|%2|%3|%4"_s.arg(line.line, line.subject, amount(line.expected, c),
                                          amount(line.found, c));
        QCOMPARE(shown, QStringList({u"0001|A-1|192.00|129.00"_s, u"0003|C-3|1.00|0.00"_s,
                                     u"|Total de la factura (línea 41 del documento)|129.46|"
                                     "129.45"_s}));
        QCOMPARE(statedComparison(found, QLocale(QLocale::Spanish, QLocale::Argentina)),
                 u"Total de la factura: 129,45 (línea 41 del documento: \"SUBTOTAL 129.45\"); "
                 "suma de las líneas: 129,46; diferencia: -0,01."_s);
        totals.replace(u"200"_s, StatedTotal{7, u"TOTAL 10.004"_s, 10.004});
        found = review(ws.work(), u"200"_s);
        QCOMPARE(found.count(), 0);
        QCOMPARE(statedComparison(found, c),
                 u"Total de la factura: 10.00 (línea 7 del documento: \"TOTAL 10.004\"); suma de "
                 "las líneas: 10.00; coinciden."_s);
    }
};

QTEST_GUILESS_MAIN(TestInvoiceArithmetic)
#include "tst_invoicearithmetic.moc"
