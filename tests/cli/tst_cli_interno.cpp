#include "support/Cli.h"
#include "support/TestHome.h"

#include <QTest>

#include <vector>

namespace {

/** Runs "aduplan-cli --home HOME interno ARGS..."; the exit code, standard output and error. */
QString interno(const TestHome& home, const std::vector<const char*>& args)
{
    QStringList arguments{QStringLiteral("interno")};
    for (const char* arg : args)
        arguments << QString::fromUtf8(arg);
    return runCli(home.path(), arguments).joined();
}

} // namespace

class TestCliInterno : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void addListDelete()
    {
        TestHome home;
        home.createDatabases();
        QCOMPARE(interno(home, {"list"}), QStringLiteral("0||"));
        QCOMPARE(interno(home, {"add", "100"}), QStringLiteral("0||"));
        QCOMPARE(interno(home, {"add", "7'1", "Caja 'A'"}), QStringLiteral("0||"));
        QCOMPARE(interno(home, {"add", "100", "otra"}),
                 QStringLiteral("1||El interno 100 ya existe.\n"));
        QCOMPARE(interno(home, {"add", " "}),
                 QStringLiteral("1||Debe ingresar el número interno\n"));
        QCOMPARE(interno(home, {"list"}), QStringLiteral("0|100\t100\n7 1\tCaja  A \n|"));
        // Control characters are refused in the number and in the description.
        for (const auto& refused :
             std::vector<std::vector<const char*>>{{"add", "9\x1b[2J"}, {"add", "10", "a\nb"}})
            QVERIFY(interno(home, refused)
                        .startsWith(QStringLiteral(
                            "1||El número y la descripción del interno no pueden contener "
                            "caracteres de control")));
        QCOMPARE(interno(home, {"list"}), QStringLiteral("0|100\t100\n7 1\tCaja  A \n|"));

        QCOMPARE(interno(home, {"delete", "100"}), QStringLiteral("0||"));
        QCOMPARE(interno(home, {"delete", "100"}),
                 QStringLiteral("1||No existe el interno 100.\n"));
        QCOMPARE(interno(home, {"list"}), QStringLiteral("0|7 1\tCaja  A \n|"));

        // The number is found as it was stored; "--" ends the options.
        QCOMPARE(interno(home, {"delete", "7'1"}), QStringLiteral("0||"));
        QCOMPARE(interno(home, {"add", "--", "--9", "-x"}), QStringLiteral("0||"));
        QCOMPARE(interno(home, {"list"}), QStringLiteral("0|--9\t-x\n|"));
        QCOMPARE(interno(home, {"delete", "--", "--9"}), QStringLiteral("0||"));

        for (const auto& wrong : std::vector<std::vector<const char*>>{
                 {}, {"add"}, {"delete"}, {"list", "x"}, {"borrar", "1"}}) {
            const QString run = interno(home, wrong);
            QVERIFY2(run.startsWith(QStringLiteral("2||")), qPrintable(run));
            QVERIFY(run.contains(QStringLiteral("interno add NUMERO [DESCRIPCION]")));
        }
    }
};

QTEST_GUILESS_MAIN(TestCliInterno)
#include "tst_cli_interno.moc"
