// SPDX-License-Identifier: Apache-2.0
#include "review/AtomicFile.h"
#include "review/ResultsExport.h"
#include "review/ReviewData.h"
#include "support/Golden.h"

#include <QDir>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;
using ReviewData::bytes;

namespace {

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

} // namespace

class TestResultsExport : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

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
        QCOMPARE(e.dialogs.messages.value(0).icon, MessageIcon::Critical);
        QVERIFY(e.dialogs.messages.value(0).text.startsWith(u"No se pudo escribir el archivo "_s));
        QVERIFY(e.dialogs.messages.value(0).text.contains(u"\nDetalle: "_s));
        QVERIFY(e.dialogs.messages.value(0).text.endsWith(u"\n\n75"_s));
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
};

QTEST_GUILESS_MAIN(TestResultsExport)
#include "tst_resultsexport.moc"
