#include "components/SuffixValidator.h"
#include "components/TestSeam.h"
#include "data/ArticleStore.h"
#include "data/InvoiceTotalStore.h"
#include "process/Process.h"
#include "process/Statistics.h"
#include "support/Cli.h"
#include "support/ManyPositions.h"
#include "support/ScriptedDialogs.h"
#include "support/TestHome.h"
#include "workspace/Workspace.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

/** PRCNCM ... PRCCRC of a row the process did not classify, around its goods condition. */
const QString Unclassified = u"~|~|~|~|~|~|~|%1|~|~|~"_s;

/** Values joined by "|", NULL as "~": how the tests below write an ART row. */
QString joined(const QVariantList& values)
{
    QStringList cells;
    for (const QVariant& value : values)
        cells << (value.isNull() ? u"~"_s : value.toString());
    return cells.join(u'|');
}

/** The rows expected: each invoice part followed by its PRCNCM ... PRCCRC part. */
QStringList expected(const QStringList& invoice, const QStringList& processing)
{
    QStringList result;
    for (qsizetype i = 0; i < invoice.size(); ++i)
        result << invoice.at(i) + u'|' + processing.value(i);
    return result;
}

/** A home with the process fixtures, catalog CAT1 and default goods condition "9". */
struct Office {
    TestHome home;
    ScriptedDialogs dialogs;
    RecordingProgress progress;
    Workspace ws{home.path(), dialogs, progress};

    Office()
    {
        home.createDatabases();
        home.runDeclarationSql(TestHome::testData(u"process/declaration.sql"_s));
        home.runNomenclatorSql(TestHome::testData(u"process/nomenclator.sql"_s));
        home.setSetting(u"INTCAT"_s, u"CAT1"_s);
        home.setSetting(u"PRCESM"_s, u"9"_s);
        ws.open();
    }

    /** Adds an ART row as the import leaves it; gives its invoice part as rows() shows it. */
    QString add(const QString& interno, int order, const QString& article, double quantity,
                double unitPrice, const QString& unit, const QVariant& condition = {})
    {
        QVariantList invoice = {interno, order, article, u"DESC "_s + article, quantity};
        invoice << unitPrice << quantity * unitPrice << u"212"_s << unit;
        ws.work().Sql(u"insert into ART (INTNRO, ARTORD, ARTNRO, ARTDSC, ARTCAN, ARTUNI, "
                      "ARTTOT, ARTORG, PRCDUN, PRCESM) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s,
                      invoice + QVariantList{condition});
        ws.work().ejecutar();
        return joined(invoice);
    }

    /** Every ART row, by interno and order. */
    QStringList rows()
    {
        const QStringList& columns = ArticleStore::columns();
        RecordSet rs;
        ws.work().Sql(u"select "_s + columns.join(u", "_s) +
                      u" from ART order by INTNRO, ARTORD"_s);
        ws.work().CrearRs(rs);
        QStringList result;
        for (; !rs.Eof(); rs.MoveNext()) {
            QVariantList row;
            for (const QString& column : columns)
                row << rs.Fields(column);
            result << joined(row);
        }
        return result;
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

} // namespace

class TestProcess : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void classifiesFromCatalogAndValidates()
    {
        Office office;
        const QStringList invoice = {
            office.add(u"100"_s, 1, u"A-OK"_s, 10, 2.5, u"07"_s),
            office.add(u"100"_s, 2, u"A-POS"_s, 3, 1, u"07"_s),
            office.add(u"100"_s, 3, u"A-SUF"_s, 4, 3, u"07"_s),
            office.add(u"100"_s, 4, u"NEW-1"_s, 5, 1, u"07"_s),
            office.add(u"100"_s, 5, u"A-TWICE"_s, 2, 1.5, u"01"_s),
            office.add(u"100"_s, 6, u"A-TWICE"_s, 4, 1.75, u"01"_s),
            office.add(u"100"_s, 7, u"A-OTHER"_s, 6, 1, u"07"_s),
            office.add(u"100"_s, 8, u"A-NULLS"_s, 8, 1, u"07"_s),
            office.add(u"100"_s, 9, u"NEW-2"_s, 1, 1, u"07"_s, u"4"_s),
            office.add(u"200"_s, 1, u"A-OK"_s, 10, 2.5, u"07"_s),
        };

