#include "support/TestHome.h"

#include "components/DataSession.h"
#include "data/WorkDatabase.h"

#include <QFile>
#include <QProcess>
#include <QTest>

class TestCliProcess : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void originCodeMustBeACountry()
    {
        TestHome home;
        home.createDatabases();
        home.runWorkSql(QStringLiteral("insert into PAIS (id) values ('212');\n"));
        QProcess cli;
        cli.start(QStringLiteral(ADUPLAN_CLI),
                  {QStringLiteral("--home"), home.path(), QStringLiteral("process"),
                   QStringLiteral("7"),
                   TestHome::testDataPath(QStringLiteral("import/invoice-fixed-columns.doc")),
                   QStringLiteral("--origin"), QStringLiteral("US=212"), QStringLiteral("--origin"),
                   QStringLiteral("JAPAN=999")});
        QVERIFY(cli.waitForFinished());
        QCOMPARE(cli.exitCode(), 1);
        QCOMPARE(QString::fromUtf8(cli.readAllStandardError()),
                 QStringLiteral("El código de país \"999\" de --origin \"JAPAN=999\" no existe en "
                                "la tabla de países (PAIS).\n"));
        // Nothing stored: no interno, no relation.
        DataSession work;
        work.CadenaConexion(DataSession::sqliteConnection(WorkDatabase::path(home.path())));
        work.Conectar();
        RecordSet rs;
        work.Sql(QStringLiteral("select (select count(*) from INTN) + (select count(*) from ORG) "
                                "as n"));
        work.CrearRs(rs);
        QCOMPARE(rs.Fields(QStringLiteral("n")).toInt(), 0);
    }

    void rowsWrittenAsJson()
    {
        // Texts escaped, whole amounts without exponent, NULL as null.
        TestHome home;
        home.createDatabases();
        home.runWorkSql(QStringLiteral(
            "insert into INTN values ('7', 'Siete');\n"
            "insert into ART (INTNRO, ARTORD, ARTNRO, ARTDSC, ARTCAN, ARTUNI) values ('7', 1, "
            "'A\"\\', char(9) || 'x' || char(1) || char(128512), 1e15, 0.1);\n"));
        QProcess cli;
        cli.start(QStringLiteral(ADUPLAN_CLI), {QStringLiteral("--home"), home.path(),
                                                QStringLiteral("rows"), QStringLiteral("7")});
        QVERIFY(cli.waitForFinished());
        const QString out = QString::fromUtf8(cli.readAllStandardOutput());
        for (const QString& field :
             {QStringLiteral("\"ARTNRO\":\"A\\\"\\\\\""),
              QStringLiteral("\"ARTDSC\":\"\\tx\\u0001\U0001F600\""),
              QStringLiteral("\"ARTCAN\":1000000000000000,"), QStringLiteral("\"ARTUNI\":0.1,"),
              QStringLiteral("\"ARTTOT\":null")})
            QVERIFY2(out.contains(field), qPrintable(out));
    }

    void damagedDocumentToldInSpanishOnly()
    {
        // Half a Word 97-2003 document: libgsf's own complaints stay out of the operator's way.
        QFile whole(TestHome::testDataPath(QStringLiteral("word/generated/invoice.doc")));
        QVERIFY(whole.open(QIODevice::ReadOnly));
        TestHome home;
        QFile half(home.file(QStringLiteral("half.doc")));
        QVERIFY(half.open(QIODevice::WriteOnly));
        half.write(whole.read(whole.size() / 2));
        half.close();
        QProcess cli;
        cli.start(QStringLiteral(ADUPLAN_CLI), {QStringLiteral("parse"), half.fileName()});
        QVERIFY(cli.waitForFinished());
        QCOMPARE(cli.exitCode(), 1);
        const QString err = QString::fromUtf8(cli.readAllStandardError());
        QVERIFY2(err.startsWith(QStringLiteral("El documento está dañado")), qPrintable(err));
        QVERIFY2(!err.contains(QStringLiteral("libgsf")), qPrintable(err));
    }
};

QTEST_GUILESS_MAIN(TestCliProcess)
#include "tst_cli_process.moc"
