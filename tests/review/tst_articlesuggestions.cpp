#include "ReviewHome.h"

#include "review/ArticleSuggestions.h"
#include "review/frmDEP.h"
#include "review/frmModificar.h"
#include "support/Cli.h"
#include "support/Modal.h"
#include "support/WorkHome.h"
#include "transfer/Transfer.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

/** Bearings and valves ask a brand (AA) and a model (AB); screws and pumps ask nothing. */
const QString Nomenclator =
    u"insert into ncm values ('8482.10.10', '000', 'M', 'Rodamientos', "
    "'Rodamientos radiales de bolas', '07', '', '', '');\n"
    "insert into ncm values ('8481.80.19', '000', 'B', 'Válvulas', 'Válvulas esféricas', '07', "
    "'', '', '');\n"
    "insert into ncm values ('8413.70.10', '000', 'B', 'Bombas', 'Bombas centrífugas', '07', '', "
    "'', '');\n"
    "insert into ncm values ('7318.15.00', '200', 'D', 'Tornillos', 'Tornillos de acero', '01', "
    "'', '', '');\n"
    "insert into sufidos values ('8482.  .  .   ', 'AA', 'Indique la marca');\n"
    "insert into sufidos values ('8482.  .  .   ', 'AB', 'Indique el modelo');\n"
    "insert into sufidos values ('8481.  .  .   ', 'AA', 'Indique la marca');\n"_s;

const QString Bearing = u"8482.10.10.000M"_s;
const QString Valve = u"8481.80.19.000B"_s;
const QString Pump = u"8413.70.10.000B"_s;
const QString Screw = u"7318.15.00.200D"_s;

/** A catalog entry: catalog, number, description, position, suffixes. */
QString entry(const QString& catalog, const QString& number, const QString& description,
              const QString& position, const QString& suffixes)
{
    return u"insert into catarticulos (idcatalogo, idarticulo, descripcion, idpais, cantidad, "
           "preciounitario, ncm, lapi, sufijos, idunidad, estadistica, valorrelacionestadistica, "
           "estadomerc, deresp, valorderesp) values ('%1', '%2', '%3', '', 0, 1, '%4', 'N', '%5', "
           "'07', '07', 0, '', '', 0);\n"_s.arg(catalog, number, description, position, suffixes);
}

struct Fixture {
    TestHome home;
    ScriptedDialogs dialogs;
    NoProgress progress;
    Workspace ws{home.path(), dialogs, progress};

    explicit Fixture(const QString& catalog)
    {
        home.createDatabases();
        home.runNomenclatorSql(Nomenclator);
        home.runDeclarationSql(u"insert into catalogo values ('A', 'Uno');\n"
                               "insert into catalogo values ('B', 'Otro');\n"_s +
                               catalog);
        ws.open();
    }

    /** Each suggestion as "position|suffixes|score|valid|basis". */
    QStringList suggest(const QString& number, const QString& description)
    {
        QStringList lines;
        for (const ArticleSuggestion& s : ArticleSuggestions(ws).suggest(number, description))
            lines << QStringList{s.position, s.suffixes, QString::number(s.score, 'f', 2),
                                 s.suffixesValid ? u"valid"_s : u"invalid"_s, s.basis}
                         .join(u'|');
        return lines;
    }
};

} // namespace

class TestArticleSuggestions : public QObject {
    Q_OBJECT

    QTemporaryDir m_demo;

    // Members, so that the window tests' own helpers of these names never clash with them.
    template <typename T> static T* control(QWidget* window, const char* name)
    {
        T* found = window->findChild<T*>(QLatin1String(name));
        if (!found)
            qFatal("control %s not found", name);
        return found;
    }
    static void press(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }

private Q_SLOTS:
    /** A demo home whose interno 1004 holds the lines of a demo invoice. */
    void initTestCase()
    {
        QCOMPARE(runCli(m_demo.path(), {u"init"_s, u"--demo"_s}).code, 0);
        QCOMPARE(
            runCli(m_demo.path(), {u"process"_s, u"1004"_s,
                                   m_demo.filePath(u"invoices/factura-brightwater-7802.doc"_s)})
                .code,
            0);
    }