        QVERIFY(office.classify());
        const QStringList processing = {
            // LAPI from the nomenclator's "*"; units agree and "OK": statistical quantity.
            u"8482.10.10.000B|S|MA01-|07|10|KG|~|1|~|A|OK"_s,
            // Position unknown to the nomenclator: LAPI "N", POS; units agree but the check
            // failed: no quantity.
            u"9999.99.99.999Z|N|SIN SUFIJOS|07|~||~|2|~|E|POS"_s,
            // LAPI of the catalog copied unchanged; wrong option: SUF.
            u"8482.10.10.000B| N |MA09-|07|~||~|1|~|E|SUF"_s,
            // Not in catalog CAT1 (only in another catalog): only the default condition.
            Unclassified.arg(u"9"_s),
            // One article on two lines with two unit prices: both classified alike.
            u"7318.15.00.200D|N||01|2||~|3|~|A|OK"_s,
            u"7318.15.00.200D|N||01|4||~|3|~|A|OK"_s,
            // Blank LAPI and a [059] other than "*": "N"; empty condition takes the default;
            // statistical unit differs from the declared one: no quantity.
            u"3926.90.90.990E|N|SIN SUFIJOS|05|~||~|9|~|A|OK"_s,
            // NULL catalog values written empty; NULL condition filled by stage 3; NULL [059].
            u"7318.15.00.200D|N||07|8||~|9|~|A|OK"_s,
            // A condition already set is kept.
            Unclassified.arg(u"4"_s),
            // Another interno is not touched.
            Unclassified.arg(u"~"_s),
        };
        QCOMPARE(office.rows(), expected(invoice, processing));

        QCOMPARE(office.progress.messages.last(), u"Fin de Proceso"_s);
        QVERIFY(!office.progress.visible);
        QCOMPARE(office.progress.maximum, 7); // rows validated
        QCOMPARE(office.progress.value, 7);
        QVERIFY(office.dialogs.messages.isEmpty());

        // Interno 200 with any other validator outcome: ERR.
        const QStringList other = {invoice.last(),
                                   office.add(u"200"_s, 2, u"A-NULLS"_s, 8, 1, u"07"_s),
                                   office.add(u"200"_s, 3, u"NEW-1"_s, 5, 1, u"07"_s)};
        QStringList asked;
        QVERIFY(ClasificarArticulos(office.ws, u"200"_s,
                                    [&](const QString& position, const QString& suffixes) {
                                        asked << position + u'|' + suffixes;
                                        return position.startsWith(u"8482"_s) ? 3 : -1;
                                    }));
        // NULL suffixes are passed as the empty text; unclassified rows are not validated.
        QCOMPARE(asked, QStringList({u"8482.10.10.000B|MA01-"_s, u"7318.15.00.200D|"_s}));
        QCOMPARE(office.rows(),
                 expected(invoice.first(9), processing) +
                     expected(other, {u"8482.10.10.000B|S|MA01-|07|~|KG|~|1|~|E|ERR"_s,
                                      u"7318.15.00.200D|N||07|~||~|9|~|E|ERR"_s,
                                      Unclassified.arg(u"9"_s)}));
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

    void failuresLeaveTheRowsAsImported()
    {
        Office office;
        office.add(u"100"_s, 1, u"A-OK"_s, 10, 2.5, u"07"_s);
        office.add(u"100"_s, 2, u"NEW-1"_s, 5, 1, u"07"_s);
        office.add(u"100"_s, 3, u"A-SUF"_s, 4, 3, u"07"_s);
        office.home.runWorkSql(
            u"create trigger refuse_suf before update of PRCCRC on ART when new.PRCCRC = 'SUF' "
            "begin select raise(abort, 'fallo provocado'); end;\n"_s);
        const QStringList before = office.rows();

        QVERIFY(!office.classify());

        // Stages 2 to 4 are undone: the rows are as the import left them.
        QCOMPARE(office.rows(), before);
        QCOMPARE(office.dialogs.messages.size(), 1);
        QCOMPARE(office.dialogs.messages.first().icon, MessageIcon::Critical);
        const QString shown = office.dialogs.messages.first().text;
        QVERIFY2(shown.startsWith(u"Falló una operación en la base de datos de trabajo ("_s) &&
                     shown.contains(u"\nDetalle: fallo provocado\n\n"_s) &&
                     shown.contains(
                         u" - seccion [Aduplan.frmMain.FRAM2_GuardarDatosToBase]::WORK\n\n"_s) &&
                     shown.endsWith(u"\n\nSQL:\nupdate ART set PRCCRC = 'SUF', PRCEST = 'E' "
                                    "where INTNRO = '100'  and ARTORD = 3"_s),
                 qPrintable(shown));
        // The bar stays and the message line keeps the stage that failed.
        QVERIFY(office.progress.visible);
        QCOMPARE(office.progress.messages.last(),
                 u"Procesando... Etapa 4 de 4: Validando NCM..."_s);

        // A failed import stops the whole process.
        office.dialogs.messages.clear();
        office.progress.messages.clear();
        QVERIFY(!FRAM2_GuardarDatosToBase(office.ws, u"100"_s,
                                          office.home.file(u"no-existe/factura.doc"_s)));
        // The former rows are neither replaced nor classified.
        QCOMPARE(office.rows(), before);
        QVERIFY(!office.progress.messages.contains(
            u"Procesando... Etapa 2 de 4: Buscando articulos en catalogo"_s));
        QVERIFY(!office.progress.visible);
        QCOMPARE(office.dialogs.messages.size(), 1);
        QCOMPARE(office.progress.busyDepth, 0);
    }

