#include "data/ArticleStore.h"
#include "import/ArticleLoading.h"
#include "import/DocumentImport.h"
#include "support/Cli.h"
#include "support/ScriptedDialogs.h"
#include "support/TestHome.h"
#include "workspace/Workspace.h"

#include <QTest>

namespace {

InvoiceLine article(const char* part, double quantity, const char* unit, double total,
                    const char* origin = "", const char* description = nullptr)
{
    const QString p = QString::fromUtf8(part);
    const QString d = description ? QString::fromUtf8(description) : p + QStringLiteral(" DESC");
    const double price = quantity == 0 ? 0 : total / quantity;
    return {p, quantity, d, QString::fromUtf8(origin), price, total, QString::fromUtf8(unit)};
}

QString invoice(const QString& name)
{
    return TestHome::testDataPath(QStringLiteral("import/") + name);
}

/** A work database with two relations and two internos holding former rows. */
struct Fixture {
    TestHome home;
    ScriptedDialogs dialogs;
    RecordingProgress progress;
    std::unique_ptr<Workspace> ws;
    const QStringList formerRows = {QStringLiteral("1|OLD-1|X|||||"),
                                    QStringLiteral("2|OLD-2|X|||||")};

    Fixture()
    {
        home.createDatabases();
        home.runWorkSql(QStringLiteral(
            "insert into ORG (PAI, ORI) values ('US', ' 212 ');\n"
            "insert into ORG (PAI, ORI) values ('JAPAN', '399');\n"
            "insert into ORG (PAI, ORI) values ('JAPAN', '999');\n"
            "insert into ORG (PAI, ORI) values ('NOWHERE', NULL);\n"
            "insert into INTN (INTNRO, INTDSC) values ('100', 'CIEN');\n"
            "insert into INTN (INTNRO, INTDSC) values ('200', 'DOSCIENTOS');\n"
            "insert into ART (INTNRO, ARTORD, ARTNRO, ARTDSC) values ('100', 1, 'OLD-1', 'X');\n"
            "insert into ART (INTNRO, ARTORD, ARTNRO, ARTDSC) values ('100', 2, 'OLD-2', 'X');\n"
            "insert into ART (INTNRO, ARTORD, ARTNRO, ARTDSC) values ('200', 1, 'KEEP', 'X');\n"));
        ws = std::make_unique<Workspace>(home.path(), dialogs, progress);
        ws->open();
    }

    bool load(const QList<InvoiceLine>& lines, const QString& interno = QStringLiteral("100"))
    {
        const std::optional<QList<Article>> articles = CargarArticulos(*ws, lines);
        if (!articles)
            return false;
        TransactionGuard transaction(ws->work());
        ArticleStore(ws->work()).replaceRows(interno, *articles);
        transaction.commit();
        return true;
    }

    /** ARTORD|ARTNRO|ARTDSC|PRCDUN|ARTCAN|ARTUNI|ARTTOT|ARTORG of an interno, in order. */
    QStringList rows(const QString& interno = QStringLiteral("100"))
    {
        QStringList out;
        RecordSet rs;
        ws->work().Sql(QStringLiteral("select * from ART where INTNRO = ? order by ARTORD"),
                       {interno});
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

void addFormats()
{
    QTest::addColumn<QString>("suffix");
    QTest::newRow("doc") << QStringLiteral(".doc");
    QTest::newRow("docx") << QStringLiteral(".docx");
}

} // namespace

class TestArticleImport : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roundsAsFormatting()
    {
        // Halves away from zero, on the decimal text of the value (1.005 lies just below).
        QCOMPARE(roundFormatted(1.005, 2), 1.01);
        QCOMPARE(roundFormatted(-2.345, 2), -2.35);
    }

    void loadsRowsAndAsksUnknownOriginOnce()
    {
        Fixture f;
        // Conversions of the known units and asking an origin once: importsDocuments.
        // Units are compared exactly: lower-case ones stay as read, quantity and price too; a
        // relation without code leaves the origin empty.
        QVERIFY(f.load({article("A-5", 2, "ea", 1, "NOWHERE"), article("A-6", 2, "lb", 3, "US")}));
        QCOMPARE(f.dialogs.messageTexts(), QStringList());
        QCOMPARE(f.rows(), (QStringList{QStringLiteral("1|A-5|A-5 DESC|ea|2|0.5|1|"),
                                        QStringLiteral("2|A-6|A-6 DESC|lb|2|1.5|3|212")}));
        QCOMPARE(f.rows(QStringLiteral("200")), QStringList{QStringLiteral("1|KEEP|X|||||")});

        // An invoice without articles leaves the interno empty.
        QVERIFY(f.load({}));
        QCOMPARE(f.rows(), QStringList());

        // Apostrophes in every value are bound; in the description they become acute accents.
        f.home.runWorkSql(
            QStringLiteral("insert into ORG (PAI, ORI) values ('COTE D''IVOIRE', '4''7');\n"));
        QVERIFY(f.load({article("O'NEIL-1", 1, "E'A", 2, "COTE D'IVOIRE", "DON'T 'PANIC'")},
                       QStringLiteral("O'1")));
        QCOMPARE(f.rows(QStringLiteral("O'1")),
                 QStringList{QStringLiteral("1|O'NEIL-1|DON´T ´PANIC´|E'A|1|2|2|4'7")});
    }

    void failuresKeepFormerRows()
    {
        Fixture f;
        // Leaving the origin relation entry without saving.
        f.dialogs.originAnswers.enqueue(
            OriginRelation{QStringLiteral("CHILE"), QStringLiteral("208")});
        f.dialogs.originAnswers.enqueue(std::nullopt);
        QVERIFY(
            !f.load({article("A-1", 1, "EA", 1, "CHILE"), article("A-2", 1, "EA", 1, "FRANCE")}));
        QCOMPARE(f.dialogs.originTexts,
                 (QStringList{QStringLiteral("CHILE"), QStringLiteral("FRANCE")}));
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages[0].icon, MessageIcon::Critical);
        QCOMPARE(f.dialogs.messages[0].text,
                 QStringLiteral("No seleciono Pais de Origen!\n\n1111"));
        QCOMPARE(f.rows(), f.formerRows);

