// SPDX-License-Identifier: Apache-2.0
#include "config/CatalogCheck.h"
#include "review/ControlReport.h"
#include "review/ReviewData.h"
#include "support/Golden.h"

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

    /**
     * review/control-report.txt: interno 100's rows with errors, then its clean ones, in the
     * locale (5 as 05,00 and 1.5 as 01,5000, no thousands separator; by state first: NULL before
     * "E"), each row in exactly one; then 70 rows on three numbered pages, and the second page
     * printed alone keeping its number.
     */
    void reportsPageByPage()
    {
        QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
        Report report;
        QStringList pages = report.pages(u"100"_s, ArticleTableModel::List::WithErrors) +
                            report.pages(u"100"_s, ArticleTableModel::List::Clean);
        QLocale::setDefault(QLocale::c());
        report.home.runWorkSql(
            u"insert into ART (INTNRO, ARTORD, ARTNRO, ARTDSC, ARTCAN, PRCCRC) "
            "with recursive n(i) as (select 1 union all select i + 1 from n where i < 70) "
            "select '500', i, 'P-' || i, 'FILA', i, 'OK' from n;\n"_s);
        pages += report.pages(u"500"_s, ArticleTableModel::List::Clean);
        QPdfWriter writer(report.home.file(u"p2.pdf"_s));
        writer.setPageLayout(ControlReport::pageLayout());
        writer.setPageRanges(QPageRanges::fromString(u"2"_s));
        ControlReport::render(
            writer, ControlReport::bands(ControlReport::read(report.ws.work(), u"500"_s,
                                                             ArticleTableModel::List::Clean)));
        pages += ReviewData::pdfPages(report.home.file(u"p2.pdf"_s));
        COMPARE_GOLDEN(pages.join(u'\n').toUtf8() + '\n', u"review/control-report.txt"_s);
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