    void statedTotalGoesWithTheRows()
    {
        Office office;
        InvoiceTotalStore totals(office.ws.work());
        office.dialogs.originAnswers << OriginRelation{u"JAPAN"_s, u"105"_s}
                                     << OriginRelation{u"GERMANY"_s, u"23"_s}
                                     << OriginRelation{u"US"_s, u"212"_s};
        QVERIFY(FRAM2_GuardarDatosToBase(
            office.ws, u"100"_s, TestHome::testDataPath(u"import/invoice-fixed-columns.doc"_s)));
        const std::optional<StatedTotal> stored = totals.read(u"100"_s);
        QVERIFY(stored);
        QCOMPARE(stored->text, u"TOTAL USD 1,322.93"_s);
        QCOMPARE(stored->amount, 1322.93);
        QVERIFY(!totals.read(u"200"_s));

        // A document without a total line takes the total away with the rows it replaces,
        // unless the process fails after the import: then both stay as they were.
        const QString withoutTotal = TestHome::testDataPath(u"word/generated/unicode.doc"_s);
        office.dialogs.originAnswers << OriginRelation{u"US"_s, u"212"_s}
                                     << OriginRelation{u"US"_s, u"212"_s};
        TestSeam::setHook([](std::string_view point) {
            if (point == "process:imported")
                throw AppError(9, u"fallo tras la importación"_s);
        });
        const QStringList imported = office.rows();
        QVERIFY(!FRAM2_GuardarDatosToBase(office.ws, u"100"_s, withoutTotal));
        TestSeam::setHook({});
        QCOMPARE(office.rows(), imported);
        QVERIFY(office.dialogs.messages.last().text.startsWith(u"fallo tras la importación"_s));
        QCOMPARE(totals.read(u"100"_s)->documentLine, stored->documentLine);
        QVERIFY(FRAM2_GuardarDatosToBase(office.ws, u"100"_s, withoutTotal));
        QCOMPARE(office.counters(u"100"_s).first(), 1);
        QVERIFY(!totals.read(u"100"_s));
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
        Office office;
        const QString invoice = TestHome::testDataPath(u"import/invoice-fixed-columns.doc"_s);

        office.home.runWorkSql(u"insert into PAIS (id) values ('105'), ('23'), ('212');\n"_s);
        // An origin code that is not a country stores nothing: no interno, no relation.
        QCOMPARE(runCli(office.home.path(), {u"process"_s, u"E2E"_s, invoice, u"--origin"_s,
                                             u"US=212"_s, u"--origin"_s, u"JAPAN=999"_s})
                     .joined(),
                 u"1||El código de país \"999\" de --origin \"JAPAN=999\" no existe en la tabla "
                 "de países (PAIS).\n"_s);
        RecordSet stored;
        office.ws.work().Sql(u"select (select count(*) from INTN) + (select count(*) from ORG) "
                             "as n"_s);
        office.ws.work().CrearRs(stored);
        QCOMPARE(stored.Fields(u"n"_s).toInt(), 0);
        const CliRun done = runCli(office.home.path(),
                                   {u"process"_s, u"E2E"_s, invoice, u"--origin"_s, u"JAPAN=105"_s,
                                    u"--origin"_s, u"GERMANY=23"_s, u"--origin"_s, u"US=212"_s});
        QVERIFY2(done.code == 0, qPrintable(done.err));
        QCOMPARE(done.out, u"total: 5\nen_catalogo: 1\nnuevos: 3\ncon_errores: 1\n"
                           "err_posicion: 1\nerr_sufijos: 0\n"_s);
        QCOMPARE(office.rows(),
                 expected({u"E2E|1|AB-100|STEEL BOLT|4.54|10|45.36|105|01"_s,
                           u"E2E|2|HS-200|RUBBER HOSE 1/2\" D\u00b4ARTAGNAN|0.91|9.84252|9|23|02"_s,
                           u"E2E|3|O'NEIL-7|TUERCA \u00d1AND\u00da 3/8|1000|1.25|1250|23|07"_s,
                           u"E2E|4|TB-4|\tTAB INDENTED WASHER|5|2|10|212|PCS"_s,
                           u"E2E|5|CL-9|COUNTRY OF ORIGIN: MEXICO|7.57|1|7.57|212|05"_s},
                          {u"8482.10.10.000B|S|MA01-|01|4.54||~|1|~|A|OK"_s,
                           u"9999.99.99.999Z|N||02|~||~|1|~|E|POS"_s, Unclassified.arg(u"9"_s),
                           Unclassified.arg(u"9"_s), Unclassified.arg(u"9"_s)}));

        // A document without text stops the run with its message.
        const CliRun blank =
            runCli(office.home.path(),
                   {u"process"_s, u"E2E"_s, TestHome::testDataPath(u"import/invoice-blank.doc"_s)});
        QCOMPARE(blank.code, 1);
        QVERIFY2(blank.err.contains(u"El documento no contiene texto."_s), qPrintable(blank.err));
        QCOMPARE(office.counters(u"E2E"_s).at(1), 1);
        // So does a document without article lines.
        const CliRun none = runCli(
            office.home.path(),
            {u"process"_s, u"E2E"_s, TestHome::testDataPath(u"word/corpus/tika-testWORD.doc"_s)});
        QCOMPARE(none.code, 1);
        QVERIFY2(none.err.contains(u"El documento no contiene artículos."_s), qPrintable(none.err));
        QCOMPARE(office.counters(u"E2E"_s).first(), 5);

        // Rows corrected by hand are replaced only with --replace.
        office.home.runWorkSql(u"update ART set PRCEST = 'M' where INTNRO = 'E2E';\n"_s);
        const CliRun kept = runCli(office.home.path(), {u"process"_s, u"E2E"_s, invoice});
        QCOMPARE(kept.code, 1);
        QVERIFY2(kept.err.contains(u"--replace"_s), qPrintable(kept.err));
        QCOMPARE(ArticleStore(office.ws.work()).countCorrected(u"E2E"_s), 5);
        const CliRun replaced =
            runCli(office.home.path(), {u"process"_s, u"E2E"_s, invoice, u"--replace"_s});
        QVERIFY2(replaced.code == 0, qPrintable(replaced.err));
        QCOMPARE(ArticleStore(office.ws.work()).countCorrected(u"E2E"_s), 0);
    }