        // A converted quantity of 0 fails before anything is deleted.
        QVERIFY(!f.load({article("Z-1", 0, "LB", 1)}));
        QCOMPARE(f.dialogs.messages.size(), 2);
        QVERIFY(f.dialogs.messages[1].text.contains(QStringLiteral("Z-1")));
        QVERIFY(f.dialogs.messages[1].text.endsWith(QStringLiteral("\n\n1111")));
        QCOMPARE(f.rows(), f.formerRows);
    }

    /** Invoices saved by a word processor, read end to end by the parse command. */
    void parseCommandPrintsTheRecords_data() { addFormats(); }
    void parseCommandPrintsTheRecords()
    {
        QFETCH(QString, suffix);
        const TestHome home;
        const auto run = [&](const char* name) {
            return runCli(home.path(),
                          {QStringLiteral("parse"), invoice(QLatin1String(name) + suffix)});
        };
        const CliRun records = run("invoice-fixed-columns");
        QVERIFY2(records.code == 0, qPrintable(records.err));
        QCOMPARE(records.out,
                 TestHome::testData(QStringLiteral("import/invoice-fixed-columns.expected.jsonl")));
        QCOMPARE(run("invoice-blank").joined(), QStringLiteral("0||"));
        const CliRun failed = run("invoice-bad-quantity");
        QCOMPARE(failed.code, 1);
        QCOMPARE(failed.out, QString());
        QVERIFY2(failed.err.contains(QStringLiteral("\"TEN\"")), qPrintable(failed.err));
    }

    void importsDocuments_data() { addFormats(); }
    void importsDocuments()
    {
        QFETCH(QString, suffix);
        Fixture f;
        // Read, then loaded as the process loads it.
        const auto importPath = [&](const QString& path) {
            const PreparedImport read = ImportarDocumento(*f.ws, path, QStringLiteral("100"));
            if (read.outcome == ImportOutcome::Loaded && !f.load(read.lines))
                return ImportOutcome::Failed;
            return read.outcome;
        };
        const auto importFile = [&](const char* name) {
            return importPath(invoice(QLatin1String(name) + suffix));
        };
        QCOMPARE(importFile("invoice-blank"), ImportOutcome::NoText);
        QCOMPARE(f.dialogs.messages.size(), 0);
        QCOMPARE(importFile("invoice-bad-quantity"), ImportOutcome::Failed);
        QCOMPARE(importFile("invoice-origin-first"), ImportOutcome::Failed);
        QCOMPARE(importFile("no-such-invoice"), ImportOutcome::Failed);
        QCOMPARE(f.dialogs.messages.size(), 3);
        QCOMPARE(f.dialogs.messages[0].icon, MessageIcon::Exclamation);
        QCOMPARE(
            f.dialogs.messages[0].text,
            QStringLiteral("Línea 7 del documento (artículo AB-101): la cantidad \"TEN\" no es "
                           "un número.\n13"));
        QVERIFY(f.dialogs.messages[1].text.endsWith(QStringLiteral("\n9")));
        QCOMPARE(f.dialogs.messages[2].icon, MessageIcon::Critical);
        QCOMPARE(f.rows(), f.formerRows);

        f.dialogs.originAnswers.enqueue(
            OriginRelation{QStringLiteral("GERMANY"), QStringLiteral("438")});
        QCOMPARE(importFile("invoice-fixed-columns"), ImportOutcome::Loaded);
        QCOMPARE(f.dialogs.messages.size(), 3);
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
        const QStringList loaded = f.rows();

        // A document with text but not one article line changes nothing.
        const QString noArticles =
            TestHome::testDataPath(suffix == QLatin1String(".doc")
                                       ? QStringLiteral("word/corpus/tika-testWORD.doc")
                                       : QStringLiteral("word/corpus/tika-testWORD_text_box.docx"));
        QCOMPARE(importPath(noArticles), ImportOutcome::NoArticles);
        QCOMPARE(f.rows(), loaded);

        // A row corrected by hand is replaced only when the operator says so.
        f.home.runWorkSql(QStringLiteral("update ART set PRCEST = 'M' where INTNRO = '100' and "
                                         "ARTORD = 2;\n"));
        f.dialogs.questionAnswers << false << true;
        QCOMPARE(importFile("invoice-fixed-columns"), ImportOutcome::Kept);
        QCOMPARE(f.rows(), loaded);
        QCOMPARE(ArticleStore(f.ws->work()).countCorrected(QStringLiteral("100")), 1);
        QVERIFY2(f.dialogs.questions.last().contains(
                     QStringLiteral("tiene 1 registro corregido a mano")),
                 qPrintable(f.dialogs.questions.last()));
        QCOMPARE(f.dialogs.questionDefaults.last(), DefaultAnswer::No);
        f.dialogs.originAnswers.enqueue(
            OriginRelation{QStringLiteral("GERMANY"), QStringLiteral("438")});
        QCOMPARE(importFile("invoice-fixed-columns"), ImportOutcome::Loaded);
        QCOMPARE(ArticleStore(f.ws->work()).countCorrected(QStringLiteral("100")), 0);
        QCOMPARE(f.dialogs.questions.size(), 2);
        QCOMPARE(f.dialogs.messages.size(), 3);
    }
};

QTEST_GUILESS_MAIN(TestArticleImport)
#include "tst_articleimport.moc"
