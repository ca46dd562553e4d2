// SPDX-License-Identifier: Apache-2.0
#include "config/CatalogCheck.h"
#include "data/ArticleStore.h"
#include "data/InvoiceTotalStore.h"
#include "data/Quantities.h"
#include "import/InvoiceParser.h"
#include "review/ArticleTableModel.h"
#include "review/AtomicFile.h"
#include "review/ControlReport.h"
#include "review/InvoiceArithmetic.h"
#include "review/PositionSearch.h"
#include "review/ResultsExport.h"
#include "review/ReviewData.h"
#include "support/Golden.h"
#include "support/WorkHome.h"

#include <QColor>
#include <QDir>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTest>

#include <cmath>

using namespace Qt::StringLiterals;
using ReviewData::bytes;

namespace {

/** Bearings under 8482, a bearing housing, two 8471 (review/search.nomenclator.sql). */
struct Search : WorkHome {
    PositionSearch search{ws};

    Search()
        : WorkHome({u"review/search.nomenclator.sql"_s})
    {}
};

/** Interno 100 with a row in every state, out of order; interno 200 with one clean row. */
struct Rows : WorkHome {
    Rows()
        : WorkHome({u"review/table.work.sql"_s})
    {}

    /** Each row of a list of interno 100: its cells, then the colour of its text. */
    QString list(ArticleTableModel::List which)
    {
        ArticleStore store(ws.work());
        ArticleTableModel model;
        model.load(store, u"100"_s, which);
        QString lines;
        for (int row = 0; row < model.rowCount(); ++row) {
            for (int column = 0; column < model.columnCount(); ++column)
                lines += model.index(row, column).data().toString() + u'|';
            const QVariant colour = model.index(row, 4).data(Qt::ForegroundRole);
            lines += (colour.isValid() ? colour.value<QColor>().name() : u"default"_s) + u'\n';
        }
        return lines;
    }
};

struct Export : ReviewData::Session {
    int asked = 0;

    ExportOutcome run(const char* column, const QString& path, const QString& interno = u"100"_s)
    {
        return GuardarEXCEL(ws, interno, *exportOrder(QLatin1String(column)), [&] {
            ++asked;
            return path;
        });
    }
};

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

/** The review's rules through the core: arithmetic, search, lists, export and report. */
class TestReview : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void lineTotals()
    {
        using namespace InvoiceArithmetic;
        // review/line-totals.txt: quantity, unit price and total as the invoice writes them,
        // then whether the total is right. 45.36 is 45.36000000000001 in binary fractions; 0.465
        // is half a cent either way.
        QString shown;
        for (const QString& line : u"10 4.536 45.36|3 0.155 0.47|3 0.155 0.46|3 0.155 0.45|"
                                   "3 0.155 0.48|0 12.50 0.00|0 12.50 0.01|1,500 0.12 180.00|"
                                   "2 1,240.00 2,480.00"_s.split(u'|')) {
            QList<double> n;
            for (const QString& text : line.split(u' '))
                n << *InvoiceParser::wholeNumber(text);
            shown += line + (totalIsRight(n[0], n[1], n[2]) ? u": right\n"_s : u": wrong\n"_s);
        }
        COMPARE_GOLDEN(shown.toUtf8(), u"review/line-totals.txt"_s);
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
        using namespace InvoiceArithmetic;
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

    // review/position-search.txt: each search, the lines found and the messages it showed.
    // By number each dot stands for any run of characters; a blank text does nothing; texts
    // that would be wildcards or SQL if joined in find nothing. By words, case and accents are
    // ignored, every word must appear, a word matches the words it begins, and the words of
    // the position's own text ([010]) come before those of the heading's ([004]).
    void searchByNumberAndByWords()
    {
        Search f;
        QString report;
        const auto show = [&](const char* kind, const QString& text,
                              const QList<PositionLine>& lines) {
            report += QLatin1String(kind) + u" \""_s + text + u"\":"_s;
            for (const PositionLine& line : lines)
                report += u' ' + line.position + u'=' + line.description;
            report += u'\n' + f.dialogs.journal.join(u'\n') + u'\n';
            f.dialogs.journal.clear();
        };
        for (const QString& text : {u"8482"_s, u"8471.30"_s, u"   "_s, u"9999"_s, u"84%"_s,
                                    u"8_82"_s, u"' or ''='"_s, u"84!%"_s})
            show("number", text, f.search.search(text));
        for (const QString& text :
             {u"RODAMIENTO Bolás"_s, u"conicos"_s, u"ARBOL transmision"_s, u"rodillo"_s,
              u"portatiles"_s, u" ,. "_s, u"rodamientos tornillo"_s})
            show("words", text, f.search.findWords(text));
        // Then the details of a position with suffixes at every level, of a sister opening (the
        // upper levels' only) and of an unknown position (no row, the levels above it).
        for (const QString& position :
             {u"8482.10.10.000M"_s, u"8482.10.90.000M"_s, u"8482.99.99.999Z"_s}) {
            const PositionDetailsView view = f.search.MostrarDatos(position);
            report += u"details "_s + position + u": "_s +
                      (view.position ? PositionSearch::descriptionText(*view.position) + u" | "_s +
                                           view.position->statisticalUnit + view.position->lapi
                                     : u"none"_s) +
                      u'\n';
            for (const SuffixCode& suffix : view.suffixes)
                report += PositionSearch::suffixLine(suffix) + u'\n';
        }
        report += f.dialogs.takeJournal();
        COMPARE_GOLDEN(report.toUtf8(), u"review/position-search.txt"_s);
        QCOMPARE(f.progress.busyDepth, 0);
        QCOMPARE(f.ws.positionWords().find(u"rodamientos"_s, 2).size(), 2);
        QCOMPARE(PositionWordIndex::words(u"Ñandú-(ÁRBOL) 50mm"_s),
                 QStringList({u"nandu"_s, u"arbol"_s, u"50mm"_s}));
    }

