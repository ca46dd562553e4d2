#include "app/Workspace.h"
#include "components/SuffixValidator.h"
#include "data/WorkDatabase.h"
#include "process/Process.h"
#include "process/Statistics.h"
#include "support/ScriptedDialogs.h"
#include "support/TestHome.h"

#include <QProcess>
#include <QTest>

#include <memory>

namespace {

const QVariant N; // NULL

const QString Stage2 = QStringLiteral("Procesando... Etapa 2 de 4: Buscando articulos en catalogo");
const QString Stage3 = QStringLiteral("Procesando... Etapa 3 de 4: Actualizando datos comunes");
const QString Stage4 = QStringLiteral("Procesando... Etapa 4 de 4: Validando NCM...");

/** A home with the process fixtures, catalog CAT1 and default goods condition "9". */
struct Office {
    TestHome home;
    ScriptedDialogs dialogs;
    RecordingProgress progress;
    std::unique_ptr<Workspace> ws;

    Office()
    {
        home.createDatabases();
        home.runDeclarationSql(TestHome::testData(QStringLiteral("process/declaration.sql")));
        home.runNomenclatorSql(TestHome::testData(QStringLiteral("process/nomenclator.sql")));
        home.setSetting(QStringLiteral("INTCAT"), QStringLiteral("CAT1"));
        home.setSetting(QStringLiteral("PRCESM"), QStringLiteral("9"));
        ws = std::make_unique<Workspace>(home.path(), dialogs, progress);
        ws->open();
        ws->currentInterno = QStringLiteral("100");
    }

    /** An ART row as the import leaves it (plus a goods condition when given). */
    void addArticle(const QString& interno, int order, const QString& article, double quantity,
                    double unitPrice, const QString& unit, const QVariant& condition = N)
    {
        ws->work().Sql(QStringLiteral("insert into ART (INTNRO, ARTORD, ARTNRO, ARTDSC, PRCDUN, "
                                      "ARTCAN, ARTUNI, ARTTOT, ARTORG, PRCESM) "
                                      "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                       {interno, order, article, QStringLiteral("DESC ") + article, unit, quantity,
                        unitPrice, quantity * unitPrice, QStringLiteral("212"), condition});
        ws->work().ejecutar();
    }

    /** Every column of every ART row, by interno and order. */
    QList<QVariantList> rows()
    {
        const QStringList& columns = WorkDatabase::articleColumns();
        RecordSet rs;
        ws->work().Sql(QStringLiteral("select ") + columns.join(QStringLiteral(", ")) +
                       QStringLiteral(" from ART order by INTNRO, ARTORD"));
        ws->work().CrearRs(rs);
        QList<QVariantList> result;
        for (; !rs.Eof(); rs.MoveNext()) {
            QVariantList row;
            for (const QString& column : columns)
                row << rs.Fields(column);
            result << row;
        }
        return result;
    }
};

/** The invoice part of a row as the helper above inserts it. */
QVariantList imported(const QString& interno, int order, const QString& article, double quantity,
                      double unitPrice, const QString& unit)
{
    return {interno,
            order,
            article,
            QStringLiteral("DESC ") + article,
            quantity,
            unitPrice,
            quantity * unitPrice,
            QStringLiteral("212"),
            unit};
}

/** The invoice part followed by PRCNCM ... PRCCRC. */
QVariantList row(QVariantList invoice, const QVariantList& processing)
{
    invoice << processing;
    return invoice;
}

/** PRCNCM ... PRCCRC of a row the process did not classify. */
QVariantList unclassified(const QVariant& condition)
{
    return {N, N, N, N, N, N, N, condition, N, N, N};
}

void compareRows(const QList<QVariantList>& actual, const QList<QVariantList>& expected)
{
    QCOMPARE(actual.size(), expected.size());
    const QStringList& columns = WorkDatabase::articleColumns();
    for (qsizetype r = 0; r < expected.size(); ++r) {
        QCOMPARE(expected.at(r).size(), columns.size());
        for (qsizetype c = 0; c < columns.size(); ++c) {
            const QVariant& want = expected.at(r).at(c);
            const QVariant& got = actual.at(r).at(c);
            const QByteArray where =
                QStringLiteral("row %1 (%2 %3), column %4: got %5")
                    .arg(r + 1)
                    .arg(actual.at(r).at(0).toString(), actual.at(r).at(1).toString(),
                         columns.at(c),
                         got.isNull() ? QStringLiteral("NULL")
                                      : QLatin1Char('\'') + got.toString() + QLatin1Char('\''))
                    .toUtf8();
            if (want.isNull()) {
                QVERIFY2(got.isNull(), where.constData());
            } else if (want.typeId() == QMetaType::Double || want.typeId() == QMetaType::Int) {
                QVERIFY2(!got.isNull() && qFuzzyCompare(got.toDouble(), want.toDouble()),
                         where.constData());
            } else {
                QVERIFY2(!got.isNull() && got.toString() == want.toString(), where.constData());
            }
        }
    }
}

QString text(const char* s)
{
    return QString::fromUtf8(s);
}

} // namespace

