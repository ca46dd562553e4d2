#include "review/ControlReport.h"
#include "review/ReviewData.h"

#include <QPdfWriter>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Report : ReviewData::Session {
    QStringList pages(const QString& interno, ArticleTableModel::List list)
    {
        const QString path = home.file(u"r.pdf"_s);
        ControlReport::writePdf(ControlReport::bands(ControlReport::read(ws.work(), interno, list)),
                                path);
        return ReviewData::pdfPages(path);
    }
};

} // namespace

class TestControlReport : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void eachRowInOneReportWithItsPatterns()
    {
        QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
        Report report;
        const QStringList errors = report.pages(u"100"_s, ArticleTableModel::List::WithErrors);
        QCOMPARE(errors.size(), 1);
        const QString& page = errors.first();
        // 5 as 05,00 and 1.5 as 01,5000 in the locale; by state first: NULL before "E".
        QVERIFY2(page.contains(u"C-1 Arandela 410 05,00 01,5000 07,50 D-4"_s), qPrintable(page));
        QVERIFY(page.contains(u"9999.99.99.999Z 01 01 E POS"_s));
        QVERIFY(page.endsWith(u"Pagina 1 de 1"_s));

        const QStringList clean = report.pages(u"100"_s, ArticleTableModel::List::Clean);
        QCOMPARE(clean.size(), 1);
        QVERIFY2(clean.first().contains(u"B-2 Tuerca grande 410 02,50 00,1250 00,31 "
                                        "8482.10.10.000B 07 07 02,50 A OK AA(1)-"_s),
                 qPrintable(clean.first()));
        QVERIFY(clean.first().contains(u"1234,5000"_s)); // no thousands separator
        // Each row is in exactly one of the two reports.
        for (const QString& number : {u"C-1"_s, u"B-2"_s, u"A-3"_s, u"D-4"_s})
            QCOMPARE(int(page.contains(number)) + int(clean.first().contains(number)), 1);
    }

    void longReportNumbersItsPages()
    {
        Report report;
        report.home.runWorkSql(
            u"insert into ART (INTNRO, ARTORD, ARTNRO, ARTDSC, ARTCAN, PRCCRC) "
            "with recursive n(i) as (select 1 union all select i + 1 from n where i < 70) "
            "select '500', i, 'P-' || i, 'FILA', i, 'OK' from n;\n"_s);
        const QStringList pages = report.pages(u"500"_s, ArticleTableModel::List::Clean);
        QCOMPARE(pages.size(), 3);
        for (int n = 0; n < pages.size(); ++n)
            QVERIFY2(pages.at(n).endsWith(u"Pagina %1 de 3"_s.arg(n + 1)), qPrintable(pages.at(n)));
        QCOMPARE(pages.join(u' ').count(u"FILA"_s), 70);
        QVERIFY(pages.last().contains(u"P-70 FILA 70.00"_s));

        // The second page printed alone keeps its number.
        QPdfWriter writer(report.home.file(u"p2.pdf"_s));
        writer.setPageLayout(ControlReport::pageLayout());
        writer.setPageRanges(QPageRanges::fromString(u"2"_s));
        ControlReport::render(
            writer, ControlReport::bands(ControlReport::read(report.ws.work(), u"500"_s,
                                                             ArticleTableModel::List::Clean)));
        const QStringList second = ReviewData::pdfPages(report.home.file(u"p2.pdf"_s));
        QVERIFY(second.size() == 1 && second.first().endsWith(u"Pagina 2 de 3"_s));
    }
};

QTEST_MAIN(TestControlReport)
#include "tst_controlreport.moc"
