#include "config/CatalogCheck.h"
#include "review/ControlReport.h"
#include "review/ReviewData.h"

#include <QPdfWriter>
#include <QRegularExpression>
#include <QTest>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

/** A word of a PDF page as its text extraction places it, in points. */
struct Word {
    QString text;
    double left;
    double right;
    double top;
};

/** The words of a PDF, page after page, each line from left to right. */
QList<Word> words(const QString& path)
{
    static const QRegularExpression word(uR"re(<word xMin="([\d.]+)" yMin="([\d.]+)" )re"
                                         uR"re(xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>)re"_s);
    QList<Word> found;
    const QString html = ReviewData::output(u"pdftotext"_s, {u"-bbox"_s, path, u"-"_s});
    for (const QRegularExpressionMatch& m : word.globalMatch(html))
        found.append({m.captured(4), m.captured(1).toDouble(), m.captured(3).toDouble(),
                      m.captured(2).toDouble()});
    return found;
}

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

    void longArticleNumbersAndPositionsPrintWhole()
    {
        // Article numbers as long as an invoice's column holds, in wide and narrow letters.
        const QStringList numbers = {u"WWWWWWWWWWWWWWWWWWW"_s, u"BAT-LI-PACK-48V"_s,
                                     u"TIRE-185/65R15-XL"_s, u"1234567890123456789"_s};
        Report report;
        QString rows;
        for (int i = 0; i < numbers.size(); ++i)
            rows += u"%1('600', %2, '%3', 'DESCRIPCION', '8482.10.10.000M', 'OK')"_s
                        .arg(i ? u", "_s : QString())
                        .arg(i + 1)
                        .arg(numbers.at(i));
        report.home.runWorkSql(
            u"insert into ART (INTNRO, ARTORD, ARTNRO, ARTDSC, PRCNCM, PRCCRC) values "_s + rows +
            u";\n"_s);
        const QString controlReport = report.home.file(u"r.pdf"_s);
        ControlReport::writePdf(ControlReport::bands(ControlReport::read(
                                    report.ws.work(), u"600"_s, ArticleTableModel::List::Clean)),
                                controlReport);
        // The catalog check report of the same articles.
        CatalogCheckResult check{u"DEMO"_s, numbers.size(), {}};
        for (const QString& number : numbers)
            check.failures.append(
                {{number, u"8482.10.10.000M"_s, u"SIN SUFIJOS"_s}, {SuffixFault::NotRequired, {}}});
        const QString catalogReport = report.home.file(u"c.pdf"_s);
        ControlReport::writePdf({CatalogCheck::report(check)}, catalogReport);

        // Each number and position whole, ending before the next text on its line begins;
        // the caption "Estadis" too.
        for (const QString& pdf : {controlReport, catalogReport}) {
            const QList<Word> shown = words(pdf);
            QStringList found;
            QStringList overlaps;
            for (qsizetype i = 0; i < shown.size(); ++i) {
                const Word& w = shown.at(i);
                if (!numbers.contains(w.text) && w.text != u"8482.10.10.000M"_s &&
                    w.text != u"Estadis"_s)
                    continue;
                found << w.text;
                const Word* next = i + 1 < shown.size() ? &shown.at(i + 1) : nullptr;
                if (next && std::abs(next->top - w.top) < 5 && w.right > next->left)
                    overlaps << w.text + u" > "_s + next->text;
            }
            QCOMPARE(overlaps, QStringList());
            QStringList expected = numbers;
            expected << QStringList(numbers.size(), u"8482.10.10.000M"_s);
            if (pdf == controlReport)
                expected << u"Estadis"_s;
            found.sort();
            expected.sort();
            QCOMPARE(found, expected);
        }
    }
};

QTEST_MAIN(TestControlReport)
#include "tst_controlreport.moc"
