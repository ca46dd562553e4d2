#include "components/AppError.h"
#include "components/EntityDirectory.h"
#include "components/SuffixValidator.h"
#include "support/TestHome.h"

#include <QTest>

// A small nomenclator: 8482.10.10.000B takes a free value AA from its chapter, the option
// group BC from its heading and the numeric code ZA from its subheading; 3926.90.90.100K
// takes none; 7318.15.00.200C has the option group CD on the position itself.
static const char* const Fixture = R"(
insert into ncm ([001], [002], [003]) values ('8482.10.10', '000', 'B');
insert into ncm ([001], [002], [003]) values ('3926.90.90', '100', 'K');
insert into ncm ([001], [002], [003]) values ('7318.15.00', '200', 'C');
insert into sufidos (sim, sufijo, detalle) values ('84  .  .  .   ', 'AA', 'Material');
insert into sufidos (sim, sufijo, detalle) values ('8482.  .  .   ', 'BC01', 'Rodamiento de bolas');
insert into sufidos (sim, sufijo, detalle) values ('8482.  .  .   ', 'BC02', 'Rodamiento de rodillos');
insert into sufidos (sim, sufijo, detalle) values ('8482.10.  .   ', 'ZA', 'Codigo de fabricante');
insert into sufidos (sim, sufijo, detalle) values ('8482.11.  .   ', 'XX', 'Otra subpartida');
insert into sufidos (sim, sufijo, detalle) values ('7318.15.00.200', 'CD01', 'Galvanizado');
insert into sufidos (sim, sufijo, detalle) values ('7318.15.00.200', 'CDX', 'Fila de largo invalido');
)";

// Each reason of a failure (missing position, missing group, group twice, unknown option, ...)
// is checked with this result by the catalog check's test (tests/config).
class TestSuffixValidator : public QObject {
    Q_OBJECT

    TestHome m_home;
    EntityDirectory m_directory{m_home.path()};
    SuffixValidator m_validator;
    /** Reads every position of the cases ahead, then answers with its connection closed. */
    SuffixValidator m_readAhead;

private Q_SLOTS:
    void initTestCase()
    {
        m_home.createDatabases();
        m_home.runNomenclatorSql(QString::fromLatin1(Fixture));
        m_directory.LoadParameters();
        m_validator.ConexionString(m_directory);
        m_readAhead.ConexionString(m_directory);
        QStringList positions;
        for (const char* position : {"8482.10.10.000C", "8482.10.10.000", "", " 3926.90.90.100K ",
                                     "8482.10.10.000B", "7318.15.00.200C"})
            positions << QString::fromLatin1(position);
        m_readAhead.prefetch(positions);
        m_readAhead.nomenclator().database().close();
    }

    void validate_data()
    {
        QTest::addColumn<QString>("position");
        QTest::addColumn<QString>("suffixes");
        QTest::addColumn<int>("expected");
        const QString bearing = QStringLiteral("8482.10.10.000B");
        const QString plastic = QStringLiteral("3926.90.90.100K");
        const QString screw = QStringLiteral("7318.15.00.200C");
        QTest::newRow("14 characters") << QStringLiteral("8482.10.10.000") << QString() << 1;
        QTest::newRow("empty position") << QString() << QString() << 1;
        QTest::newRow("position trimmed") << QStringLiteral(" 3926.90.90.100K ") << QString() << 0;

        QTest::newRow("no groups, dash") << plastic << QStringLiteral(" - ") << 0;

        QTest::newRow("all levels") << bearing << QStringLiteral("AA(ACERO)-BC01-ZA(123456)-") << 0;
        QTest::newRow("any order, no final dash")
            << bearing << QStringLiteral("ZA(123456)-BC02-AA(ACERO INOX)") << 0;
        QTest::newRow("option 00") << bearing << QStringLiteral("AA(ACERO)-BC00-ZA(123456)-") << 0;
        QTest::newRow("allowed characters")
            << bearing << QStringLiteral("AA(A,B & C/Ñ 9)-BC01-ZA(000001)-") << 0;
        QTest::newRow("required, empty") << bearing << QString() << 2;
        QTest::newRow("group of a sibling subheading")
            << bearing << QStringLiteral("AA(ACERO)-BC01-ZA(123456)-XX(A)-") << 2;
        QTest::newRow("option as free value")
            << bearing << QStringLiteral("AA(ACERO)-BC(01)-ZA(123456)-") << 2;
        QTest::newRow("Z code, letters")
            << bearing << QStringLiteral("AA(ACERO)-BC01-ZA(12345A)-") << 2;
        QTest::newRow("blank value") << bearing << QStringLiteral("AA( )-BC01-ZA(123456)-") << 2;
        QTest::newRow("lower case value")
            << bearing << QStringLiteral("AA(acero)-BC01-ZA(123456)-") << 2;
        QTest::newRow("21 characters")
            << bearing << QStringLiteral("AA(ABCDEFGHIJKLMNOPQRSTU)-BC01-ZA(123456)-") << 2;
        QTest::newRow("20 characters")
            << bearing << QStringLiteral("AA(ABCDEFGHIJKLMNOPQRST)-BC01-ZA(123456)-") << 0;
        QTest::newRow("dash inside parentheses is one entry")
            << bearing << QStringLiteral("AA(A-B)-BC01-ZA(123456)-") << 2;
        QTest::newRow("malformed entry")
            << bearing << QStringLiteral("AA(ACERO-BC01-ZA(123456)-") << 2;

        QTest::newRow("option group on the position") << screw << QStringLiteral("CD01-") << 0;
        QTest::newRow("its 00") << screw << QStringLiteral("CD00-") << 0;
        QTest::newRow("row of other length ignored") << screw << QStringLiteral("CDX-") << 2;
    }

    void validate()
    {
        QFETCH(QString, position);
        QFETCH(QString, suffixes);
        QFETCH(int, expected);
        QCOMPARE(m_validator.ValidarSufijos(position, suffixes), expected);
        QCOMPARE(m_readAhead.ValidarSufijos(position, suffixes), expected);
    }

    void withoutConnectionRaises()
    {
        SuffixValidator unconnected;
        QVERIFY_THROWS_EXCEPTION(AppError, unconnected.ValidarSufijos(QString(), QString()));
    }
};

QTEST_GUILESS_MAIN(TestSuffixValidator)
#include "tst_suffixvalidator.moc"
