// SPDX-License-Identifier: Apache-2.0
#include "components/TestSeam.h"
#include "data/HistoryStore.h"
#include "support/Golden.h"
#include "support/Postgres.h"
#include "support/WorkHome.h"
#include "transfer/CatalogRevert.h"
#include "transfer/Transfer.h"

#include <QDateTime>
#include <QMap>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

/** Every row of the tables the transfer writes, for before/after comparisons. */
QStringList dump(DataSession& declaration)
{
    QStringList all;
    for (const char* table : {"caratula", "subitems", "facturas", "catarticulos"})
        all << queryRows(declaration, QStringLiteral("select * from ") + QLatin1String(table) +
                                          QStringLiteral(" order by 1, 2"));
    return all;
}

/**
 * A home with the internos of transfer/interno.work.sql and the catalogs of
 * interno.declaration.sql, interno 100 and catalog CAT1; on PostgreSQL, in the declaration
 * database of ADUPLAN_PG, rebuilt.
 */
struct Fixture : WorkHome {
    QString interno = u"100"_s;

    explicit Fixture(bool postgres = false)
        : WorkHome([postgres](TestHome& fresh) {
            fresh.load(u"transfer/interno.work.sql"_s);
            fresh.load(u"transfer/interno.declaration.sql"_s);
            fresh.setSetting(u"INTCAT"_s, u"CAT1"_s);
            if (postgres)
                Postgres::use(fresh.path(), u"INTERNOS"_s, u"declaration"_s,
                              Postgres::DeclarationTables,
                              {u"declaration-schema.sql"_s, u"declaration-postgresql.sql"_s});
        })
    {
        if (postgres)
            DemoData::runScript(declaration(),
                                {TestHome::testData(u"transfer/interno.declaration.sql"_s)});
    }

    DataSession& declaration() { return ws.declaration(); }

    /**
     * Moves the interno's header an hour back, as if transferred then: a replacement tells
     * itself from the header it replaces by the time, and would otherwise wait for the next
     * second.
     */
    void backdateHeader()
    {
        declaration().Sql(u"update caratula set fechaalta = ? where interno = ?"_s,
                          {ws.directory().getDateFormatbyEntity(
                               u"INTERNOS"_s, QDateTime::currentDateTime().addSecs(-3600)),
                           interno});
        QCOMPARE(declaration().ejecutar(), qint64(1));
    }

    /** The interno's history entries, "action: detail". */
    QStringList history()
    {
        QStringList entries;
        for (const HistoryEntry& e : HistoryStore(ws.work(), ws.historyAuthor()).entries(interno))
            entries << e.action + u": "_s + e.detail;
        return entries;
    }

    /** Runs a transfer from a clean record of dialogs and progress. */
    TransferOutcome transfer()
    {
        dialogs.messages.clear();
        dialogs.journal.clear();
        progress.messages.clear();
        return FRM3_Tranferir(ws, interno);
    }

    /**
     * The outcome of a transfer, what the operator saw, and every row of the declaration but
     * the header's time.
     */
    QString report(TransferOutcome outcome)
    {
        return u"outcome %1\n"_s.arg(int(outcome)) + dialogs.journal.join(u'\n') +
               u"\nprogress: %1 (shown %2, %3 of %4, busy %5)\n"_s.arg(progress.messages.join(u'|'))
                   .arg(progress.visible)
                   .arg(progress.value)
                   .arg(progress.maximum)
                   .arg(progress.busyDepth) +
               (queryRows(declaration(), u"select interno from caratula"_s) +
                queryRows(declaration(), u"select * from subitems order by idsubitem"_s) +
                queryRows(declaration(), u"select * from facturas order by 1, 2"_s) +
                queryRows(declaration(), u"select * from catarticulos order by 1, 2"_s))
                   .join(u'\n') +
               u'\n';
    }
};

} // namespace

class TransferTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void transfersThenDeclinesOrReplaces();
    void linesAcrossStatements_data();
    void linesAcrossStatements();
    void refusesRowsToCorrectAndEmptyInterno();
    void failureLeavesDeclarationAsBefore_data();
    void failureLeavesDeclarationAsBefore();
    void journalSettlesAndReverts_data();
    void journalSettlesAndReverts();
};