    void rowsWrittenAsJson()
    {
        // Texts escaped, whole amounts without exponent, NULL as null.
        TestHome home;
        home.createDatabases();
        home.runWorkSql(
            u"insert into INTN values ('7', 'Siete');\n"
            "insert into ART (INTNRO, ARTORD, ARTNRO, ARTDSC, ARTCAN, ARTUNI) values ('7', 1, "
            "'A\"\\', char(9) || 'x' || char(1) || char(128512), 1e15, 0.1);\n"_s);
        const QString out = runCli(home.path(), {u"rows"_s, u"7"_s}).out;
        for (const QString& field :
             {u"\"ARTNRO\":\"A\\\"\\\\\""_s, u"\"ARTDSC\":\"\\tx\\u0001\U0001F600\""_s,
              u"\"ARTCAN\":1000000000000000,"_s, u"\"ARTUNI\":0.1,"_s, u"\"ARTTOT\":null"_s})
            QVERIFY2(out.contains(field), qPrintable(out));
    }

    void damagedDocumentToldInSpanishOnly()
    {
        // Half a Word 97-2003 document: libgsf's own complaints stay out of the operator's way.
        QFile whole(TestHome::testDataPath(u"word/generated/invoice.doc"_s));
        QVERIFY(whole.open(QIODevice::ReadOnly));
        TestHome home;
        QFile half(home.file(u"half.doc"_s));
        QVERIFY(half.open(QIODevice::WriteOnly));
        half.write(whole.read(whole.size() / 2));
        half.close();
        const CliRun run = runCli(home.path(), {u"parse"_s, half.fileName()});
        QVERIFY2(run.code == 1 &&
                     run.err.startsWith(u"No se pudo leer la factura "_s + half.fileName() +
                                        u". El documento está dañado"_s) &&
                     !run.err.contains(u"libgsf"_s),
                 qPrintable(run.err));
    }
};

QTEST_GUILESS_MAIN(TestProcess)
#include "tst_process.moc"