    /** The command line on the demo: "exit code|stdout|first line of stderr". */
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("expected");
        QTest::newRow("article") << QStringList{u"--article"_s, u"6206-2RS"_s, u"--description"_s,
                                                u"BALL BEARING 6206-2RS"_s}
                                 << u"0|8482.10.10.000M\tAA(ROLTEC)-AB(6206 2RS)-BA03-ZB(202309)-"
                                    "BD01-\t0.37\tfamilia: DEMO 6204-2RS\n8481.80.19.000B\t"
                                    "AA(AQUAVALV)-AB(62062RS)-BC01-\t0.02\tdescripción: DEMO "
                                    "HBV-050-SS\n|"_s;
        QTest::newRow("none") << QStringList{u"--article"_s, u"QQQ"_s, u"--description"_s, u""_s}
                              << u"1||"_s;
        QTest::newRow("row") << QStringList{u"1004"_s, u"1"_s}
                             << u"0|8501.52.10.000P\tAA(VOLTARIS)-AB(M3F 1HP)-ZC(000750)-\t0.57\t"
                                "mismo número: DEMO MTR-3PH-1HP|"_s;
        QTest::newRow("no row") << QStringList{u"1004"_s, u"99"_s}
                                << u"1||El interno 1004 no tiene la línea 99."_s;
        QTest::newRow("evaluate")
            << QStringList{u"--evaluate"_s}
            << u"0|articulos: 66\ntop1: 27.3 %\ntop3: 27.3 %\nsufijos_validos: 68.2 %\n|"_s;
        QTest::newRow("unknown catalog") << QStringList{u"--evaluate"_s, u"--catalog"_s, u"NADA"_s}
                                         << u"1||El catálogo \"NADA\" no existe."_s;
        QTest::newRow("nothing") << QStringList{} << u"2||Falta el número de interno."_s;
        QTest::newRow("evaluate an article") << QStringList{u"--evaluate"_s, u"--article"_s, u"X"_s}
                                             << u"2||--evaluate no lleva artículo."_s;
        QTest::newRow("catalog without evaluate")
            << QStringList{u"--catalog"_s, u"DEMO"_s, u"1004"_s, u"1"_s}
            << u"2||--catalog va con --evaluate."_s;
    }
    void commandLine()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, expected);
        const CliRun run = runCli(m_demo.path(), QStringList{u"suggest"_s} + args);
        // An expected output that does not end with a line break stands for the first line.
        const QString wanted = expected.section(u'|', 1, 1);
        const QString out =
            wanted.isEmpty() || wanted.endsWith(u'\n') ? run.out : run.out.section(u'\n', 0, 0);
        QCOMPARE(QString::number(run.code) + u'|' + out + u'|' + run.err.section(u'\n', 0, 0),
                 expected);
    }

    /** The same number in another catalog, alone: its position, with its share of 0.40. */
    void sameNumberElsewhere()
    {
        Fixture f(entry(u"B"_s, u"X-77"_s, u"CENTRIFUGAL PUMP"_s, Pump, u""_s) +
                  entry(u"A"_s, u"X-77"_s, u"WATER PUMP"_s, Pump, u""_s) +
                  entry(u"B"_s, u"Q-1"_s, u"HEX SCREW"_s, u"9999.99.99.999Z"_s, u""_s) +
                  entry(u"A"_s, u"Q-1"_s, u"HEX SCREW"_s, Screw, u""_s) +
                  entry(u"B"_s, u""_s, u"SIN NUMERO"_s, Valve, u""_s));
        QCOMPARE(f.suggest(u"x-77 "_s, u"nada"_s),
                 QStringList{Pump + u"||0.40|valid|mismo número: A X-77"_s});
        // Split between two catalogs, and a position the nomenclator does not hold is never
        // offered.
        QCOMPARE(f.suggest(u"Q-1"_s, u""_s),
                 QStringList{Screw + u"||0.20|valid|mismo número: A Q-1"_s});
        // A blank number is no number: it meets no entry without one.
        QCOMPARE(f.suggest(u" "_s, u"nada"_s), QStringList{});
    }

    /**
     * The family: other digits under the same letters and separators, closer when more digits
     * agree from the start; the same stem before a finish. The suffixes are the neighbour's,
     * its model rewritten for the new number.
     */
    void family()
    {
        Fixture f(entry(u"A"_s, u"6204-2RS"_s, u"BALL BEARING"_s, Bearing,
                        u"AA(ROLTEC)-AB(6204 2RS)-"_s) +
                  entry(u"A"_s, u"6310-2RS"_s, u"VALVE"_s, Valve, u"AA(X)-"_s) +
                  entry(u"A"_s, u"BRG-6001-ZZ"_s, u"BALL BEARING"_s, Bearing,
                        u"AA(ROLTEC)-AB(BRG6001ZZ)-"_s) +
                  entry(u"A"_s, u"100234"_s, u"PUMP"_s, Pump, u""_s));
        QCOMPARE(
            f.suggest(u"6205-2RS"_s, u""_s),
            (QStringList{Bearing + u"|AA(ROLTEC)-AB(6205 2RS)-|0.22|valid|familia: A 6204-2RS"_s,
                         Valve + u"|AA(X)-|0.17|valid|familia: A 6310-2RS"_s}));
        QCOMPARE(f.suggest(u"BRG-6006-ZZ"_s, u""_s),
                 QStringList{Bearing +
                             u"|AA(ROLTEC)-AB(BRG6006ZZ)-|0.24|valid|familia: A BRG-6001-ZZ"_s});
        QCOMPARE(f.suggest(u"6204-ZZ"_s, u""_s).value(0),
                 Bearing + u"|AA(ROLTEC)-AB(6204 ZZ)-|0.27|valid|familia: A 6204-2RS"_s);
        // Digits alone make a family only with half of their digits in common.
        QCOMPARE(f.suggest(u"900111"_s, u""_s), QStringList{});
        QCOMPARE(f.suggest(u"100299"_s, u""_s).value(0).section(u'|', 0, 0), Pump);
    }

    /** Descriptions: rare words weigh more; plurals, accents and word order do not count. */
    void description()
    {
        Fixture f(entry(u"A"_s, u"K1"_s, u"VALVULA ESFERICA ACERO"_s, Valve, u"AA(AQUA)-"_s) +
                  entry(u"B"_s, u"K2"_s, u"BOMBA CENTRIFUGA ACERO"_s, Pump, u""_s) +
                  entry(u"B"_s, u"K3"_s, u"BOMBA CENTRIFUGA INOX"_s, Pump, u""_s));
        // The valve's description, and two of its three words in the nomenclator's.
        QCOMPARE(f.suggest(u"Z"_s, u"acero válvulas esféricas"_s).value(0),
                 Valve + u"|AA(AQUA)-|0.27|valid|descripción: A K1"_s);
        // Both pumps witness the pump, the second with half its weight.
        QCOMPARE(f.suggest(u"Z"_s, u"bombas centrífugas"_s).value(0),
                 Pump + u"||0.28|valid|descripción: B K2"_s);
    }

    /** With nothing in the catalogs, the nomenclator's descriptions speak. */
    void nomenclatorWords()
    {
        Fixture f(u""_s);
        QCOMPARE(f.suggest(u"NEW-1"_s, u"tornillos"_s),
                 QStringList{Screw + u"||0.10|valid|nomenclador: Tornillos de acero"_s});
        QCOMPARE(
            f.suggest(u"NEW-1"_s, u"rodamiento de bolas"_s),
            QStringList{Bearing + u"||0.10|invalid|nomenclador: Rodamientos radiales de bolas"_s});
    }

    /** A transfer teaches the catalog: the next suggestion of the session knows its articles. */
    void transferRefreshesTheCatalogs()
    {
        WorkHome home([](TestHome& fresh) {
            fresh.load(u"transfer/interno.work.sql"_s);
            fresh.load(u"transfer/interno.declaration.sql"_s);
            fresh.setSetting(u"INTCAT"_s, u"CAT1"_s);
        });
        QCOMPARE(home.ws.catalogArticles().sameNumber(u"A-1"_s).size(), size_t(1));
        QCOMPARE(FRM3_Tranferir(home.ws, u"100"_s), TransferOutcome::Transferred);
        QCOMPARE(home.ws.catalogArticles().sameNumber(u"A-1"_s).size(), size_t(2));
    }

    /**
     * F7 in the record editor: Escape changes nothing; Enter takes the suggestion's position
     * and suffixes and confirms them as Enter on the position does, the suggestion's values
     * offered in every suffix question.
     */
    void editorTakesASuggestion()
    {
        QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
        ReviewHome::Fixture f;
        f.home.runDeclarationSql(
            entry(u"A"_s, u"N-2"_s, u"NUEVO"_s, u"8482.10.10.000B"_s, u"AB02-ZA(202001)-"_s));
        frmModificar editor(f.ws, u"100"_s, 1);
        editor.show();
        QVERIFY(QTest::qWaitForWindowActive(&editor));
        auto* position = control<QLineEdit>(&editor, "txtPRCNCM");
        auto* suffixes = control<QPlainTextEdit>(&editor, "txtPRCSUF");
        const QString before = position->text();
        QVERIFY(withModal([] { press(Qt::Key_F7); },
                          [](QWidget* window) {
                              QCOMPARE(window->windowTitle(), u"Sugerencias"_s);
                              press(Qt::Key_Escape);
                              QVERIFY(!window->isVisible());
                          }));
        QCOMPARE(position->text(), before);
        QCOMPARE(suffixes->toPlainText(), QString());
        QTRY_COMPARE(QApplication::focusWidget(), position);

        f.dialogs.optionAnswers << u"AB02 - Modelo dos"_s;
        f.dialogs.textAnswers << u"202001"_s;
        QVERIFY(withModal([] { press(Qt::Key_F7); },
                          [](QWidget* window) {
                              QCOMPARE(control<QLineEdit>(window, "txtArticle")->text(),
                                       u"N-1  NUEVO"_s);
                              auto* list = control<QTreeWidget>(window, "lstSuggestions");
                              QCOMPARE(list->topLevelItemCount(), 1);
                              const QTreeWidgetItem* first = list->topLevelItem(0);
                              QCOMPARE((QStringList{first->text(0), first->text(1), first->text(2),
                                                    first->text(3)}),
                                       (QStringList{u"8482.10.10.000B"_s, u"RODAMIENTOS"_s,
                                                    u"0,35"_s, u"descripción: A N-2"_s}));
                              press(Qt::Key_Return);
                              QVERIFY(!window->isVisible());
                          }));
        QCOMPARE(position->text(), u"8482.10.10.000B"_s);
        QCOMPARE(suffixes->toPlainText(), u"AB02-ZA(202001)-"_s);
        QCOMPARE(f.dialogs.choices.value(0).filter(u">"_s), QStringList{u">AB02 - Modelo dos"_s});
        QCOMPARE(f.dialogs.inputs, QStringList{u"Ingrese Valor|Indique el año|202001"_s});
        QCOMPARE(control<QLabel>(&editor, "lbPRCEUN")->text(), u"Unidad Estadistica [07]"_s);
        QLocale::setDefault(QLocale::c());
    }

    /** The results list's column: the first suggestion of each row without a state. */
    void resultsListColumn()
    {
        ReviewHome::Fixture f;
        f.home.runDeclarationSql(
            entry(u"A"_s, u"N-2"_s, u"NUEVO"_s, u"8482.10.10.000B"_s, u"AB02-ZA(202001)-"_s) +
            entry(u"A"_s, u"S-9"_s, u"SUFIJOS"_s, Screw, u""_s));
        frmDEP window(f.ws, u"100"_s, ArticleTableModel::List::WithErrors);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QAbstractItemModel* model = control<QTableView>(&window, "lstDEP")->model();
        const int column = model->columnCount() - 1;
        QCOMPARE(model->headerData(column, Qt::Horizontal).toString(), u"Sugerencia"_s);
        QCOMPARE(model->index(0, 1).data().toString(), u"N-1"_s);
        QTRY_COMPARE(model->index(0, column).data().toString(), u"8482.10.10.000B"_s);
        // Line 4 has a state: no suggestion, though its description has one.
        QCOMPARE(model->index(2, 1).data().toString(), u"S-4"_s);
        QCOMPARE(model->index(2, column).data().toString(), QString());
    }

    /** The neighbour's suffixes for a new article: its own number rewritten, all else kept. */
    void suffixTemplate_data()
    {
        QTest::addColumn<QString>("suffixes");
        QTest::addColumn<QString>("neighbour");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("expected");
        QTest::newRow("as written")
            << u"AB(6204-2RS)-"_s << u"6204-2RS"_s << u"6205-2RS"_s << u"AB(6205-2RS)-"_s;
        QTest::newRow("blanks for separators")
            << u"AA(ROLTEC)-AB(6204 2RS)-BA03-ZB(202309)-"_s << u"6204-2RS"_s << u"6205-ZZ"_s
            << u"AA(ROLTEC)-AB(6205 ZZ)-BA03-ZB(202309)-"_s;
        QTest::newRow("without separators") << u"AA(AQUA)-AB(HBV050SS)-BC01-"_s << u"HBV-050-SS"_s
                                            << u"HBV-075-SS"_s << u"AA(AQUA)-AB(HBV075SS)-BC01-"_s;
        QTest::newRow("other values kept") << u"AA(6204)-AB(MODELO 6204 2RS)-"_s << u"6204-2RS"_s
                                           << u"6205-2RS"_s << u"AA(6204)-AB(MODELO 6204 2RS)-"_s;
        QTest::newRow("cut to twenty") << u"AB(P 1)-"_s << u"P-1"_s << u"P-123456789012345678901"_s
                                       << u"AB(P 123456789012345678)-"_s;
        QTest::newRow("no suffixes")
            << u"SIN SUFIJOS"_s << u"A-1"_s << u"A-2"_s << u"SIN SUFIJOS"_s;
        QTest::newRow("value never closed")
            << u"AB(6204 2RS"_s << u"6204-2RS"_s << u"6205-2RS"_s << u"AB(6204 2RS"_s;
    }
    void suffixTemplate()
    {
        QFETCH(QString, suffixes);
        QFETCH(QString, neighbour);
        QFETCH(QString, number);
        QFETCH(QString, expected);
        QCOMPARE(ArticleSuggestions::suffixTemplate(suffixes, neighbour, number), expected);
    }
};

QTEST_MAIN(TestArticleSuggestions)
#include "tst_articlesuggestions.moc"