// transfer/replaced.txt: the items in line order with the derived net weight and statistical
// quantity, empty texts for NULL. A-1 is new to CAT1: inserted by line 1 (without a country of
// its own: empty), then rewritten by line 3. B-2 keeps its key and takes line 2's values, its
// country included. The other catalog's A-1 is untouched. Transferred again, the operator keeps
// it (nothing changes) or replaces it: the invoices go, a later line edited in the work database
// reaches the declaration, a line without a country of its own leaves the catalog's.
void TransferTest::transfersThenDeclinesOrReplaces()
{
    Fixture f;
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    // Another user re-reads the invoice while the items are written: the catalog still learns
    // the rows the items came from.
    TestSeam::setHook([&f](std::string_view point) {
        if (point == "transfer:items")
            f.home.runWorkSql(
                u"update ART set PRCNCM = NULL, PRCCRC = NULL where INTNRO = '100';\n"_s);
    });
    QString report = f.report(f.transfer());
    TestSeam::setHook({});
    f.home.runWorkSql(
        u"update ART set PRCCRC = 'OK', PRCNCM = case ARTORD when 1 then '7318.15.00.100A' "
        "when 2 then '7318.22.00.000C' else '7318.15.00.200B' end where INTNRO = '100';\n"_s);
    const QDateTime after = QDateTime::currentDateTime().addSecs(1);
    const QDateTime registered = QDateTime::fromString(
        queryRows(f.declaration(), u"select fechaalta from caratula"_s).value(0),
        u"yyyy-MM-dd HH:mm:ss"_s);
    QVERIFY2(registered >= before && registered <= after, qPrintable(registered.toString()));

    f.home.runDeclarationSql(u"insert into facturas values ('100', 'F-1', '2024-01-02', 10);\n"
                             "insert into facturas values ('300', 'F-9', '2024-01-03', 20);\n"_s);
    f.dialogs.questionAnswers << false;
    report += f.report(f.transfer());
    f.home.runWorkSql(u"update ART set ARTDSC = 'ARANDELA PLANA', PRCORI = NULL "
                      "where INTNRO = '100' and ARTORD = 2;\n"_s);
    f.dialogs.questionAnswers << true;
    report += f.report(f.transfer());
    COMPARE_GOLDEN(report.toUtf8(), u"transfer/replaced.txt"_s);
}

void TransferTest::linesAcrossStatements_data()
{
    QTest::addColumn<bool>("postgres");
    QTest::newRow("sqlite") << false;
    QTest::newRow("postgresql") << true;
}