class TestProcess : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void classifiesFromCatalogAndValidates();
    void otherValidatorOutcomesGiveErr();
    void failureRollsBackTheStages();
    void processStopsWhenTheImportFails();
    void countersFollowTheCodes();
    void countersBeyondSixteenBits();
    void commandLineShowsCountersAndRows();
    void processCommandOnAWordInvoice();
};

void TestProcess::classifiesFromCatalogAndValidates()
{
    Office office;
    office.addArticle(QStringLiteral("100"), 1, QStringLiteral("A-OK"), 10, 2.5,
                      QStringLiteral("07"));
    office.addArticle(QStringLiteral("100"), 2, QStringLiteral("A-POS"), 3, 1,
                      QStringLiteral("07"));
    office.addArticle(QStringLiteral("100"), 3, QStringLiteral("A-SUF"), 4, 3,
                      QStringLiteral("07"));
    office.addArticle(QStringLiteral("100"), 4, QStringLiteral("NEW-1"), 5, 1,
                      QStringLiteral("07"));
    office.addArticle(QStringLiteral("100"), 5, QStringLiteral("A-TWICE"), 2, 1.5,
                      QStringLiteral("01"));
    office.addArticle(QStringLiteral("100"), 6, QStringLiteral("A-TWICE"), 4, 1.75,
                      QStringLiteral("01"));
    office.addArticle(QStringLiteral("100"), 7, QStringLiteral("A-OTHER"), 6, 1,
                      QStringLiteral("07"));
    office.addArticle(QStringLiteral("100"), 8, QStringLiteral("A-NULLS"), 8, 1,
                      QStringLiteral("07"));
    office.addArticle(QStringLiteral("100"), 9, QStringLiteral("NEW-2"), 1, 1, QStringLiteral("07"),
                      QStringLiteral("4"));
    office.addArticle(QStringLiteral("200"), 1, QStringLiteral("A-OK"), 10, 2.5,
                      QStringLiteral("07"));

    SuffixValidator validator;
    validator.ConexionString(office.ws->directory());
    QVERIFY(ClasificarArticulos(*office.ws, [&](const QString& position, const QString& suffixes) {
        return validator.ValidarSufijos(position, suffixes);
    }));

    const QString sinSufijos = QStringLiteral("SIN SUFIJOS");
    const QString rodamiento = QStringLiteral("8482.10.10.000B");
    const QString tornillo = QStringLiteral("7318.15.00.200D");
    const QString e = QStringLiteral(""); // written as the empty text
    compareRows(
        office.rows(),
        {
            // LAPI from the nomenclator's "*"; units agree and "OK": statistical quantity.
            row(imported(QStringLiteral("100"), 1, QStringLiteral("A-OK"), 10, 2.5,
                         QStringLiteral("07")),
                {rodamiento, text("S"), text("MA01-"), text("07"), 10.0, text("KG"), N, text("1"),
                 N, text("A"), text("OK")}),
            // Position unknown to the nomenclator: LAPI "N", POS; units agree but not "OK".
            row(imported(QStringLiteral("100"), 2, QStringLiteral("A-POS"), 3, 1,
                         QStringLiteral("07")),
                {text("9999.99.99.999Z"), text("N"), sinSufijos, text("07"), N, e, N, text("2"), N,
                 text("E"), text("POS")}),
            // LAPI of the catalog copied unchanged; wrong option: SUF.
            row(imported(QStringLiteral("100"), 3, QStringLiteral("A-SUF"), 4, 3,
                         QStringLiteral("07")),
                {rodamiento, text(" N "), text("MA09-"), text("07"), N, e, N, text("1"), N,
                 text("E"), text("SUF")}),
            // Not in catalog CAT1 (only in another catalog): only the default condition.
            row(imported(QStringLiteral("100"), 4, QStringLiteral("NEW-1"), 5, 1,
                         QStringLiteral("07")),
                unclassified(text("9"))),
            // One article on two lines with two unit prices: both classified alike.
            row(imported(QStringLiteral("100"), 5, QStringLiteral("A-TWICE"), 2, 1.5,
                         QStringLiteral("01")),
                {tornillo, text("N"), e, text("01"), 2.0, e, N, text("3"), N, text("A"),
                 text("OK")}),
            row(imported(QStringLiteral("100"), 6, QStringLiteral("A-TWICE"), 4, 1.75,
                         QStringLiteral("01")),
                {tornillo, text("N"), e, text("01"), 4.0, e, N, text("3"), N, text("A"),
                 text("OK")}),
            // Blank LAPI and a [059] other than "*": "N"; empty condition takes the default;
            // statistical unit differs from the declared one: no quantity.
            row(imported(QStringLiteral("100"), 7, QStringLiteral("A-OTHER"), 6, 1,
                         QStringLiteral("07")),
                {text("3926.90.90.990E"), text("N"), sinSufijos, text("05"), N, e, N, text("9"), N,
                 text("A"), text("OK")}),
            // NULL catalog values written empty; NULL condition filled by stage 3; NULL [059].
            row(imported(QStringLiteral("100"), 8, QStringLiteral("A-NULLS"), 8, 1,
                         QStringLiteral("07")),
                {tornillo, text("N"), e, text("07"), 8.0, e, N, text("9"), N, text("A"),
                 text("OK")}),
            // A condition already set is kept.
            row(imported(QStringLiteral("100"), 9, QStringLiteral("NEW-2"), 1, 1,
                         QStringLiteral("07")),
                unclassified(text("4"))),
            // Another interno is not touched.
            row(imported(QStringLiteral("200"), 1, QStringLiteral("A-OK"), 10, 2.5,
                         QStringLiteral("07")),
                unclassified(N)),
        });

    QCOMPARE(office.progress.messages,
             QStringList({Stage2, Stage3, Stage4, QStringLiteral("Fin de Proceso")}));
    QVERIFY(!office.progress.visible);
    QCOMPARE(office.progress.maximum, 7); // rows validated
    QCOMPARE(office.progress.value, 7);
    QVERIFY(office.dialogs.messages.isEmpty());
}

