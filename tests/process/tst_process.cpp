// SPDX-License-Identifier: Apache-2.0
#include "components/SuffixValidator.h"
#include "components/TestSeam.h"
#include "data/ArticleStore.h"
#include "data/HistoryStore.h"
#include "data/InvoiceTotalStore.h"
#include "process/Process.h"
#include "process/Statistics.h"
#include "support/Cli.h"
#include "support/Golden.h"
#include "support/ManyPositions.h"
#include "support/WorkHome.h"
#include "wizard/Internos.h"

#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

/** A home with the process fixtures, catalog CAT1 and default goods condition "9". */
struct Office : WorkHome {
    Office()
        : WorkHome([](TestHome& fresh) {
            fresh.runDeclarationSql(TestHome::testData(u"process/declaration.sql"_s));
            fresh.runNomenclatorSql(TestHome::testData(u"process/nomenclator.sql"_s));
            fresh.setSetting(u"INTCAT"_s, u"CAT1"_s);
            fresh.setSetting(u"PRCESM"_s, u"9"_s);
        })
    {}

    /** Every ART row, by interno and order. */
    QStringList rows()
    {
        return queryRows(ws.work(), u"select "_s + ArticleStore::columns().join(u", "_s) +
                                        u" from ART order by INTNRO, ARTORD"_s);
    }

    /** Stages 2 to 4 with the suffix validator on the nomenclator, read ahead. */
    bool classify(const QString& interno = u"100"_s)
    {
        SuffixValidator validator;
        validator.ConexionString(ws.directory());
        return ClasificarArticulos(ws, interno, validator);
    }

    QList<qint64> counters(const QString& interno)
    {
        const ArticleCounters c = FRAM3_CargarEstadisticas(ws, interno);
        return {c.total, c.enCatalogo, c.nuevos, c.conErrores, c.errPosicion, c.errSufijos};
    }
};

/** A workspace opened on a fresh home with the given work data. */
struct Fixture : WorkHome {
    explicit Fixture(const QString& workSql = {})
        : WorkHome([&](TestHome& fresh) { fresh.runWorkSql(workSql); })
    {}

    qint64 articles(const QString& interno) { return FRAM3_CargarEstadisticas(ws, interno).total; }
    /** What the operator saw, the home's path as HOME. */
    QByteArray journal() { return portable(dialogs.journal.join(u'\n') + u'\n', home.path()); }
    QStringList list()
    {
        QStringList rows;
        for (const InternoRow& row : Internos::FRAM1_CargarInternos(ws))
            rows << row.numero + QLatin1Char('|') + row.descripcion;
        return rows;
    }
};

} // namespace