void TransferTest::linesAcrossStatements()
{
    QFETCH(bool, postgres);
    if (postgres && qEnvironmentVariableIsEmpty("ADUPLAN_PG"))
        QSKIP("ADUPLAN_PG is not set");
    // More lines, known articles and new ones than one statement of any kind takes on either
    // engine. The articles of the first 1,000 lines come back 3,000 lines later; the even
    // ones are in the catalog. A line's country is NULL, empty or its own in turn; its
    // description ends in turn with a tab, a line break, backslashes (one before an N), accents.
    // An article number ends in turn with a quote, a backslash, a tab or an accent.
    const QStringList tails = {u"\ta\\N"_s, u"\n\r\\\\"_s, u" Ñandú ´"_s, {}, {}};
    const auto description = [&tails](int n) {
        return u"LINEA %1"_s.arg(n) + tails.at(n % 5);
    };
    const QStringList numberTails = {u"\"q"_s, u"\\"_s, u"\t"_s, u"ñ"_s, {}};
    const auto number = [&numberTails](int a) {
        return u"R-%1"_s.arg(a) + numberTails.at(a % 5);
    };
    const auto numberSql = [](const QString& article) {
        return u"'R-' || %1 || case %1 % 5 when 0 then '\"q' when 1 then '\\' when 2 then '\t' "
               "when 3 then 'ñ' else '' end"_s.arg(article);
    };
    constexpr int Lines = 4000;
    constexpr int Articles = 3000;
    Fixture f(postgres);
    f.interno = u"300"_s;

    const QString numbers = u"with recursive n(i) as (select %1 union all select i + %2 from n "
                            "where i < %3) select "_s;
    DemoData::runScript(f.declaration(),
                        {u"insert into catarticulos "_s + numbers.arg(0).arg(2).arg(Articles - 2) +
                         u"'CAT1', "_s + numberSql(u"i"_s) +
                         u", 'VIEJA', '999', 5, 1, 'X', 'S', 'X', 'X', 'X', 9, 'X', 'X', 9 from "
                         "n;\n"_s});
    f.home.runWorkSql(
        u"insert into INTN values ('300', 'Largo');\ninsert into ART "_s +
        numbers.arg(1).arg(1).arg(Lines) + u"'300', i, "_s + numberSql(u"(i % 3000)"_s) +
        u", 'LINEA ' || i || case i % 5 when 0 then char(9) || "
        "'a\\N' when 1 then char(10, 13) || '\\\\' when 2 then ' Ñandú ´' else '' end, i % 50, i * "
        "0.25, 1, '212', 'D' || i, "
        "'N' || i, 'N', 'S' || i, 'E' || i, i * 0.5, 'U' || i, i % 50, 'M' || i, case i % 3 "
        "when 0 then NULL when 1 then '' else 'P' || i end, 'A', 'OK' from n;\n"_s);

    // Each article's entry as the lines leave it, applied one after the other.
    QMap<QString, QStringList> catalog;
    for (int a = 0; a < Articles; a += 2)
        catalog[number(a)] = QStringList{u"VIEJA"_s, u"999"_s};
    QStringList expectedItems;
    for (int n = 1; n <= Lines; ++n) {
        const QString article = number(n % Articles);
        expectedItems << article + u'|' + description(n) + u"|%1"_s.arg(n % 50);
        QStringList& entry = catalog[article];
        const QString keptCountry = entry.value(1);
        entry = QStringList{description(n), n % 3 == 2 ? u"P%1"_s.arg(n) : keptCountry};
        const QStringList perLine = {QString::number(n * 0.25), u"N%1"_s.arg(n), u"N"_s,
                                     u"S%1"_s.arg(n),           u"D%1"_s.arg(n), u"E%1"_s.arg(n),
                                     QString::number(n * 0.5),  u"M%1"_s.arg(n), u"U%1"_s.arg(n),
                                     QString::number(n % 50)};
        entry << u"0"_s << perLine;
    }

    QCOMPARE(f.transfer(), TransferOutcome::Transferred);
    QCOMPARE(f.dialogs.journal,
             QStringList{u"message 3: Se transfirio %1 articulos en el interno 300"_s.arg(Lines)});
    QCOMPARE(queryRows(f.declaration(), u"select idarticulo, descripcion, cantidad from "
                                        "subitems order by idsubitem"_s),
             expectedItems);
    QStringList expectedCatalog;
    for (auto it = catalog.cbegin(); it != catalog.cend(); ++it)
        expectedCatalog << it.key() + QLatin1Char('|') + it.value().join(QLatin1Char('|'));
    QStringList written =
        queryRows(f.declaration(), u"select idarticulo, descripcion, idpais, cantidad, "
                                   "preciounitario, ncm, lapi, sufijos, idunidad, "
                                   "estadistica, valorrelacionestadistica, estadomerc, "
                                   "deresp, valorderesp from catarticulos where "
                                   "idarticulo like 'R-%'"_s);
    written.sort();
    expectedCatalog.sort();
    QCOMPARE(written, expectedCatalog);
    QCOMPARE(QList<int>({f.progress.maximum, f.progress.value}), QList<int>({Lines, Lines}));
}

// transfer/refused.txt: an interno with rows to correct, and one without rows, are refused and
// leave the declaration as it was.
void TransferTest::refusesRowsToCorrectAndEmptyInterno()
{
    Fixture f;
    const QStringList before = dump(f.declaration());
    f.home.runWorkSql(u"update ART set PRCCRC = NULL where INTNRO = '100' and ARTORD = 3;\n"_s);
    QString report = f.report(f.transfer());
    f.interno = u"900"_s;
    report += f.report(f.transfer());
    QCOMPARE(dump(f.declaration()), before);
    COMPARE_GOLDEN(report.toUtf8(), u"transfer/refused.txt"_s);
}

void TransferTest::failureLeavesDeclarationAsBefore_data()
{
    linesAcrossStatements_data();
}