    /**
     * review/quantities.tsv: the quantity conditions of nomenclator texts, the quantities of
     * articles' descriptions (~ for those compared with a tolerance), and how the latter meet
     * the former.
     */
    void quantitiesReadFromTexts()
    {
        const QString kinds[] = {u"power"_s,  u"apparent"_s, u"voltage"_s, u"current"_s,
                                 u"length"_s, u"mass"_s,     u"volume"_s,  u"pressure"_s};
        const QString fits[] = {u"silent"_s, u"satisfied"_s, u"contradicted"_s};
        const auto number = [](double v) {
            return QString::number(v, 'g', 6);
        };
        for (const QString& line :
             TestHome::testData(u"review/quantities.tsv"_s).split(u'\n', Qt::SkipEmptyParts)) {
            QStringList row = line.split(u'\t');
            QStringList found;
            if (row[0] == u"condition") {
                for (const QuantityCondition& c : Quantities::conditions(row[1]))
                    found << kinds[int(c.kind)] + u' ' +
                                 (c.lower && c.lower->inclusive ? u'[' : u'(') +
                                 (c.lower ? number(c.lower->value) : QString()) + u',' +
                                 (c.upper ? number(c.upper->value) : QString()) +
                                 (c.upper && c.upper->inclusive ? u']' : u')');
            } else if (row[0] == u"quantity") {
                for (const Quantity& q : Quantities::quantities(row[1]))
                    found << kinds[int(q.kind)] + u' ' + number(q.value) +
                                 (q.approximate ? u"~"_s : QString());
            } else {
                found << fits[int(Quantities::fit(Quantities::conditions(row[1]),
                                                  Quantities::quantities(row[2])))];
            }
            row.last() = found.join(u"; "_s);
            QCOMPARE(row.join(u'\t'), line);
        }
    }

    // review/lists.txt: the list with errors, by state, check code and line: not classified
    // first (NULL, then empty: dark red), the rejected ones after (navy); the clean list by
    // line, corrected rows in teal. Each row's cells (a NULL description empty; numbers in their
    // general form, decimal comma, no thousands separator), then the colour of its text. Last,
    // the six counters, which agree with the lists.
    void listsOrderFilterAndColourTheRows()
    {
        QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
        Rows rows;
        const ArticleCounters c = ArticleStore(rows.ws.work()).counters(u"100"_s);
        COMPARE_GOLDEN((rows.list(ArticleTableModel::List::WithErrors) + u"--\n"_s +
                        rows.list(ArticleTableModel::List::Clean) +
                        u"%1 %2 %3 %4 %5 %6\n"_s.arg(c.total)
                            .arg(c.enCatalogo)
                            .arg(c.nuevos)
                            .arg(c.conErrores)
                            .arg(c.errPosicion)
                            .arg(c.errSufijos))
                           .toUtf8(),
                       u"review/lists.txt"_s);
    }

