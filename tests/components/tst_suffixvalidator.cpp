// SPDX-License-Identifier: Apache-2.0
#include "components/AppError.h"
#include "components/EntityDirectory.h"
#include "components/SuffixValidator.h"
#include "support/TestHome.h"

#include <QTest>

using namespace Qt::StringLiterals;

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
        m_home.load(u"components/suffixes.nomenclator.sql"_s);
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

    // The cases, one a line, in components/suffix-cases.tsv.
    void validate_data()
    {
        QTest::addColumn<QString>("position");
        QTest::addColumn<QString>("suffixes");
        QTest::addColumn<int>("expected");
        const QStringList lines = TestHome::testData(u"components/suffix-cases.tsv"_s).split(u'\n');
        QCOMPARE(lines.size(), 23);
        for (const QString& line : lines.mid(1, 21)) {
            const QStringList c = line.split(u'\t');
            QTest::newRow(qPrintable(c.value(0))) << c.value(1) << c.value(2) << c.value(3).toInt();
        }
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
