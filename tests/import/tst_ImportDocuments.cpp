#include "app/Workspace.h"
#include "import/DocumentImport.h"
#include "support/ScriptedDialogs.h"
#include "support/TestHome.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

namespace {

QString invoice(const QString& name)
{
    return TestHome::testDataPath(QStringLiteral("import/") + name);
}

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QString err;
};

CliRun runParse(const QString& path)
{
    QProcess process;
    process.start(QStringLiteral(ADUPLAN_CLI), {QStringLiteral("parse"), path});
    if (!process.waitForFinished(-1))
        return {};
    return {process.exitCode(), process.readAllStandardOutput(),
            QString::fromUtf8(process.readAllStandardError())};
}

QList<QJsonObject> jsonLines(const QByteArray& text)
{
    QList<QJsonObject> objects;
    for (const QByteArray& line : text.split('\n')) {
        if (!line.isEmpty())
            objects << QJsonDocument::fromJson(line).object();
    }
    return objects;
}

/** A work database with relations for US and JAPAN and former rows under interno 100. */
struct Fixture {
    TestHome home;
    ScriptedDialogs dialogs;
    RecordingProgress progress;
    std::unique_ptr<Workspace> ws;

    Fixture()
    {
        home.createDatabases();
        home.runWorkSql(QStringLiteral(
            "insert into ORG (PAI, ORI) values ('US', '212');\n"
            "insert into ORG (PAI, ORI) values ('JAPAN', '399');\n"
            "insert into INTN (INTNRO, INTDSC) values ('100', 'CIEN');\n"
            "insert into ART (INTNRO, ARTORD, ARTNRO, ARTDSC) values ('100', 1, 'OLD-1', 'X');\n"));
        ws = std::make_unique<Workspace>(home.path(), dialogs, progress);
        ws->open();
    }

    QStringList rows()
    {
        QStringList out;
        RecordSet rs;
        ws->work().Sql(QStringLiteral("select * from ART where INTNRO = '100' order by ARTORD"));
        ws->work().CrearRs(rs);
        for (; !rs.Eof(); rs.MoveNext()) {
            QStringList fields;
            for (const char* column :
                 {"ARTORD", "ARTNRO", "ARTDSC", "PRCDUN", "ARTCAN", "ARTUNI", "ARTTOT", "ARTORG"})
                fields << rs.Fields(QLatin1String(column)).toString();
            out << fields.join(QLatin1Char('|'));
        }
        return out;
    }
};

/** The document format under test: the suffix this executable was built for. */
void addFormats()
{
    QTest::addColumn<QString>("suffix");
    QTest::newRow(ADUPLAN_INVOICE_SUFFIX) << QStringLiteral(ADUPLAN_INVOICE_SUFFIX);
}

const QStringList FormerRows = {QStringLiteral("1|OLD-1|X|||||")};

} // namespace