    // review/row-saved.txt: line 7 of interno 100 saved without the specific duty (its columns
    // stay as they were), then with it, marked corrected; the rows changed each time, then
    // line 1 of both internos: another interno's row is untouched. A missing line saves nothing.
    void savingMarksTheRowCorrected()
    {
        Rows rows;
        ArticleStore store(rows.ws.work());
        Article row = *store.row(u"100"_s, 7);
        row.position = u"8482.10.10.000B"_s;
        row.specificDutyUnit = u"01"_s;
        row.specificDutyQuantity = 4;
        row.statisticalQuantity = 2.5;
        QString log;
        for (const bool withDuty : {false, true}) {
            log += QString::number(store.saveCorrected(*store.row(u"100"_s, 7), row, withDuty));
            log += u": "_s +
                   queryRows(rows.ws.work(), u"select * from ART where ARTORD = 7"_s).join(u' ') +
                   u'\n';
        }
        log += queryRows(rows.ws.work(), u"select * from ART where ARTORD = 1"_s).join(u'\n');
        row.line = 99;
        QCOMPARE(store.saveCorrected(row, row, true), 0);
        COMPARE_GOLDEN(log.toUtf8() + '\n', u"review/row-saved.txt"_s);
    }

    // review/export-*.xls, one for each order: CR LF after the header only; the unit quoted,
    // NULL empty, decimal comma, no thousands separator; the tab and line feed inside
    // descriptions made blanks; a longer former file wholly replaced.
    void textBytesInEachOrder()
    {
        QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
        Export e;
        const QString path = e.home.file(u"r.xls"_s);
        writeAtomically(path, [](QIODevice& f) { return f.write("a longer former content") > 0; });
        for (const char* column : {"ARTORD", "ARTNRO", "ARTDSC"}) {
            QCOMPARE(e.run(column, path), ExportOutcome::Written);
            COMPARE_GOLDEN(bytes(path), u"review/export-%1.xls"_s.arg(QLatin1String(column)));
        }
        QVERIFY(e.dialogs.messages.isEmpty() && e.progress.busyDepth == 0);
        QCOMPARE(exportOrder(u"ARTORD desc"_s), nullptr);
    }

    void nameRuleNothingToWriteAndFailure()
    {
        QStringList names;
        for (const auto& name : {u"a/libro"_s, u"l.Xls"_s, u"l.txt"_s, u"lxls"_s, u"l.XLSX"_s})
            names << withXlsExtension(name);
        QCOMPARE(names, QStringList({u"a/libro.xls"_s, u"l.Xls"_s, u"l.txt.xls"_s, u"lxls"_s,
                                     u"l.XLSX"_s}));

        Export e;
        // No rows: no question and no file; a blank answer writes nothing; nothing is said.
        QCOMPARE(e.run("ARTORD", e.home.file(u"v.xls"_s), u"300"_s), ExportOutcome::Empty);
        QCOMPARE(e.run("ARTORD", u"  "_s), ExportOutcome::Cancelled);
        QCOMPARE(e.asked, 1);
        QVERIFY(e.dialogs.messages.isEmpty());

        // A failed write leaves the former file and no other; the export reports it.
        const QString path = e.home.file(u"v.xls"_s);
        writeAtomically(path, [](QIODevice& f) { return f.write("viejo") > 0; });
        const QStringList before = QDir(e.home.path()).entryList(QDir::Files);
        QVERIFY_THROWS_EXCEPTION(
            AppError, writeAtomically(path, [](QIODevice& f) { return f.write("nuevo") < 0; }));
        QCOMPARE(bytes(path), "viejo"_ba);
        QCOMPARE(QDir(e.home.path()).entryList(QDir::Files), before);
        QCOMPARE(e.run("ARTORD", e.home.file(u"falta/r.xls"_s)), ExportOutcome::Failed);
        COMPARE_GOLDEN(portable(e.dialogs.takeJournal(), e.home.path()),
                       u"review/export-failure.txt"_s);
    }

    void spreadsheetKeepsNumbersAsNumbers()
    {
        Export e;
        const QString path = e.home.file(u"r.xlsx"_s);
        QCOMPARE(e.run("ARTORD", path), ExportOutcome::Written);
        const auto part = [&path](const char* name) {
            return ReviewData::output(u"unzip"_s, {u"-p"_s, path, QLatin1String(name)});
        };
        const QString sheet = part("xl/worksheets/sheet1.xml");
        // Quantity, unit price and total are numbers; the unit "07" is text, a NULL one none.
        for (const char* cell : {"E2", "F3", "G5"})
            QVERIFY2(sheet.contains(QRegularExpression(
                         u"<c r=\"%1\"><v>[0-9.]+</v></c>"_s.arg(QLatin1String(cell)))),
                     cell);
        QVERIFY(sheet.contains(u"<c r=\"D3\" t=\"s\">"_s) && !sheet.contains(u"r=\"D2\""_s));
        QVERIFY(part("xl/sharedStrings.xml").contains(u"<t>07</t>"_s));
        QVERIFY(sheet.contains(u"state=\"frozen\""_s) && sheet.contains(u"<cols>"_s));
        QVERIFY(part("xl/styles.xml").contains(u"<b/>"_s));
    }

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

QTEST_MAIN(TestReview)
#include "tst_review.moc"
