#include "TransferData.h"

#include "components/TestSeam.h"
#include "support/ScriptedDialogs.h"
#include "transfer/Transfer.h"
#include "workspace/Workspace.h"

#include <QMap>
#include <QTest>

using namespace Qt::StringLiterals;

using namespace TransferData;

namespace {

const QString Replace = u"El interno [ 100 ] ya existe.\n\nDesea reemplazarlo?"_s;
const QString Done = u"Se transfirio 3 articulos en el interno 100"_s;
const QString NothingTransferred = u"\n\nNo se transfirió ningún registro."_s;

/** A home with the test rows and a workspace opened on it, interno 100 and catalog CAT1. */
struct Fixture {
    Home home;
    ScriptedDialogs dialogs;
    RecordingProgress progress;
    Workspace ws{home.path(), dialogs, progress};
    QString interno = u"100"_s;

    /** On PostgreSQL, the declaration database of ADUPLAN_PG, rebuilt empty. */
    explicit Fixture(bool postgres = false)
    {
        home.setSetting(u"INTCAT"_s, u"CAT1"_s);
        if (postgres)
            usePostgres(home.path(), u"INTERNOS"_s, u"declaration"_s, DeclarationTables,
                        {u"declaration-schema.sql"_s, u"declaration-postgresql.sql"_s});
        ws.open();
    }

    DataSession& declaration() { return ws.declaration(); }

    /** Runs a transfer from a clean record of dialogs and progress. */
    TransferOutcome transfer()
    {
        dialogs.messages.clear();
        dialogs.questions.clear();
        progress.messages.clear();
        return FRM3_Tranferir(ws, interno);
    }

    void expectMessage(MessageIcon icon, const QString& text)
    {
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(int(dialogs.messages.first().icon), int(icon));
        QCOMPARE(dialogs.messages.first().text, text);
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
};

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
    QCOMPARE(f.transfer(), TransferOutcome::Transferred);
    TestSeam::setHook({});
    f.home.runWorkSql(
        u"update ART set PRCCRC = 'OK', PRCNCM = case ARTORD when 1 then '7318.15.00.100A' "
        "when 2 then '7318.22.00.000C' else '7318.15.00.200B' end where INTNRO = '100';\n"_s);
    const QDateTime after = QDateTime::currentDateTime().addSecs(1);

    f.expectMessage(MessageIcon::Information, Done);
    QCOMPARE(f.progress.messages.join(QLatin1Char('|')),
             u"Validando datos...|Transfiriendo al Dectra Windows...|"
             "Actualizando catalogo...|Fin de proceso"_s);
    // The bar hidden at 3 of 3, the hourglass off.
    QCOMPARE(QList<int>(
                 {f.progress.visible, f.progress.maximum, f.progress.value, f.progress.busyDepth}),
             QList<int>({0, 3, 3, 0}));

    const QStringList header = rows(f.declaration(), u"select * from caratula"_s);
    const QString format = u"yyyy-MM-dd HH:mm:ss"_s;
    const QDateTime registered = QDateTime::fromString(header.value(0).mid(4), format);
    QCOMPARE(header, QStringList{u"100|"_s + registered.toString(format)});
    QVERIFY2(registered >= before && registered <= after, qPrintable(header.first()));

    // Line order, the derived net weight and statistical quantity, empty texts for NULL.
    QCOMPARE(items(f.declaration()), expectedItems());

    // A-1 is new to CAT1: inserted by line 1 (without a country of its own: empty), then
    // rewritten by line 3. B-2 keeps its key and takes line 2's values, its country included.
    // The other catalog's A-1 is untouched.
    QCOMPARE(rows(f.declaration(), u"select * from catarticulos order by 1, 2"_s),
             QStringList({u"CAT1|A-1|TORNILLO LARGO||0|3|7318.15.00.200B|S|"
                          "AB(LARGO)-|02|01|7|2||0"_s,
                          u"CAT1|B-2|ARANDELA|203|0|0.1|7318.22.00.000C|N|"
                          "SIN SUFIJOS| 07 |07|100|1|10|3.5"_s,
                          u"CAT2|A-1|OTRO CATALOGO|999|5|1|0000.00.00.000A|S|"
                          "XX(1)-|05|05|9|2|U|9"_s}));

    // Transferred again: the operator keeps it (nothing changes) or replaces it.
    f.home.runDeclarationSql(u"insert into facturas values ('100', 'F-1', '2024-01-02', 10);\n"
                             "insert into facturas values ('300', 'F-9', '2024-01-03', 20);\n"_s);
    const QStringList transferred = dump(f.declaration());

