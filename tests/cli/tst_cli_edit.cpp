#include "support/Cli.h"
#include "support/TestHome.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

/** The JSON line of an ARTORD of interno 1001. */
QString row(const QString& home, int line)
{
    const QStringList rows = cli(home, {u"rows"_s, u"1001"_s}).split(u'\n');
    return rows.at(line - 1);
}

} // namespace

class TestCliEdit : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void editRefusesThenSaves()
    {
        TestHome home;
        const QString dir = home.path();
        QCOMPARE(cli(dir, {u"init"_s, u"--demo"_s}).left(2), u"0|"_s);
        QVERIFY(cli(dir, {u"process"_s, u"1001"_s, dir + u"/invoices/factura-northfield-0318.doc"_s,
                          u"--origin"_s, u"VIETNAM=337"_s})
                    .startsWith(u"0|"_s));
        // Line 11 (KP-3300) carries a position the nomenclator does not have.
        const QString before = row(dir, 11);
        QVERIFY(before.contains(u"\"PRCCRC\":\"POS\""_s));

        const QString valid = u"8412.31.10.000Z"_s;
        const QList<std::pair<QStringList, QString>> refusals = {
            {{u"11"_s}, u"1||Posición no encontrada en Nomenclador\n"_s},
            {{u"11"_s, u"--ncm"_s, valid}, u"1||Falta seleccionar el país de origen.\n"_s},
            {{u"11"_s, u"--ncm"_s, valid, u"--ori"_s, u"212"_s, u"--esm"_s, u"X"_s},
             u"1||Estado de mercaderia inválida\n"_s},
            {{u"11"_s, u"--ncm"_s, valid, u"--ori"_s, u"212"_s, u"--suf"_s, u"AA(X)-"_s},
             u"1||Sufijos inválidos\n"_s},
            {{u"11"_s, u"--sca"_s, u"3"_s}, u"1||El registro no tiene derecho específico.\n"_s},
            {{u"11"_s, u"--ori"_s, u"999"_s}, u"1||País de origen desconocido: 999\n"_s},
            {{u"999"_s}, u"1||El interno 1001 no tiene la línea 999.\n"_s},
        };
        for (const auto& [args, expected] : refusals)
            QCOMPARE(cli(dir, QStringList{u"edit"_s, u"1001"_s} + args), expected);
        QCOMPARE(row(dir, 11), before);
        QVERIFY(cli(dir, {u"edit"_s, u"1001"_s}).startsWith(u"2||Falta el número de línea"_s));

        // Declared in the statistical unit with no quantity: the invoice's is taken.
        QCOMPARE(cli(dir, {u"edit"_s, u"1001"_s, u"11"_s, u"--ncm"_s, valid, u"--ori"_s, u"212"_s,
                           u"--dun"_s, u"07"_s, u"--eca"_s, u"0"_s}),
                 u"0||"_s);
        const QString saved = row(dir, 11);
        for (const QString& column :
             {u"\"PRCNCM\":\"8412.31.10.000Z\""_s, u"\"PRCSUF\":\"AA(AIRTEC)-AB(KP3300)-\""_s,
              u"\"PRCECA\":2"_s, u"\"PRCORI\":\"212\""_s, u"\"PRCEST\":\"M\""_s,
              u"\"PRCCRC\":\"OK\""_s})
            QVERIFY2(saved.contains(column), qPrintable(saved));
        QVERIFY(cli(dir, {u"stats"_s, u"1001"_s}).contains(u"con_errores: 8\n"_s));
    }
};

QTEST_GUILESS_MAIN(TestCliEdit)
#include "tst_cli_edit.moc"
