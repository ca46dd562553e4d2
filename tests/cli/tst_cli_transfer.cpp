#include "support/Cli.h"
#include "transfer/TransferData.h"

#include <QTest>

using namespace TransferData;

namespace {

/** A run of "transfer" with the arguments (split at spaces), as "exit code|stdout|stderr". */
QString transfer(const TestHome& home, const char* arguments)
{
    return runCli(home.path(), QStringList{QStringLiteral("transfer")} +
                                   QString::fromUtf8(arguments).split(u' ', Qt::SkipEmptyParts))
        .joined();
}

} // namespace

class TransferCliTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void transferReplaceAndRefusals();
};

void TransferCliTest::transferReplaceAndRefusals()
{
    Home home;
    home.setSetting(QStringLiteral("INTCAT"), QStringLiteral("CAT1"));
    // The declaration database of the home as another program sees it.
    DataSession declaration(QStringLiteral("INTERNOS"));
    declaration.CadenaConexion(
        DataSession::sqliteConnection(home.file(QStringLiteral("declaration.db"))));
    declaration.Conectar();
    const QString done = QStringLiteral("0|Se transfirio 3 articulos en el interno 100\n|");

    QCOMPARE(transfer(home, "100"), done);
    QCOMPARE(items(declaration), expectedItems());

    // Already there: refused without --replace.
    QCOMPARE(transfer(home, "100"),
             QStringLiteral("1||El interno [ 100 ] ya existe.\n\nDesea reemplazarlo?\nNo se "
                            "transfirió ningún registro. Use --replace para reemplazarlo.\n"));

    QCOMPARE(transfer(home, "100 --replace"), done);

    // The pre-check refuses interno 200, which has a row to correct; wrong use. First lines:
    const auto first = [&home](const char* args) {
        return transfer(home, args).section(QLatin1Char('\n'), 0, 0);
    };
    QCOMPARE(first("200"), QStringLiteral("1||Hay registros para depurar."));
    QCOMPARE(first(""), QStringLiteral("2||Falta el número de interno."));
    QCOMPARE(first("100 --x"), QStringLiteral("2||Argumento desconocido: --x"));
}

QTEST_GUILESS_MAIN(TransferCliTest)
#include "tst_cli_transfer.moc"
