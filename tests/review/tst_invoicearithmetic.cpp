// SPDX-License-Identifier: Apache-2.0
#include "data/InvoiceTotalStore.h"
#include "import/InvoiceParser.h"
#include "review/InvoiceArithmetic.h"
#include "support/Golden.h"
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
                "('100', 3, 'C-3', 1, 1, NULL, '07'), ('200', 1, 'A-1', 2, 5, 10, '07'), "
                "('300', 1, 'D-4', 2, 3, 7, NULL), ('300', 2, 'E-5', 0.91, 9.84252, 9, '02');\n"_s);
        });
        // review/arithmetic.txt: interno 100 without a total line (the wrong lines alone
        // count), then with a stated total a cent off the lines' sum (it counts once, after the
        // wrong lines; in both locales); interno 200 whose stated total agrees; interno 300,
        // a line without a unit and a converted one. The database's count is the same.
        InvoiceTotalStore totals(office.ws.work());
        QString text;
        const auto show = [&](const QString& interno, const QLocale& locale) {
            const Review found = review(office.ws.work(), interno);
            text += u"%1: %2\n"_s.arg(interno).arg(found.count());
            QCOMPARE(countToReview(office.ws.work(), interno), found.count());
            for (const ReviewLine& line : reviewLines(found))
                text +=
                    u"%1|%2|%3|%4\n"_s.arg(line.line, line.subject, amount(line.expected, locale),
                                           amount(line.found, locale));
            text += statedComparison(found, locale) + u'\n';
        };
        show(u"100"_s, QLocale::c());
        totals.replace(u"100"_s, StatedTotal{41, u"SUBTOTAL 129.45"_s, 129.45});
        show(u"100"_s, QLocale::c());
        show(u"100"_s, QLocale(QLocale::Spanish, QLocale::Argentina));
        totals.replace(u"200"_s, StatedTotal{7, u"TOTAL 10.004"_s, 10.004});
        show(u"200"_s, QLocale::c());
        show(u"300"_s, QLocale::c());
        COMPARE_GOLDEN(text.toUtf8(), u"review/arithmetic.txt"_s);
    }
};

QTEST_GUILESS_MAIN(TestInvoiceArithmetic)
#include "tst_invoicearithmetic.moc"