// A replacement of an interno already transferred fails on the row of B-2 (line 2): a trigger
// on SQLite, a check on PostgreSQL, on its item or its catalog entry; or on a NULL in a line of
// interno 100. Nothing is transferred, and the failure also undoes the deletes of header, items
// and invoices. A statement that fails is the one of the failing row, not the one of them all.
// What the operator saw of each case on SQLite is in transfer/failures.txt; on PostgreSQL the
// server names the row.
void TransferTest::failureLeavesDeclarationAsBefore()
{
    QFETCH(bool, postgres);
    if (postgres && qEnvironmentVariableIsEmpty("ADUPLAN_PG"))
        QSKIP("ADUPLAN_PG is not set");
    const auto stop = [](const char* statement, const char* action) {
        return u"create trigger stop before %1 when new.idarticulo = 'B-2' begin "
               "select raise(%2); end;\n"_s.arg(QLatin1String(statement), QLatin1String(action));
    };
    const auto check = [](const char* table) {
        return u"alter table %1 add constraint stop check (idarticulo <> 'B-2' or descripcion "
               "<> 'CAMBIADA');\n"_s.arg(QLatin1String(table));
    };
    const auto null = [](const char* column, int line) {
        return u"update ART set %1 = NULL where INTNRO = '100' and ARTORD = %2;\n"_s
            .arg(QLatin1String(column))
            .arg(line);
    };
    const QString item = u"insert into subitems ("_s;
    const QString entry = u"update CATARTICULOS "_s;
    struct Case {
        QString declarationSql;
        QString workSql;
        QString failing; ///< the statement that fails, when one does
        QString named;   ///< PostgreSQL: what the message names
    };
    const QList<Case> cases =
        postgres ? QList<Case>{{check("subitems"), {}, item, u"B-2"_s},
                               {check("catarticulos"), {}, entry, u"B-2"_s},
                               {{}, null("ARTCAN", 3), {}, u"(artículo A-1) no tiene cantidad"_s}}
                 : QList<Case>{{stop("insert on subitems", "abort, 'falla'"), {}, item, {}},
                               {stop("insert on subitems", "ignore"), {}, {}, {}},
                               {stop("update on catarticulos", "abort, 'falla'"), {}, entry, {}},
                               {{}, null("ARTCAN", 3), {}, {}},
                               {{}, null("ARTTOT", 2), {}, {}}};
    QByteArray shown;
    for (const Case& c : cases) {
        Fixture f(postgres);
        QCOMPARE(f.transfer(), TransferOutcome::Transferred);
        f.backdateHeader();
        DemoData::runScript(f.declaration(),
                            {u"insert into facturas values ('100', 'F-1', '2024-01-02', 10);\n"_s +
                             c.declarationSql});
        f.home.runWorkSql(u"update ART set ARTDSC = 'CAMBIADA', PRCSUF = 'ZZ(1)-' "
                          "where INTNRO = '100';\n"_s +
                          c.workSql);
        const QStringList before = dump(f.declaration());
        f.dialogs.questionAnswers << true;
        QCOMPARE(f.transfer(), TransferOutcome::Failed);
        const QString statement = f.declaration().lastStatement();
        QVERIFY2(c.failing.isEmpty() ||
                     (statement.startsWith(c.failing) && !statement.contains(u"transfer_"_s)),
                 qPrintable(statement));
        QCOMPARE(dump(f.declaration()), before);
        QCOMPARE(f.progress.busyDepth, 0);
        QCOMPARE(f.history(), QStringList{u"transfer: filas transferidas: 3, catálogo CAT1"_s});
        const QString messages = f.dialogs.journal.join(u'\n') + u'\n';
        QVERIFY2(messages.contains(c.named), qPrintable(messages));
        shown += portable(messages, f.home.path());
    }
    if (!postgres)
        COMPARE_GOLDEN(shown, u"transfer/failures.txt"_s);
}

void TransferTest::journalSettlesAndReverts_data()
{
    linesAcrossStatements_data();
}