void TestProcess::otherValidatorOutcomesGiveErr()
{
    Office office;
    office.addArticle(QStringLiteral("100"), 1, QStringLiteral("A-OK"), 10, 2.5,
                      QStringLiteral("07"));
    office.addArticle(QStringLiteral("100"), 2, QStringLiteral("A-NULLS"), 8, 1,
                      QStringLiteral("07"));
    office.addArticle(QStringLiteral("100"), 3, QStringLiteral("NEW-1"), 5, 1,
                      QStringLiteral("07"));

    QStringList asked;
    QVERIFY(ClasificarArticulos(*office.ws, [&](const QString& position, const QString& suffixes) {
        asked << position + QLatin1Char('|') + suffixes;
        return position.startsWith(QLatin1String("8482")) ? 3 : -1;
    }));
    // NULL suffixes are passed as the empty text; unclassified rows are not validated.
    QCOMPARE(asked, QStringList({QStringLiteral("8482.10.10.000B|MA01-"),
                                 QStringLiteral("7318.15.00.200D|")}));
    const QString e = QStringLiteral("");
    compareRows(office.rows(),
                {
                    row(imported(QStringLiteral("100"), 1, QStringLiteral("A-OK"), 10, 2.5,
                                 QStringLiteral("07")),
                        {text("8482.10.10.000B"), text("S"), text("MA01-"), text("07"), N,
                         text("KG"), N, text("1"), N, text("E"), text("ERR")}),
                    row(imported(QStringLiteral("100"), 2, QStringLiteral("A-NULLS"), 8, 1,
                                 QStringLiteral("07")),
                        {text("7318.15.00.200D"), text("N"), e, text("07"), N, e, N, text("9"), N,
                         text("E"), text("ERR")}),
                    row(imported(QStringLiteral("100"), 3, QStringLiteral("NEW-1"), 5, 1,
                                 QStringLiteral("07")),
                        unclassified(text("9"))),
                });
}

