#include "TransferData.h"

#include "support/TestHome.h"

#include <QProcess>
#include <QTest>

using namespace TransferData;

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run cli(const TestHome& home, const QStringList& args)
{
    QProcess process;
    process.start(QStringLiteral(ADUPLAN_CLI),
                  QStringList{QStringLiteral("--home"), home.path()} + args);
    if (!process.waitForFinished(60000))
        qFatal("aduplan-cli did not finish");
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

/** The declaration database of the home as another program would see it. */
QList<QStringList> declarationDump(const TestHome& home)
{
    DataSession declaration(QStringLiteral("INTERNOS"));
    declaration.CadenaConexion(QStringLiteral("Driver=QSQLITE;Database=") +
                               home.file(QStringLiteral("declaration.db")));
    declaration.Conectar();
    return dump(declaration);
}

} // namespace

class TransferCliTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void transferReplaceAndRefusals();
};

void TransferCliTest::transferReplaceAndRefusals()
{
    TestHome home;
    home.createDatabases();
    home.runWorkSql(workRows());
    home.runDeclarationSql(catalogRows());
    home.setSetting(QStringLiteral("INTCAT"), QStringLiteral("CAT1"));
    const QString done = QStringLiteral("Se transfirio 3 articulos en el interno 100\n");

    Run run = cli(home, {QStringLiteral("transfer"), QStringLiteral("100")});
    QCOMPARE(run.err, QString());
    QCOMPARE(run.out, done);
    QCOMPARE(run.exitCode, 0);
    const auto transferred = declarationDump(home);
    QVERIFY(transferred.contains(QStringList{
        QStringLiteral("CAT1"), QStringLiteral("A-1"), QStringLiteral("TORNILLO LARGO"),
        QStringLiteral("212"), QStringLiteral("0"), QStringLiteral("3"),
        QStringLiteral("7318.15.00.200B"), QStringLiteral("S"), QStringLiteral("AB(LARGO)-"),
        QStringLiteral("02"), QStringLiteral("01"), QStringLiteral("7"), QStringLiteral("2"),
        QStringLiteral(""), QStringLiteral("0")}));

    // Already there: refused without --replace, nothing changed.
    run = cli(home, {QStringLiteral("transfer"), QStringLiteral("100")});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.out, QString());
    QVERIFY2(run.err.startsWith(QStringLiteral("El interno [ 100 ] ya existe.")),
             qPrintable(run.err));
    QVERIFY2(run.err.contains(QStringLiteral("--replace")), qPrintable(run.err));
    QCOMPARE(declarationDump(home), transferred);

    run =
        cli(home, {QStringLiteral("transfer"), QStringLiteral("100"), QStringLiteral("--replace")});
    QCOMPARE(run.err, QString());
    QCOMPARE(run.out, done);
    QCOMPARE(run.exitCode, 0);

    // The pre-check refuses interno 200, which has a row to correct.
    const auto replaced = declarationDump(home);
    run = cli(home, {QStringLiteral("transfer"), QStringLiteral("200")});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.out, QString());
    QVERIFY2(run.err.startsWith(QStringLiteral("Hay registros para depurar.\n")),
             qPrintable(run.err));
    QCOMPARE(declarationDump(home), replaced);

    // Wrong use.
    QCOMPARE(cli(home, {QStringLiteral("transfer")}).exitCode, 2);
    QCOMPARE(cli(home, {QStringLiteral("transfer"), QStringLiteral("100"), QStringLiteral("--x")})
                 .exitCode,
             2);
}

QTEST_GUILESS_MAIN(TransferCliTest)
#include "tst_transfer_cli.moc"