// On either engine: a failure once the history entry is written, before the declaration
// commits, leaves neither the transfer nor its entry.
void TransferTest::journalSettlesAndReverts()
{
    QFETCH(bool, postgres);
    if (postgres && qEnvironmentVariableIsEmpty("ADUPLAN_PG"))
        QSKIP("ADUPLAN_PG is not set");
    Fixture f(postgres);
    const auto catalog = [&f] {
        return queryRows(f.declaration(), u"select * from catarticulos order by 1, 2"_s);
    };
    const QStringList untouched = dump(f.declaration());
    const QStringList original = catalog();
    const auto failAt = [](const char* failing) {
        TestSeam::setHook([failing](std::string_view point) {
            if (point == failing)
                throw AppError(9, u"falla en "_s + QLatin1String(failing));
        });
    };
    failAt("transfer:recorded");
    QCOMPARE(f.transfer(), TransferOutcome::Failed);
    QCOMPARE(dump(f.declaration()), untouched);
    QVERIFY(f.history().isEmpty());
    CatalogJournal journal(f.ws.work());
    const auto journalOf = [&journal](const QString& article) {
        QStringList entries;
        for (const HistoryEntry& e : journal.entries(u"CAT1"_s, article))
            entries << e.interno + u' ' + e.action + u' ' + e.field + u": "_s +
                           (e.oldValue.isNull() ? u"~"_s : e.oldValue) + u" -> "_s +
                           (e.newValue.isNull() ? u"~"_s : e.newValue) + u' ' + e.detail;
        return entries.join(u'\n');
    };
    QVERIFY(journalOf(u"A-1"_s).isEmpty() && journalOf(u"B-2"_s).isEmpty());

    // Done, the transfer journals the entry it inserted and the fields of the one it updated;
    // its revert puts the catalog back byte for byte, and is journaled too. Reverted once, it is
    // not reverted again.
    TestSeam::setHook({});
    QCOMPARE(f.transfer(), TransferOutcome::Transferred);
    f.dialogs.journal.clear();
    // Declined, or failing before the catalog commits, it changes nothing and leaves no entry.
    const QStringList transferredCatalog = catalog();
    f.dialogs.questionAnswers << false << true << true << true;
    QCOMPARE(revertTransferCatalog(f.ws, f.interno), RevertOutcome::Declined);
    failAt("revert:recorded");
    QCOMPARE(revertTransferCatalog(f.ws, f.interno), RevertOutcome::Refused);
    TestSeam::setHook({});
    QCOMPARE(catalog(), transferredCatalog);
    QCOMPARE(f.history().size(), 1);
    QCOMPARE(revertTransferCatalog(f.ws, f.interno), RevertOutcome::Reverted);
    QCOMPARE(catalog(), original);
    QCOMPARE(revertTransferCatalog(f.ws, f.interno), RevertOutcome::Refused);
    QString journaled = f.dialogs.journal.join(u'\n') + u"\n--\n"_s + journalOf(u"A-1"_s) +
                        u"\n--\n"_s + journalOf(u"B-2"_s);

    // A stop between the declaration's commit and the records' settling leaves the transfer
    // with its history entry and journal. A replacement stopped before the declaration commits
    // leaves the former header: its records go, and the revert finds the transfer before it.
    f.home.runWorkSql(u"update ART set ARTDSC = 'CAMBIADA' where INTNRO = '100';\n"_s);
    for (const auto& [failing, outcome] :
         {std::pair{"transfer:declared", TransferOutcome::Transferred},
          std::pair{"transfer:recorded", TransferOutcome::Failed}}) {
        f.backdateHeader();
        failAt(failing);
        f.dialogs.questionAnswers << true;
        QCOMPARE(f.transfer(), outcome);
        f.home.runWorkSql(u"update ART set ARTDSC = 'OTRA' where INTNRO = '100';\n"_s);
    }
    TestSeam::setHook({});
    const QString transferred = u"transfer: filas transferidas: 3, catálogo CAT1"_s;
    QCOMPARE(f.history(),
             QStringList({transferred,
                          u"revert: catálogo CAT1, entradas restituidas: 1, eliminadas: 1"_s,
                          transferred}));
    f.dialogs.journal.clear();
    f.dialogs.questionAnswers << true;
    QCOMPARE(revertTransferCatalog(f.ws, f.interno), RevertOutcome::Reverted);
    QCOMPARE(catalog(), original);
    journaled +=
        u"\n--\n"_s + f.dialogs.journal.join(u'\n') + u"\n--\n"_s + journalOf(u"B-2"_s) + u'\n';
    COMPARE_GOLDEN(journaled.toUtf8(), u"transfer/journal.txt"_s);
}

QTEST_GUILESS_MAIN(TransferTest)
#include "tst_transfer.moc"