    f.dialogs.questionAnswers << false;
    QCOMPARE(f.transfer(), TransferOutcome::Declined);
    QCOMPARE(f.dialogs.questions, QStringList{Replace});
    QVERIFY(f.dialogs.messages.isEmpty());
    QCOMPARE(dump(f.declaration()), transferred);
    // Nothing was transferred: the footer is back at rest.
    QCOMPARE(f.progress.messages.last(), QString());
    QVERIFY(!f.progress.visible);

    // A later line edited in the work database reaches the declaration on replacement; a line
    // without a country of its own leaves the catalog's.
    f.home.runWorkSql(u"update ART set ARTDSC = 'ARANDELA PLANA', PRCORI = NULL "
                      "where INTNRO = '100' and ARTORD = 2;\n"_s);
    f.dialogs.questionAnswers << true;
    QCOMPARE(f.transfer(), TransferOutcome::Transferred);
    f.expectMessage(MessageIcon::Information, Done);
    QStringList expected = expectedItems();
    expected[1].replace(u"ARANDELA"_s, u"ARANDELA PLANA"_s);
    QCOMPARE(items(f.declaration()), expected);
    QCOMPARE(rows(f.declaration(), u"select interno, nrofactura from facturas"_s),
             QStringList{u"300|F-9"_s});
    QCOMPARE(rows(f.declaration(), u"select descripcion, idpais from catarticulos "
                                   "where idarticulo = 'B-2'"_s),
             QStringList{u"ARANDELA PLANA|203"_s});
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
    // ones are in the catalog. A line's country is NULL, empty or its own in turn.
    constexpr int Lines = 4000;
    constexpr int Articles = 3000;
    Fixture f(postgres);
    f.interno = u"300"_s;

    // Each article's entry as the lines leave it, applied one after the other.
    QMap<QString, QStringList> catalog;
    QString known;
    for (int a = 0; a < Articles; a += 2) {
        const QString number = u"R-%1"_s.arg(a);
        known += u"%1('CAT1', '%2', 'VIEJA', '999', 5, 1, 'X', 'S', 'X', 'X', 'X', "
                 "9, 'X', 'X', 9)"_s.arg(known.isEmpty() ? QString() : u","_s, number);
        catalog[number] = QStringList{u"VIEJA"_s, u"999"_s};
    }
    DemoData::runScript(f.declaration(),
                        {u"insert into catarticulos values "_s + known + u";\n"_s});

    QString work = u"insert into INTN values ('300', 'Largo');\n"_s;
    QStringList expectedItems;
    for (int n = 1; n <= Lines; ++n) {
        const QString number = u"R-%1"_s.arg(n % Articles);
        const QString country = n % 3 == 0 ? u"NULL"_s : n % 3 == 1 ? u"''"_s : u"'P%1'"_s.arg(n);
        work += u"%1('300', %2, '%3', 'LINEA %2', %4, %5, 1, '212', 'D%2', 'N%2', "
                "'N', 'S%2', 'E%2', %6, 'U%2', %4, 'M%2', %7, 'A', 'OK')"_s
                    .arg(n % 1000 == 1 ? u"insert into ART values "_s : u","_s)
                    .arg(n)
                    .arg(number)
                    .arg(n % 50)
                    .arg(n * 0.25)
                    .arg(n * 0.5)
                    .arg(country);
        if (n % 1000 == 0)
            work += u";\n"_s;
        expectedItems << number + u"|LINEA %1|%2"_s.arg(n).arg(n % 50);
        QStringList& entry = catalog[number];
        const QString keptCountry = entry.value(1);
        entry = QStringList{u"LINEA %1"_s.arg(n), n % 3 == 2 ? u"P%1"_s.arg(n) : keptCountry};
        const QStringList perLine = {QString::number(n * 0.25), u"N%1"_s.arg(n), u"N"_s,
                                     u"S%1"_s.arg(n),           u"D%1"_s.arg(n), u"E%1"_s.arg(n),
                                     QString::number(n * 0.5),  u"M%1"_s.arg(n), u"U%1"_s.arg(n),
                                     QString::number(n % 50)};
        entry << u"0"_s << perLine;
    }
    f.home.runWorkSql(work);

