// SPDX-License-Identifier: Apache-2.0
#include "ConfigHome.h"

#include "config/CatalogCheck.h"
#include "support/Golden.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestCatalogCheck : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void eachFailureHasItsReason()
    {
        // config/catalog-check.*.sql tell the cases; the failures and counts are in .txt.
        ConfigHome fixture;
        fixture.home.load(u"config/catalog-check.nomenclator.sql"_s);
        fixture.home.load(u"config/catalog-check.declaration.sql"_s);
        Workspace& ws = fixture.open();

        const CatalogCheckResult result = CatalogCheck::run(ws, u"CHK"_s);
        QString report;
        for (const CatalogFailure& f : result.failures)
            report += f.entry.number + u": "_s + CatalogCheck::reason(f.verdict) + u'\n';
        for (const auto& [reason, count] : result.counts())
            report += reason + u": "_s + QString::number(count) + u'\n';
        report += u"checked: "_s + QString::number(result.checked) + u'\n';
        COMPARE_GOLDEN(report.toUtf8(), u"config/catalog-check.txt"_s);
        // Each distinct position and suffixes is judged once; the hourglass is gone after.
        QCOMPARE(fixture.progress.maximum, result.checked - 1);
        QCOMPARE(fixture.progress.busyDepth, 0);

        // The process's verdict (0, 1, 2) agrees with every reason.
        SuffixValidator validator;
        validator.ConexionString(ws.directory());
        for (const CatalogFailure& f : result.failures) {
            const SuffixFault fault = f.verdict.fault;
            const int code =
                fault == SuffixFault::PositionMissing || fault == SuffixFault::CheckLetterWrong ? 1
                                                                                                : 2;
            QCOMPARE(validator.ValidarSufijos(f.entry.position, f.entry.suffixes), code);
        }
        QCOMPARE(validator.ValidarSufijos(u"8482.10.10.000B"_s, u"AA(ACERO)-BC01-ZA(202401)-"_s),
                 0);

        QVERIFY_THROWS_EXCEPTION(AppError, CatalogCheck::run(ws, u"OTRO"_s));
    }
};

QTEST_GUILESS_MAIN(TestCatalogCheck)
#include "tst_catalogcheck.moc"