/** Invoices saved by a word processor, read end to end. */
class TestImportDocuments : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parseCommandPrintsTheRecords_data() { addFormats(); }
    void parseCommandPrintsTheRecords()
    {
        QFETCH(QString, suffix);
        const CliRun run = runParse(invoice(QStringLiteral("invoice-fixed-columns") + suffix));
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QFile expectedFile(invoice(QStringLiteral("invoice-fixed-columns.expected.jsonl")));
        QVERIFY(expectedFile.open(QIODevice::ReadOnly));
        QCOMPARE(jsonLines(run.out), jsonLines(expectedFile.readAll()));
        // Keys in the documented order.
        QVERIFY(
            run.out.startsWith("{\"n\":1,\"part\":\"AB-100\",\"quantity\":10,\"unit\":\"LB\","));

        const CliRun blank = runParse(invoice(QStringLiteral("invoice-blank") + suffix));
        QCOMPARE(blank.exitCode, 0);
        QCOMPARE(blank.out, QByteArray());
    }

    void parseCommandRefusesBadDocuments_data() { addFormats(); }
    void parseCommandRefusesBadDocuments()
    {
        QFETCH(QString, suffix);
        const CliRun quantity = runParse(invoice(QStringLiteral("invoice-bad-quantity") + suffix));
        QCOMPARE(quantity.exitCode, 1);
        QVERIFY2(quantity.err.contains(QStringLiteral("\"TEN\"")), qPrintable(quantity.err));
        QCOMPARE(quantity.out, QByteArray());

        const CliRun origin = runParse(invoice(QStringLiteral("invoice-origin-first") + suffix));
        QCOMPARE(origin.exitCode, 1);
        QVERIFY2(origin.err.contains(QStringLiteral("COUNTRY OF ORIGIN:")), qPrintable(origin.err));

        const CliRun missing = runParse(invoice(QStringLiteral("no-such-invoice") + suffix));
        QCOMPARE(missing.exitCode, 1);
        QVERIFY(!missing.err.isEmpty());
    }

    void importReplacesTheRows_data() { addFormats(); }
    void importReplacesTheRows()
    {
        QFETCH(QString, suffix);
        Fixture f;
        f.dialogs.originAnswers.enqueue(
            OriginRelation{QStringLiteral("GERMANY"), QStringLiteral("438")});
        QCOMPARE(ImportarDocumento(*f.ws, invoice(QStringLiteral("invoice-fixed-columns") + suffix),
                                   QStringLiteral("100")),
                 ImportOutcome::Loaded);
        QCOMPARE(f.dialogs.messageTexts(), QStringList());
        QCOMPARE(f.dialogs.originTexts, QStringList{QStringLiteral("GERMANY")});
        QCOMPARE(f.progress.busyDepth, 0);
        QCOMPARE(f.rows(),
                 (QStringList{
                     QStringLiteral("1|AB-100|STEEL BOLT|01|4.54|10|45.36|399"),
                     QStringLiteral("2|HS-200|RUBBER HOSE 1/2\" D´ARTAGNAN|02|0.91|9.84252|9|438"),
                     QStringLiteral("3|O'NEIL-7|TUERCA ÑANDÚ 3/8|07|1000|1.25|1250|438"),
                     QStringLiteral("4|TB-4|\tTAB INDENTED WASHER|PCS|5|2|10|212"),
                     QStringLiteral("5|CL-9|COUNTRY OF ORIGIN: MEXICO|05|7.57|1|7.57|212"),
                 }));
    }

    void failedOrEmptyImportChangesNothing_data() { addFormats(); }
    void failedOrEmptyImportChangesNothing()
    {
        QFETCH(QString, suffix);
        Fixture f;
        QCOMPARE(ImportarDocumento(*f.ws, invoice(QStringLiteral("invoice-blank") + suffix),
                                   QStringLiteral("100")),
                 ImportOutcome::NoText);
        QCOMPARE(f.dialogs.messages.size(), 0);
        QCOMPARE(f.rows(), FormerRows);

        QCOMPARE(ImportarDocumento(*f.ws, invoice(QStringLiteral("invoice-bad-quantity") + suffix),
                                   QStringLiteral("100")),
                 ImportOutcome::Failed);
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages[0].icon, MessageIcon::Exclamation);
        QCOMPARE(
            f.dialogs.messages[0].text,
            QStringLiteral("Línea 7 del documento (artículo AB-101): la cantidad \"TEN\" no es "
                           "un número.\n13"));
        QCOMPARE(f.rows(), FormerRows);

        QCOMPARE(ImportarDocumento(*f.ws, invoice(QStringLiteral("invoice-origin-first") + suffix),
                                   QStringLiteral("100")),
                 ImportOutcome::Failed);
        QCOMPARE(f.dialogs.messages.size(), 2);
        QVERIFY(f.dialogs.messages[1].text.endsWith(QStringLiteral("\n9")));
        QCOMPARE(f.rows(), FormerRows);

        QCOMPARE(ImportarDocumento(*f.ws, invoice(QStringLiteral("no-such-invoice") + suffix),
                                   QStringLiteral("100")),
                 ImportOutcome::Failed);
        QCOMPARE(f.dialogs.messages.size(), 3);
        QCOMPARE(f.dialogs.messages[2].icon, MessageIcon::Critical);
        QCOMPARE(f.rows(), FormerRows);
        QCOMPARE(f.progress.busyDepth, 0);
    }
};

QTEST_GUILESS_MAIN(TestImportDocuments)
#include "tst_ImportDocuments.moc"