    QCOMPARE(f.transfer(), TransferOutcome::Transferred);
    f.expectMessage(MessageIcon::Information,
                    u"Se transfirio %1 articulos en el interno 300"_s.arg(Lines));
    QCOMPARE(rows(f.declaration(), u"select idarticulo, descripcion, cantidad from "
                                   "subitems order by idsubitem"_s),
             expectedItems);
    QStringList expectedCatalog;
    for (auto it = catalog.cbegin(); it != catalog.cend(); ++it)
        expectedCatalog << it.key() + QLatin1Char('|') + it.value().join(QLatin1Char('|'));
    QStringList written =
        rows(f.declaration(), u"select idarticulo, descripcion, idpais, cantidad, "
                              "preciounitario, ncm, lapi, sufijos, idunidad, "
                              "estadistica, valorrelacionestadistica, estadomerc, "
                              "deresp, valorderesp from catarticulos where "
                              "idarticulo like 'R-%'"_s);
    written.sort();
    expectedCatalog.sort();
    QCOMPARE(written, expectedCatalog);
    QCOMPARE(QList<int>({f.progress.maximum, f.progress.value}), QList<int>({Lines, Lines}));
}

void TransferTest::refusesRowsToCorrectAndEmptyInterno()
{
    Fixture f;
    const QStringList before = dump(f.declaration());
    f.home.runWorkSql(u"update ART set PRCCRC = NULL where INTNRO = '100' and ARTORD = 3;\n"_s);
    QCOMPARE(f.transfer(), TransferOutcome::Refused);
    f.expectMessage(MessageIcon::Exclamation,
                    u"Hay registros para depurar.\n\nHaga click en el boton "
                    "\"DATOS CON ERRORES\""_s);
    QCOMPARE(dump(f.declaration()), before);

    f.interno = u"900"_s;
    QCOMPARE(f.transfer(), TransferOutcome::Empty);
    f.expectMessage(MessageIcon::Exclamation,
                    u"El interno 900 no tiene artículos para transferir."_s + NothingTransferred);
    QCOMPARE(dump(f.declaration()), before);
    QCOMPARE(f.progress.busyDepth, 0);
}

void TransferTest::failureLeavesDeclarationAsBefore_data()
{
    QTest::addColumn<QString>("declarationSql");
    QTest::addColumn<QString>("workSql");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("text");

    // A trigger on the statement of B-2 (line 2), or a NULL in a line of interno 100.
    const auto stop = [](const char* statement, const char* action) {
        return u"create trigger stop before %1 when new.idarticulo = 'B-2' begin "
               "select raise(%2); end;\n"_s.arg(QLatin1String(statement), QLatin1String(action));
    };
    const auto null = [](const char* column, int line) {
        return u"update ART set %1 = NULL where INTNRO = '100' and ARTORD = %2;\n"_s
            .arg(QLatin1String(column))
            .arg(line);
    };
    const QString items = u" - seccion [Aduplan.frmMain.FRAM3_Transfer_B_pasaje]"_s;
    const QString catalog = u" - seccion [Aduplan.frmMain_FRAM3_Transfer_C_ActualCAT]"_s;
    const int critical = int(MessageIcon::Critical);
    // A failure of the engine is told with the database first (HOME: the test's home).
    const QString engine = u"Falló una operación en la base de datos de declaraciones INTERNOS "
                           "(HOME/declaration.db). Si vuelve a ocurrir, informe el detalle al "
                           "responsable de los sistemas.\nDetalle: falla\n\n1811"_s;
    QTest::newRow("second item fails")
        << stop("insert on subitems", "abort, 'falla'") << QString() << critical << engine + items;
    QTest::newRow("item not added")
        << stop("insert on subitems", "ignore") << QString() << critical
        << u"Error Grabando registro en Dectra Windows: 0 Registros agregados\n\n1"_s + items;
    QTest::newRow("catalog update fails")
        << stop("update on catarticulos", "abort, 'falla'") << QString() << int(MessageIcon::None)
        << engine + catalog;
    QTest::newRow("null quantity")
        << QString() << null("ARTCAN", 3) << critical
        << u"La línea 3 (artículo A-1) no tiene cantidad.\n\n94"_s + items;
    QTest::newRow("null total") << QString() << null("ARTTOT", 2) << critical
                                << u"La línea 2 (artículo B-2) no tiene total.\n\n94"_s + items;
}

void TransferTest::failureLeavesDeclarationAsBefore()
{
    QFETCH(QString, declarationSql);
    QFETCH(QString, workSql);
    QFETCH(int, icon);
    QFETCH(QString, text);

    // A replacement of an interno already transferred: the failure must also undo the
    // deletes of header, items and invoices.
    Fixture f;
    QCOMPARE(f.transfer(), TransferOutcome::Transferred);
    f.home.runDeclarationSql(u"insert into facturas values ('100', 'F-1', '2024-01-02', 10);\n"_s +
                             declarationSql);
    f.home.runWorkSql(u"update ART set ARTDSC = 'CAMBIADA', PRCSUF = 'ZZ(1)-' "
                      "where INTNRO = '100';\n"_s +
                      workSql);
    const QStringList before = dump(f.declaration());

    f.dialogs.questionAnswers << true;
    QCOMPARE(f.transfer(), TransferOutcome::Failed);
    f.expectMessage(MessageIcon(icon), text.replace(u"HOME"_s, f.home.path()) + NothingTransferred);
    QCOMPARE(dump(f.declaration()), before);
    QCOMPARE(f.progress.busyDepth, 0);
}

QTEST_GUILESS_MAIN(TransferTest)
#include "tst_transfer.moc"