void TestProcess::failureRollsBackTheStages()
{
    Office office;
    office.addArticle(QStringLiteral("100"), 1, QStringLiteral("A-OK"), 10, 2.5,
                      QStringLiteral("07"));
    office.addArticle(QStringLiteral("100"), 2, QStringLiteral("NEW-1"), 5, 1,
                      QStringLiteral("07"));
    office.addArticle(QStringLiteral("100"), 3, QStringLiteral("A-SUF"), 4, 3,
                      QStringLiteral("07"));
    office.home.runWorkSql(QStringLiteral(
        "create trigger refuse_suf before update of PRCCRC on ART when new.PRCCRC = 'SUF' "
        "begin select raise(abort, 'fallo provocado'); end;\n"));
    const QList<QVariantList> before = office.rows();

    SuffixValidator validator;
    validator.ConexionString(office.ws->directory());
    QVERIFY(!ClasificarArticulos(*office.ws, [&](const QString& position, const QString& suffixes) {
        return validator.ValidarSufijos(position, suffixes);
    }));

    // Stages 2 to 4 are undone: the rows are as the import left them.
    compareRows(office.rows(), before);
    QCOMPARE(office.dialogs.messages.size(), 1);
    QCOMPARE(office.dialogs.messages.first().icon, MessageIcon::Critical);
    const QString shown = office.dialogs.messages.first().text;
    QVERIFY2(shown.startsWith(QStringLiteral("fallo provocado\n\n")), qPrintable(shown));
    QVERIFY2(shown.contains(
                 QStringLiteral(" - seccion [Aduplan.frmMain.FRAM2_GuardarDatosToBase]::WORK\n\n")),
             qPrintable(shown));
    QVERIFY2(shown.endsWith(QStringLiteral("\n\nSQL:\nupdate ART set PRCCRC = 'SUF', PRCEST = 'E' "
                                           "where INTNRO = '100'  and ARTORD = 3")),
             qPrintable(shown));
    // The bar stays and the message line keeps the stage that failed.
    QVERIFY(office.progress.visible);
    QCOMPARE(office.progress.messages.last(), Stage4);
}

void TestProcess::processStopsWhenTheImportFails()
{
    Office office;
    office.addArticle(QStringLiteral("100"), 1, QStringLiteral("A-OK"), 10, 2.5,
                      QStringLiteral("07"));
    const QList<QVariantList> before = office.rows();

    QVERIFY(!FRAM2_GuardarDatosToBase(*office.ws,
                                      office.home.file(QStringLiteral("no-existe/factura.doc"))));
    // The former rows are neither replaced nor classified.
    compareRows(office.rows(), before);
    QVERIFY(!office.progress.messages.contains(Stage2));
    QVERIFY(!office.dialogs.messages.isEmpty());
    QCOMPARE(office.progress.busyDepth, 0);
}

void TestProcess::countersFollowTheCodes()
{
    Office office;
    QCOMPARE(formatCounter(FRAM3_CargarEstadisticas(*office.ws, QStringLiteral("100")).total),
             QStringLiteral("0000"));
    const ProcessCounters none = FRAM3_CargarEstadisticas(*office.ws, QStringLiteral("100"));
    for (const qint64 count : {none.total, none.enCatalogo, none.nuevos, none.conErrores,
                               none.errPosicion, none.errSufijos})
        QCOMPARE(count, 0);

    office.home.runWorkSql(
        QStringLiteral("insert into ART (INTNRO, ARTORD, PRCEST, PRCCRC) values "
                       "('100', 1, 'A', 'OK'), ('100', 2, 'A', 'OK'), ('100', 3, 'E', 'POS'), "
                       "('100', 4, 'E', 'SUF'), ('100', 5, 'E', 'SUF'), ('100', 6, 'E', 'ERR'), "
                       "('100', 7, 'M', 'OK'), ('100', 8, NULL, NULL), ('100', 9, '', NULL), "
                       "('200', 1, 'E', 'POS');\n"));
    const ProcessCounters c = FRAM3_CargarEstadisticas(*office.ws, QStringLiteral("100"));
    QCOMPARE(c.total, 9); // the edited row counts only here
    QCOMPARE(c.enCatalogo, 2);
    QCOMPARE(c.nuevos, 2);     // NULL and empty state
    QCOMPARE(c.conErrores, 4); // ERR included; rows without a check code are not
    QCOMPARE(c.errPosicion, 1);
    QCOMPARE(c.errSufijos, 2);
    QCOMPARE(formatCounter(c.total), QStringLiteral("0009"));
    QCOMPARE(formatCounter(12345), QStringLiteral("12345"));
}

