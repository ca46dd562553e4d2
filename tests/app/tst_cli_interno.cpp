#include "support/TestHome.h"

#include <QProcess>
#include <QTest>

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
    process.waitForFinished(-1);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

class TestCliInterno : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void addListDelete()
    {
        TestHome home;
        home.createDatabases();
        const auto interno = [&](QStringList args) {
            return cli(home, QStringList{QStringLiteral("interno")} + args);
        };

        Run run = interno({QStringLiteral("list")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QString());

        QCOMPARE(interno({QStringLiteral("add"), QStringLiteral("100")}).exitCode, 0);
        QCOMPARE(interno({QStringLiteral("add"), QStringLiteral("7'1"), QStringLiteral("Caja 'A'")})
                     .exitCode,
                 0);
        run = interno({QStringLiteral("add"), QStringLiteral("100"), QStringLiteral("otra")});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err, QStringLiteral("El interno 100 ya existe.\n"));
        run = interno({QStringLiteral("add"), QStringLiteral(" ")});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err, QStringLiteral("Debe ingresar el número interno\n"));

        run = interno({QStringLiteral("list")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QStringLiteral("100\t100\n7 1\tCaja  A \n"));

        home.runWorkSql(QStringLiteral("insert into ART (INTNRO, ARTORD) values ('100', 1);\n"));
        run = interno({QStringLiteral("delete"), QStringLiteral("100")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err, QString());
        run = interno({QStringLiteral("delete"), QStringLiteral("100")});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err, QStringLiteral("No existe el interno 100.\n"));
        QCOMPARE(interno({QStringLiteral("list")}).out, QStringLiteral("7 1\tCaja  A \n"));

        // The article rows went with the interno: adding it again finds none.
        QCOMPARE(interno({QStringLiteral("add"), QStringLiteral("100")}).exitCode, 0);
        home.runWorkSql(QStringLiteral("insert into INTN select 'filas', count(*) from ART;\n"));
        QVERIFY(interno({QStringLiteral("list")}).out.contains(QStringLiteral("filas\t0\n")));
    }

    void wrongUse()
    {
        TestHome home;
        home.createDatabases();
        for (const QStringList& args :
             {QStringList{QStringLiteral("interno")},
              QStringList{QStringLiteral("interno"), QStringLiteral("add")},
              QStringList{QStringLiteral("interno"), QStringLiteral("delete")},
              QStringList{QStringLiteral("interno"), QStringLiteral("list"), QStringLiteral("x")},
              QStringList{QStringLiteral("interno"), QStringLiteral("borrar"),
                          QStringLiteral("1")}}) {
            const Run run = cli(home, args);
            QCOMPARE(run.exitCode, 2);
            QVERIFY(run.err.contains(QStringLiteral("interno add NUMERO [DESCRIPCION]")));
        }
    }
};

QTEST_GUILESS_MAIN(TestCliInterno)
#include "tst_cli_interno.moc"
