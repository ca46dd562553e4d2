#include "review/AtomicFile.h"
#include "review/ResultsExport.h"
#include "review/ReviewData.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

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
    QByteArray file(const QString& name) const
    {
        QFile f(home.file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(none)");
    }
};

QString unzipped(const QString& archive, const char* member)
{
    QProcess unzip;
    unzip.start(u"unzip"_s, {u"-p"_s, archive, QLatin1String(member)});
    if (!unzip.waitForFinished(30000) || unzip.exitCode() != 0)
        qFatal("unzip failed on %s", member);
    return QString::fromUtf8(unzip.readAllStandardOutput());
}

} // namespace

class TestResultsExport : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void textBytesInEachOrder()
    {
        QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
        Export e;
        const QString path = e.home.file(u"r.xls"_s);
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("a much longer former content") > 0);
        old.close();

        QCOMPARE(e.run("ARTORD", path), ExportOutcome::Written);
        // CR LF after the header only; the unit quoted, NULL empty, decimal comma, no thousands
        // separator; the tab and line feed inside descriptions made blanks.
        QCOMPARE(
            e.file(u"r.xls"_s),
            "codigo\tdescripcion\torigen\tunidad\tcantidad\tunitario\ttotal\tncm\tsufijos\t"
            "estado\r\n"
            "C-1\tArandela\t410\t\t5\t1,5\t7,5\t\t\t\r"
            "B-2\tTuerca grande\t410\t\"07\"\t2,5\t0,125\t0,3125\t8482.10.10.000B\tAA(1)-\tOK\r"
            "A-3\tBulon largo\t410\t\"\"\t1\t1234,5\t1234,5\t7318.15.00.000A\tSIN SUFIJOS\tOK\r"
            "D-4\tZocalo\t410\t\"01\"\t3\t2\t6\t9999.99.99.999Z\t\tPOS\r"_ba);
        QVERIFY(e.dialogs.messages.isEmpty());
        QCOMPARE(e.progress.busyDepth, 0);

        const auto firstFields = [&e, &path](const char* column) {
            e.run(column, path);
            QStringList numbers;
            for (const QByteArray& line : e.file(u"r.xls"_s).split('\r').mid(1, 4))
                numbers << QString::fromUtf8(line.trimmed().left(3));
            return numbers.join(u' ');
        };
        QCOMPARE(firstFields("ARTNRO"), u"A-3 B-2 C-1 D-4"_s);
        QCOMPARE(firstFields("ARTDSC"), u"C-1 A-3 B-2 D-4"_s);
        QCOMPARE(exportOrder(u"ARTORD; drop table ART"_s), nullptr);
    }

    void nameRuleAndNothingToWrite()
    {
        QCOMPARE(withXlsExtension(u"a/libro"_s), u"a/libro.xls"_s);
        QCOMPARE(withXlsExtension(u"libro.Xls"_s), u"libro.Xls"_s);
        QCOMPARE(withXlsExtension(u"libro.txt"_s), u"libro.txt.xls"_s);
        QCOMPARE(withXlsExtension(u"librosxls"_s), u"librosxls"_s);
        QCOMPARE(withXlsExtension(u"libro.XLSX"_s), u"libro.XLSX"_s);

        Export e;
        // No rows: no question, no file, no message. A blank answer writes nothing either.
        QCOMPARE(e.run("ARTORD", e.home.file(u"vacio.xls"_s), u"300"_s), ExportOutcome::Empty);
        QCOMPARE(e.asked, 0);
        QCOMPARE(e.run("ARTORD", u"  "_s), ExportOutcome::Cancelled);
        QCOMPARE(e.asked, 1);
        QCOMPARE(QDir(e.home.path()).entryList(QDir::Files).filter(u"xls"_s), QStringList());
        QVERIFY(e.dialogs.messages.isEmpty());
    }

    void failureLeavesTheFormerFile()
    {
        Export e;
        const QString path = e.home.file(u"viejo.xls"_s);
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("viejo") == 5);
        old.close();
        const QStringList before = QDir(e.home.path()).entryList(QDir::Files);

        try {
            writeAtomically(path, [](QIODevice& file) { return file.write("nue") < 0; });
            QFAIL("no error raised");
        } catch (const AppError& error) {
            QVERIFY(error.description().startsWith(u"No se pudo escribir el archivo "_s));
        }
        QCOMPARE(e.file(u"viejo.xls"_s), "viejo"_ba);
        QCOMPARE(QDir(e.home.path()).entryList(QDir::Files), before);

        // The export reports it with the critical icon, the description and the number.
        QCOMPARE(e.run("ARTORD", e.home.file(u"falta/r.xls"_s)), ExportOutcome::Failed);
        QCOMPARE(e.dialogs.messages.size(), 1);
        QCOMPARE(e.dialogs.messages.first().icon, MessageIcon::Critical);
        QVERIFY(e.dialogs.messages.first().text.endsWith(u".\n\n75"_s));
    }

    void spreadsheetKeepsNumbersAsNumbers()
    {
        Export e;
        const QString path = e.home.file(u"r.xlsx"_s);
        QCOMPARE(e.run("ARTORD", path), ExportOutcome::Written);
        const QString sheet = unzipped(path, "xl/worksheets/sheet1.xml");
        // Quantity, unit price and total of every row are numbers; the NULL unit of row 2 is
        // no cell at all, the unit "07" is text.
        for (const char* cellName : {"E2", "F3", "G5"}) {
            const QRegularExpression number(
                u"<c r=\"%1\"[^>]*><v>[0-9.]+</v></c>"_s.arg(QLatin1String(cellName)));
            QVERIFY2(sheet.contains(number), cellName);
        }
        QVERIFY(!sheet.contains(u"r=\"D2\""_s));
        QVERIFY(sheet.contains(u"<c r=\"D3\" t=\"s\">"_s));
        QVERIFY(unzipped(path, "xl/sharedStrings.xml").contains(u"<t>07</t>"_s));
        QVERIFY(sheet.contains(u"state=\"frozen\""_s));
        QVERIFY(sheet.contains(u"<cols>"_s));
        QVERIFY(unzipped(path, "xl/styles.xml").contains(u"<b/>"_s));
    }
};

QTEST_GUILESS_MAIN(TestResultsExport)
#include "tst_resultsexport.moc"
