#include "support/Cli.h"
#include "support/TestHome.h"

#include <QTest>

#include <vector>

using namespace Qt::StringLiterals;

namespace {

/** Runs "aduplan-cli --home HOME interno ARGS..."; the exit code, standard output and error. */
QString interno(const TestHome& home, const std::vector<const char*>& args)
{
    QStringList arguments{u"interno"_s};
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
        QCOMPARE(interno(home, {"list"}), u"0||"_s);
        QCOMPARE(interno(home, {"add", "100"}), u"0||"_s);
        QCOMPARE(interno(home, {"add", "7'1", "Caja 'A'"}), u"0||"_s);
        QCOMPARE(interno(home, {"add", "100", "otra"}), u"1||El interno 100 ya existe.\n"_s);
        QCOMPARE(interno(home, {"add", " "}), u"1||Debe ingresar el número interno\n"_s);
        QCOMPARE(interno(home, {"list"}), u"0|100\t100\n7 1\tCaja  A \n|"_s);
        // Control characters are refused in the number and in the description.
        for (const auto& refused :
             std::vector<std::vector<const char*>>{{"add", "9\x1b[2J"}, {"add", "10", "a\nb"}})
            QVERIFY(interno(home, refused)
                        .startsWith(u"1||El número y la descripción del interno no pueden contener "
                                    "caracteres de control"_s));
        QCOMPARE(interno(home, {"list"}), u"0|100\t100\n7 1\tCaja  A \n|"_s);

        QCOMPARE(interno(home, {"delete", "100"}), u"0||"_s);
        QCOMPARE(interno(home, {"delete", "100"}), u"1||No existe el interno 100.\n"_s);
        QCOMPARE(interno(home, {"list"}), u"0|7 1\tCaja  A \n|"_s);

        // The number is found as it was stored; "--" ends the options.
        QCOMPARE(interno(home, {"delete", "7'1"}), u"0||"_s);
        QCOMPARE(interno(home, {"add", "--", "--9", "-x"}), u"0||"_s);
        QCOMPARE(interno(home, {"list"}), u"0|--9\t-x\n|"_s);
        QCOMPARE(interno(home, {"delete", "--", "--9"}), u"0||"_s);

        for (const auto& wrong : std::vector<std::vector<const char*>>{
                 {}, {"add"}, {"delete"}, {"list", "x"}, {"borrar", "1"}}) {
            const QString run = interno(home, wrong);
            QVERIFY2(run.startsWith(u"2||"_s), qPrintable(run));
            QVERIFY(run.contains(u"interno add NUMERO [DESCRIPCION]"_s));
        }
    }
};

QTEST_GUILESS_MAIN(TestCliInterno)
#include "tst_cli_interno.moc"