void TestProcess::countersBeyondSixteenBits()
{
    Office office;
    office.home.runWorkSql(QStringLiteral(
        "insert into ART (INTNRO, ARTORD, PRCEST) with recursive n(i) as (select 1 union all "
        "select i + 1 from n where i < 40000) select '100', i, 'A' from n;\n"));
    const ProcessCounters c = FRAM3_CargarEstadisticas(*office.ws, QStringLiteral("100"));
    QCOMPARE(c.total, 40000);
    QCOMPARE(c.enCatalogo, 40000);
    QCOMPARE(formatCounter(c.enCatalogo), QStringLiteral("40000"));
}

void TestProcess::commandLineShowsCountersAndRows()
{
    Office office;
    office.addArticle(QStringLiteral("100"), 2, QStringLiteral("A-OK"), 10, 2.5,
                      QStringLiteral("07"));
    office.addArticle(QStringLiteral("100"), 1, QStringLiteral("NEW-1"), 5, 1,
                      QStringLiteral("07"));
    QVERIFY(ClasificarArticulos(*office.ws, [](const QString&, const QString&) { return 0; }));

    const auto run = [&](const QStringList& args) {
        QProcess cli;
        cli.start(QStringLiteral(ADUPLAN_CLI),
                  QStringList({QStringLiteral("--home"), office.home.path()}) + args);
        cli.waitForFinished(60000);
        return std::pair{cli.exitCode(), QString::fromUtf8(cli.readAllStandardOutput())};
    };

    const auto [statsCode, stats] = run({QStringLiteral("stats"), QStringLiteral("100")});
    QCOMPARE(statsCode, 0);
    QCOMPARE(stats, QStringLiteral("total: 2\nen_catalogo: 1\nnuevos: 1\ncon_errores: 0\n"
                                   "err_posicion: 0\nerr_sufijos: 0\n"));

    const auto [rowsCode, rows] = run({QStringLiteral("rows"), QStringLiteral("100")});
    QCOMPARE(rowsCode, 0);
    const QStringList lines = rows.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.at(0),
             QStringLiteral(
                 "{\"INTNRO\":\"100\",\"ARTORD\":1,\"ARTNRO\":\"NEW-1\",\"ARTDSC\":\"DESC NEW-1\","
                 "\"ARTCAN\":5,\"ARTUNI\":1,\"ARTTOT\":5,\"ARTORG\":\"212\",\"PRCDUN\":\"07\","
                 "\"PRCNCM\":null,\"PRCLAP\":null,\"PRCSUF\":null,\"PRCEUN\":null,"
                 "\"PRCECA\":null,\"PRCSUN\":null,\"PRCSCA\":null,\"PRCESM\":\"9\","
                 "\"PRCORI\":null,\"PRCEST\":null,\"PRCCRC\":null}"));
    QVERIFY2(lines.at(1).contains(QStringLiteral("\"ARTUNI\":2.5,\"ARTTOT\":25,")) &&
                 lines.at(1).contains(QStringLiteral("\"PRCECA\":10,")) &&
                 lines.at(1).endsWith(QStringLiteral("\"PRCEST\":\"A\",\"PRCCRC\":\"OK\"}")),
             qPrintable(lines.at(1)));

    const auto [usageCode, usage] = run({QStringLiteral("stats")});
    QCOMPARE(usageCode, 2);
    QVERIFY(usage.isEmpty());
}

