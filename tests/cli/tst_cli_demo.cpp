#include "components/DataSession.h"
#include "support/Cli.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

/** The commands that read and edit the demo home, after one "init --demo". */
class TestCliDemo : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;

    /** The JSON line of an ARTORD of interno 1001. */
    QString row(int line)
    {
        return cli(m_home.path(), {u"rows"_s, u"1001"_s}).split(u'\n').at(line - 1);
    }

private Q_SLOTS:
    void initTestCase() { QCOMPARE(runCli(m_home.path(), {u"init"_s, u"--demo"_s}).code, 0); }

    void catalogCheck()
    {
        // The catalog in use: each failing article with its reason, the counts, the totals.
        const CliRun demo = runCli(m_home.path(), {u"catalog"_s, u"check"_s});
        QCOMPARE(demo.code, 1);
        const QStringList lines = demo.out.split(u'\n', Qt::SkipEmptyParts);
        for (const QString& line : {
                 u"BRG-608-2RS\t8482.10.10.000B\tAA(ROLTEC)-AB(608 2RS)-BA03-ZB(202402)-BD01-\t"
                 "letra de control errónea (el nomenclador tiene M)"_s,
                 u"CBL-8AWG-THHN\t8544.49.00.100H\tAA(CABLEX)-AB(THHN 8 AWG STRANDED COPPER)-"
                 "CB01-AL(8,37)-\tvalor mal formado: AB(THHN 8 AWG STRANDED COPPER)"_s,
             })
            QVERIFY2(lines.contains(line), qPrintable(line));
        QCOMPARE(
            lines.mid(lines.size() - 8),
            (QStringList{u"posición inexistente: 5"_s, u"letra de control errónea: 2"_s,
                         u"falta un grupo de sufijos: 5"_s, u"grupo de sufijos desconocido: 1"_s,
                         u"valor mal formado: 7"_s, u"sufijos no requeridos: 2"_s,
                         u"verificados: 66"_s, u"con_errores: 22"_s}));
        QCOMPARE(lines.size(), 22 + 8);

        // A clean catalog, an unknown one, wrong usage.
        const CliRun clean =
            runCli(m_home.path(), {u"catalog"_s, u"check"_s, u"--catalog"_s, u"REPUESTOS"_s});
        QVERIFY(clean.code == 0 && clean.out.endsWith(u"verificados: 8\ncon_errores: 0\n"_s));
        QCOMPARE(
            runCli(m_home.path(), {u"catalog"_s, u"check"_s, u"--catalog"_s, u"NADA"_s}).joined(),
            u"2||El catálogo \"NADA\" no existe.\n"_s);
        for (const QStringList& wrong : {QStringList{u"catalog"_s},
                                         {u"catalog"_s, u"check"_s, u"DEMO"_s},
                                         {u"catalog"_s, u"check"_s, u"--catalog"_s},
                                         {u"catalog"_s, u"list"_s}})
            QCOMPARE(runCli(m_home.path(), wrong).code, 2);
    }

    void positionSearchFindAndShow()
    {
        // Each dot stands for any run of characters: 8482%10% reaches 8482.20.10 too.
        const QString found8482 = cli(m_home.path(), {u"ncm"_s, u"search"_s, u"8482.10"_s});
        QVERIFY2(found8482.startsWith(u"0|8482.10.10.000M\tRodamientos radiales de bolas, de "
                                      "diámetro interior inferior o igual a 50 mm\n"
                                      "8482.10.90.000M\tLos demás rodamientos de bolas\n"
                                      "8482.20.10.000V\t"_s),
                 qPrintable(found8482));
        QCOMPARE(found8482.count(u'\n'), 5);
        QCOMPARE(cli(m_home.path(), {u"ncm"_s, u"search"_s, u"9999"_s}),
                 u"1||Posición no encontrada.\n"_s);

        const QString found =
            cli(m_home.path(), {u"ncm"_s, u"find"_s, u"RODILLOS"_s, u"conicos"_s});
        QVERIFY2(found.startsWith(u"0|8482.20.10.000V\tRodamientos de rodillos cónicos"_s),
                 qPrintable(found));
        QCOMPARE(found.count(u'\n'), 2);

        QCOMPARE(cli(m_home.path(), {u"ncm"_s, u"show"_s, u"8482.10.10.000M"_s}),
                 u"0|posición: 8482.10.10.000M\n"
                 "descripción: Rodamientos radiales de bolas, de diámetro interior inferior o "
                 "igual a 50 mm\n"
                 "descripción 2: Rodamientos de bolas, de rodillos o de agujas\n"
                 "unidad estadística: 07\nLAPI: no\nsufijos:\n"
                 "  AA   Indique la marca de la mercadería\n  AB   Indique el modelo\n"
                 "  BA01 Abierto, sin protecciones\n  BA02 Con tapas metálicas\n"
                 "  BA03 Con sellos de caucho\n  BD01 De una hilera de bolas\n"
                 "  BD02 De dos hileras de bolas\n"
                 "  ZB   Indique año y mes de fabricación (AAAAMM)\n|"_s);
        QCOMPARE(cli(m_home.path(), {u"ncm"_s, u"show"_s, u"8482.10.10.000X"_s}),
                 u"1||Posición no encontrada.\n"_s);

        for (const QStringList& wrong : {QStringList{u"ncm"_s},
                                         {u"ncm"_s, u"search"_s},
                                         {u"ncm"_s, u"search"_s, u"8482.10.10.000M"_s},
                                         {u"ncm"_s, u"list"_s, u"x"_s}})
            QVERIFY(cli(m_home.path(), wrong).startsWith(u"2||"_s));
    }

    // Last: it processes and edits interno 1001.
    void editRefusesThenSaves()
    {
        QVERIFY(cli(m_home.path(), {u"process"_s, u"1001"_s,
                                    m_home.path() + u"/invoices/factura-northfield-0318.doc"_s,
                                    u"--origin"_s, u"VIETNAM=337"_s})
                    .startsWith(u"0|"_s));
        // Line 11 (KP-3300) carries a position the nomenclator does not have.
        const QString before = row(11);
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
            QCOMPARE(cli(m_home.path(), QStringList{u"edit"_s, u"1001"_s} + args), expected);
        QCOMPARE(row(11), before);
        QVERIFY(cli(m_home.path(), {u"edit"_s, u"1001"_s})
                    .startsWith(u"2||Falta el número de línea"_s));

        // Declared in the statistical unit with no quantity: the invoice's is taken.
        QCOMPARE(cli(m_home.path(), {u"edit"_s, u"1001"_s, u"11"_s, u"--ncm"_s, valid, u"--ori"_s,
                                     u"212"_s, u"--dun"_s, u"07"_s, u"--eca"_s, u"0"_s}),
                 u"0||"_s);
        const QString saved = row(11);
        for (const QString& column :
             {u"\"PRCNCM\":\"8412.31.10.000Z\""_s, u"\"PRCSUF\":\"AA(AIRTEC)-AB(KP3300)-\""_s,
              u"\"PRCECA\":2"_s, u"\"PRCORI\":\"212\""_s, u"\"PRCEST\":\"M\""_s,
              u"\"PRCCRC\":\"OK\""_s})
            QVERIFY2(saved.contains(column), qPrintable(saved));
        QVERIFY(cli(m_home.path(), {u"stats"_s, u"1001"_s}).contains(u"con_errores: 8\n"_s));
    }

    void refusalsSayWhatFailedFirst()
    {
        // A second demo home, damaged step by step: the nomenclator loses its suffix table,
        // the declaration database becomes garbage, then the nomenclator's pages too.
        QTemporaryDir damaged;
        QCOMPARE(runCli(damaged.path(), {u"init"_s, u"--demo"_s}).code, 0);
        const QString nomenclator = damaged.filePath(u"nomenclator.db"_s);
        const auto dropSuffixes = [&nomenclator] {
            DataSession db(u"NCM"_s);
            db.CadenaConexion(DataSession::sqliteConnection(nomenclator));
            db.Conectar();
            db.Sql(u"drop table sufidos"_s);
            db.ejecutar();
        };
        const auto garbage = [](const QString& file, qint64 from) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.seek(from));
            f.write(QByteArray(f.size() - from, '\x5a'));
        };
        QTemporaryDir empty;
        const QString home = m_home.path();
        const QString broken = damaged.path();
        const std::function<void()> asIs;
        struct Refusal {
            QString home;
            std::function<void()> damage; // done before the run
            QStringList args;
            int exit;
            QStringList said; // on stderr, in this order
            int fileLimitKb = 0;
        };
        const QList<Refusal> refusals = {
            {home, asIs, {u"check"_s, u"NOPE"_s}, 1, {u"No existe el interno NOPE."_s}},
            {home,
             asIs,
             {u"check"_s, u"ctl\x1b[31m"_s},
             1,
             {u"No existe el interno ctl\\x1b[31m."_s}},
            {home,
             asIs,
             {u"ncm"_s, u"show"_s, u"8501.52.10.000P'junk"_s},
             1,
             {u"\"8501.52.10.000P'junk\" no es una posición"_s}},
            {home,
             asIs,
             {u"ncm"_s, u"show"_s, u"8482.10.10.000M"_s, u"\u202e\x1b[2J"_s},
             2,
             {u"Argumento desconocido: \\u202e\\x1b[2J"_s}},
            {home, asIs, {u"ncm"_s, u"find"_s, u"%"_s}, 1, {u"no tiene ninguna palabra"_s}},
            {home, asIs, {u"ncm"_s, u"find"_s, u"'"_s}, 1, {u"no tiene ninguna palabra"_s}},
            {home,
             asIs,
             {u"export"_s, u"1001"_s, u"--order"_s, u"ARTORD"_s, u"--out"_s, u"/proc/a.xls"_s},
             1,
             {u"No se pudo escribir el archivo /proc/a.xls. No se guardó nada"_s,
              u"\nDetalle: "_s}},
            // Files may not grow beyond a kilobyte or two: as a full disk.
            {home,
             asIs,
             {u"export"_s, u"1001"_s, u"--order"_s, u"ARTORD"_s, u"--out"_s,
              damaged.filePath(u"a.xlsx"_s)},
             1,
             {u"No se pudo escribir el archivo "_s, u"\nDetalle: "_s},
             1},
            {home,
             asIs,
             {u"report"_s, u"1001"_s, u"--errors"_s, u"--pdf"_s, damaged.filePath(u"r.pdf"_s)},
             1,
             {u"No se pudo escribir el archivo "_s, u"\nDetalle: "_s},
             1},
            {empty.path(),
             asIs,
             {u"init"_s, u"--demo"_s},
             1,
             {u"el disco de la base de datos planimport.db ("_s, u"\nDetalle: "_s},
             2},
            {broken,
             dropSuffixes,
             {u"ncm"_s, u"show"_s, u"8482.10.10.000M"_s},
             1,
             {u"A la base de datos del nomenclador NCM ("_s, u"le falta una tabla"_s,
              u"\nDetalle: no such table: sufidos"_s}},
            {broken,
             [&] { garbage(damaged.filePath(u"declaration.db"_s), 0); },
             {u"catalog"_s, u"check"_s},
             2,
             {u"La base de datos de declaraciones INTERNOS ("_s, u"está dañada"_s,
              u"\nDetalle: file is not a database"_s}},
            {broken,
             [&] { garbage(nomenclator, 4096); },
             {u"ncm"_s, u"search"_s, u"8482"_s},
             1,
             {u"La base de datos del nomenclador NCM ("_s, u"está dañada"_s,
              u"\nDetalle: database disk image is malformed\n\n11 - Sección []"_s}},
        };
        for (const Refusal& refusal : refusals) {
            if (refusal.damage)
                refusal.damage();
            const CliRun run = runCli(refusal.home, refusal.args, refusal.fileLimitKb);
            const QString context = refusal.args.join(u' ') + u" -> "_s + run.joined();
            QVERIFY2(run.code == refusal.exit && run.out.isEmpty(), qPrintable(context));
            qsizetype at = 0;
            for (const QString& part : refusal.said) {
                at = run.err.indexOf(part, at);
                QVERIFY2(at >= 0, qPrintable(part + u" not in "_s + context));
            }
            // Nothing but the message: no library's own lines.
            QVERIFY2(!run.err.contains(u"[ERROR]"_s) && !run.err.contains(u"[WARNING]"_s),
                     qPrintable(context));
        }
        // The failed init left no database, the failed writes no file.
        QCOMPARE(QDir(empty.filePath(u"db"_s)).entryList(QDir::Files), QStringList());
        QVERIFY(!QFile::exists(damaged.filePath(u"a.xlsx"_s)) &&
                !QFile::exists(damaged.filePath(u"r.pdf"_s)));
    }
};

QTEST_GUILESS_MAIN(TestCliDemo)
#include "tst_cli_demo.moc"