/** The interno list of the first step, and the process of the second. */
class TestProcess : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void classifiesFromCatalogAndValidates()
    {
        // process/articles.sql tells what each row is for.
        Office office;
        office.home.runWorkSql(TestHome::testData(u"process/articles.sql"_s));
        QVERIFY(office.classify());
        QString outcome = office.rows().join(u'\n') + u"\nprogress: "_s +
                          office.progress.messages.last() +
                          u" %1 of %2, visible %3\n"_s.arg(office.progress.value)
                              .arg(office.progress.maximum)
                              .arg(office.progress.visible) +
                          office.dialogs.messageTexts().join(u'\n');

        // Interno 200 with any other validator outcome: ERR. NULL suffixes are passed as the
        // empty text; unclassified rows are not validated.
        QStringList asked;
        QVERIFY(ClasificarArticulos(office.ws, u"200"_s,
                                    [&](const QString& position, const QString& suffixes) {
                                        asked << position + u'|' + suffixes;
                                        return position.startsWith(u"8482"_s) ? 3 : -1;
                                    }));
        outcome += u"\nvalidated: "_s + asked.join(u", "_s) + u'\n' +
                   office.rows().filter(QRegularExpression(u"^200"_s)).join(u'\n') + u'\n';
        COMPARE_GOLDEN(outcome.toUtf8(), u"process/classified.txt"_s);
    }

    void manyArticlesAndPositions()
    {
        // Interno 100 runs with the validator reading ahead, interno 200 with one check a row:
        // both end as the data says.
        Office office;
        const ManyPositions data(u"CAT1"_s, u"100"_s);
        office.home.runNomenclatorSql(data.nomenclator);
        office.home.runDeclarationSql(data.declaration);
        office.home.runWorkSql(data.work);
        {
            // Interno 200 gets the same rows as the import writes them.
            ArticleStore articles(office.ws.work());
            TransactionGuard transaction(office.ws.work());
            articles.replaceRows(u"200"_s, articles.rows(u"100"_s, ArticleStore::Selection::All));
            transaction.commit();
        }

        QVERIFY(office.classify(u"100"_s));
        QCOMPARE(office.progress.maximum, data.classified);
        SuffixValidator single;
        single.ConexionString(office.ws.directory());
        QVERIFY(ClasificarArticulos(office.ws, u"200"_s,
                                    [&](const QString& position, const QString& suffixes) {
                                        return single.ValidarSufijos(position, suffixes);
                                    }));
        QCOMPARE(ManyPositions::checkedRows(office.ws.work(), u"100"_s), data.expected);
        QCOMPARE(ManyPositions::checkedRows(office.ws.work(), u"200"_s), data.expected);
        QVERIFY(office.dialogs.messages.isEmpty());
    }

    // A failing stage undoes stages 2 to 4; a failed import stops the whole process: the former
    // rows are neither replaced nor classified. What the operator saw of each, and the message
    // line (kept at the stage that failed, the update of the article or row refused), in
    // process/failures.txt.
    void failuresLeaveTheRowsAsImported()
    {
        Office office;
        office.home.runWorkSql(TestHome::testData(u"process/articles.sql"_s));
        const QStringList before = office.rows();
        QString shown;
        const auto record = [&] {
            shown += office.dialogs.journal.join(u'\n') + u"\nprogress: "_s +
                     office.progress.messages.join(u'|') + u'\n';
            office.dialogs.journal.clear();
            office.progress.messages.clear();
        };
        // The catalog's classification of one article, then the check code "SUF".
        for (const QString& trigger : {u"refuse_hit before update of PRCNCM on ART when "
                                       "new.ARTNRO = 'A-SUF'"_s,
                                       u"refuse_suf before update of PRCCRC on ART when "
                                       "new.PRCCRC = 'SUF'"_s}) {
            office.home.runWorkSql(u"create trigger "_s + trigger +
                                   u" begin select raise(abort, 'fallo provocado'); end;\n"_s);
            QVERIFY(!office.classify());
            QCOMPARE(office.rows(), before);
            QVERIFY(office.progress.visible); // the bar stays
            record();
            office.home.runWorkSql(u"drop trigger "_s + trigger.section(u' ', 0, 0) + u";\n"_s);
        }
        QVERIFY(!FRAM2_GuardarDatosToBase(office.ws, u"100"_s,
                                          office.home.file(u"no-existe/factura.doc"_s)));
        QCOMPARE(office.rows(), before);
        QVERIFY(!office.progress.visible);
        QCOMPARE(office.progress.busyDepth, 0);
        record();
        COMPARE_GOLDEN(portable(shown, office.home.path()), u"process/failures.txt"_s);
    }

    // process/stated-total.txt: each run (document: whether it succeeded), what the operator
    // saw, the interno's history entries (one for the import: the document, its digest, the rows
    // read; one for the process: its counters, whatever the number of rows), its stated total
    // and its row count. A document without a total line takes the total away with the rows it
    // replaces, unless the process fails after the import: then both stay as they were.
    void statedTotalGoesWithTheRows()
    {
        Office office;
        office.dialogs.originAnswers
            << OriginRelation{u"JAPAN"_s, u"105"_s} << OriginRelation{u"GERMANY"_s, u"23"_s}
            << OriginRelation{u"US"_s, u"212"_s} << OriginRelation{u"US"_s, u"212"_s}
            << OriginRelation{u"US"_s, u"212"_s};
        QString log;
        const auto run = [&](const QString& document) {
            const bool done =
                FRAM2_GuardarDatosToBase(office.ws, u"100"_s, TestHome::testDataPath(document));
            log += u"> %1: %2\n"_s.arg(document).arg(done) + office.dialogs.takeJournal();
            for (const HistoryEntry& e :
                 HistoryStore(office.ws.work(), office.ws.historyAuthor()).entries(u"100"_s))
                log += e.action + u": "_s + e.detail + u'\n';
            const std::optional<StatedTotal> stated =
                InvoiceTotalStore(office.ws.work()).read(u"100"_s);
            log += (stated ? u"stated: line %1, %2 = %3"_s.arg(stated->documentLine)
                                 .arg(stated->text, QString::number(stated->amount, 'f', 2))
                           : u"no stated total"_s) +
                   u", rows %1\n"_s.arg(office.rows().size());
        };
        run(u"import/invoice-fixed-columns.doc"_s);
        const QStringList imported = office.rows();
        TestSeam::setHook([](std::string_view point) {
            if (point == "process:recorded")
                throw AppError(9, u"fallo tras la importación"_s);
        });
        run(u"word/generated/unicode.doc"_s);
        TestSeam::setHook({});
        QCOMPARE(office.rows(), imported);
        run(u"word/generated/unicode.doc"_s);
        QVERIFY(!InvoiceTotalStore(office.ws.work()).read(u"200"_s));
        COMPARE_GOLDEN(log.toUtf8(), u"process/stated-total.txt"_s);
    }

    void countersFollowTheCodes()
    {
        Office office;
        office.home.runWorkSql(
            u"insert into ART (INTNRO, ARTORD, PRCEST, PRCCRC) values "
            "('100', 1, 'A', 'OK'), ('100', 2, 'A', 'OK'), ('100', 3, 'E', 'POS'), "
            "('100', 4, 'E', 'SUF'), ('100', 5, 'E', 'SUF'), ('100', 6, 'E', 'ERR'), "
            "('100', 7, 'M', 'OK'), ('100', 8, NULL, NULL), ('100', 9, '', NULL), "
            "('200', 1, 'E', 'POS');\n"
            // Beyond sixteen bits.
            "insert into ART (INTNRO, ARTORD, PRCEST) with recursive n(i) as (select 1 union all "
            "select i + 1 from n where i < 40000) select '300', i, 'A' from n;\n"_s);
        // The edited row counts only in the total; NULL and empty state are new; ERR is an error,
        // rows without a check code are not.
        QCOMPARE(office.counters(u"100"_s), QList<qint64>({9, 2, 2, 4, 1, 2}));
        QCOMPARE(office.counters(u"300"_s), QList<qint64>({40000, 40000, 0, 0, 0, 0}));
        QCOMPARE(formatCounter(40000), u"40000"_s);
    }

    void commandLine()
    {
        // process/cli.txt: an origin code that is no country stores nothing; a document without
        // text or without article lines stops the run; rows corrected by hand are replaced only
        // with --replace; rows written as JSON (texts escaped, whole amounts without exponent,
        // NULL as null); a damaged document told in Spanish only, without libgsf's complaints.
        Office office;
        office.home.runWorkSql(
            u"insert into PAIS (id) values ('105'), ('23'), ('212');\n"
            "insert into INTN values ('7', 'Siete');\n"
            "insert into ART (INTNRO, ARTORD, ARTNRO, ARTDSC, ARTCAN, ARTUNI) values ('7', 1, "
            "'A\"\\', char(9) || 'x' || char(1) || char(128512) || char(8364), 1e15, 0.1);\n"_s);
        COMPARE_CLI_TRANSCRIPT(office.home.path(), u"process/cli.txt"_s);
        QCOMPARE(queryRows(office.ws.work(), u"select PAI, ORI from ORG order by ORI"_s),
                 QStringList({u"JAPAN|105"_s, u"US|212"_s, u"GERMANY|23"_s}));
    }

    void listIsOrderedWithNullDescriptionEmpty()
    {
        Fixture f(QStringLiteral("insert into INTN values ('200', 'Segundo');\n"
                                 "insert into INTN values ('100', null);\n"));
        QCOMPARE(f.list(), QStringList({u"100|"_s, u"200|Segundo"_s}));
        QVERIFY(f.dialogs.messages.isEmpty());

        f.home.runWorkSql(u"drop table INTN;\n"_s);
        QVERIFY(f.list().isEmpty());
        COMPARE_GOLDEN(f.journal(), u"wizard/list-failed.txt"_s);
    }

    void deleteAskedAndDoneInOneTransaction()
    {
        Fixture f(QStringLiteral("insert into INTN values ('100', 'Uno'), ('200', 'Dos');\n"
                                 "insert into ART (INTNRO, ARTORD) values "
                                 "('100', 1), ('100', 2), ('200', 1), ('300', 1);\n"
                                 "insert into INVOICE_TOTAL values ('100', 9, 'TOTAL 1', 1), "
                                 "('200', 9, 'TOTAL 2', 2);\n"
                                 "insert into ROW_HISTORY (TIME, USERNAME, HOST, FRONTEND, "
                                 "INTNRO, ACTION) values ('t', 'u', 'h', 'cli', '100', "
                                 "'process');\n"));
        InvoiceTotalStore totals(f.ws.work());
        f.dialogs.questionAnswers << false << true << true << true;
        QVERIFY(!Internos::FRAM1_EliminarInterno(f.ws, u"100"_s)); // No keeps the rows
        QCOMPARE(f.articles(u"100"_s), 2);
        QVERIFY(Internos::FRAM1_EliminarInterno(f.ws, u"100"_s));
        QCOMPARE(f.list(), QStringList{u"200|Dos"_s});
        QCOMPARE(f.articles(u"100"_s), 0);
        QCOMPARE(f.articles(u"200"_s), 1);
        QVERIFY(!totals.read(u"100"_s));
        // Its history stays, marked as that of a deleted interno.
        QVERIFY(HistoryStore(f.ws.work(), f.ws.historyAuthor()).entries(u"100"_s).value(0).deleted);

        // An interno already gone is not deleted, but its leftover rows are.
        QVERIFY(!Internos::FRAM1_EliminarInterno(f.ws, u"300"_s));
        QCOMPARE(f.articles(u"300"_s), 0);

        // A failure in the second delete undoes the first: the article rows are still there.
        f.home.runWorkSql(QStringLiteral("create trigger keep before delete on INTN begin "
                                         "select raise(abort, 'interno bloqueado'); end;\n"));
        QVERIFY(!Internos::FRAM1_EliminarInterno(f.ws, u"200"_s));
        QCOMPARE(f.articles(u"200"_s), 1);
        QVERIFY(totals.read(u"200"_s));
        QCOMPARE(f.list(), QStringList{u"200|Dos"_s});
        // Two questions for 100, one for 300 and one for 200, whose failure is the only message.
        COMPARE_GOLDEN(f.journal(), u"wizard/delete.txt"_s);
    }
};

QTEST_GUILESS_MAIN(TestProcess)
#include "tst_process.moc"