void TestProcess::processCommandOnAWordInvoice()
{
    Office office;
    office.home.runDeclarationSql(QStringLiteral(
        "insert into catarticulos (idcatalogo, idarticulo, ncm, lapi, sufijos, estadistica, "
        "estadomerc, deresp) values ('CAT1', 'AB-100', '8482.10.10.000B', NULL, 'MA01-', '01', "
        "'1', ''), ('CAT1', 'HS-200', '9999.99.99.999Z', 'N', '', '02', '1', '');\n"));
    const QString invoice =
        TestHome::testDataPath(QStringLiteral("import/invoice-fixed-columns.doc"));
    const auto run = [&](const QStringList& args) {
        QProcess cli;
        cli.start(QStringLiteral(ADUPLAN_CLI),
                  QStringList({QStringLiteral("--home"), office.home.path()}) + args);
        cli.waitForFinished(60000);
        return std::tuple{cli.exitCode(), QString::fromUtf8(cli.readAllStandardOutput()),
                          QString::fromUtf8(cli.readAllStandardError())};
    };

    // An origin without a relation refuses the run; the interno keeps no rows.
    const auto [refusedCode, refusedOut, refusedErr] =
        run({QStringLiteral("process"), QStringLiteral("E2E"), invoice});
    QCOMPARE(refusedCode, 1);
    QVERIFY(refusedOut.isEmpty());
    QVERIFY2(refusedErr.contains(QStringLiteral("No seleciono Pais de Origen!")) &&
                 refusedErr.contains(QStringLiteral("JAPAN")),
             qPrintable(refusedErr));
    QCOMPARE(FRAM3_CargarEstadisticas(*office.ws, QStringLiteral("E2E")).total, 0);

    const auto [code, out, err] =
        run({QStringLiteral("process"), QStringLiteral("E2E"), invoice, QStringLiteral("--origin"),
             QStringLiteral("JAPAN=105"), QStringLiteral("--origin"), QStringLiteral("GERMANY=23"),
             QStringLiteral("--origin"), QStringLiteral("US=212")});
    QVERIFY2(code == 0, qPrintable(err));
    QCOMPARE(out, QStringLiteral("total: 5\nen_catalogo: 1\nnuevos: 3\ncon_errores: 1\n"
                                 "err_posicion: 1\nerr_sufijos: 0\n"));

    const auto line = [](int order, const char* part, const char* description, double quantity,
                         double unitPrice, double total, const char* origin, const char* unit) {
        return QVariantList{QStringLiteral("E2E"),
                            order,
                            text(part),
                            text(description),
                            quantity,
                            unitPrice,
                            total,
                            text(origin),
                            text(unit)};
    };
    const QString e = QStringLiteral("");
    compareRows(
        office.rows(),
        {
            row(line(1, "AB-100", "STEEL BOLT", 4.54, 10, 45.36, "105", "01"),
                {text("8482.10.10.000B"), text("S"), text("MA01-"), text("01"), 4.54, e, N,
                 text("1"), N, text("A"), text("OK")}),
            row(line(2, "HS-200", "RUBBER HOSE 1/2\" D\u00b4ARTAGNAN", 0.91, 9.84252, 9, "23",
                     "02"),
                {text("9999.99.99.999Z"), text("N"), e, text("02"), N, e, N, text("1"), N,
                 text("E"), text("POS")}),
            row(line(3, "O'NEIL-7", "TUERCA \u00d1AND\u00da 3/8", 1000, 1.25, 1250, "23", "07"),
                unclassified(text("9"))),
            row(line(4, "TB-4", "\tTAB INDENTED WASHER", 5, 2, 10, "212", "PCS"),
                unclassified(text("9"))),
            row(line(5, "CL-9", "COUNTRY OF ORIGIN: MEXICO", 7.57, 1, 7.57, "212", "05"),
                unclassified(text("9"))),
        });

    // A document without text stops the run with its message.
    const auto [blankCode, blankOut, blankErr] =
        run({QStringLiteral("process"), QStringLiteral("E2E"),
             TestHome::testDataPath(QStringLiteral("import/invoice-blank.doc"))});
    QCOMPARE(blankCode, 1);
    QVERIFY2(blankErr.contains(QStringLiteral("El documento no contiene texto.")),
             qPrintable(blankErr));
    QCOMPARE(FRAM3_CargarEstadisticas(*office.ws, QStringLiteral("E2E")).enCatalogo, 1);
}

QTEST_GUILESS_MAIN(TestProcess)
#include "tst_process.moc"
