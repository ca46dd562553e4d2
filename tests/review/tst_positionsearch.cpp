#include "review/PositionSearch.h"
#include "support/ScriptedDialogs.h"
#include "support/TestHome.h"
#include "workspace/Workspace.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString Heading = u"Rodamientos de bolas, de rodillos o de agujas"_s;

/** Bearings under 8482 (one with a suffix under each level key), a bearing housing, two 8471. */
const QString Nomenclator =
    u"insert into ncm values ('8482.10.10', '000', 'M', '%1', 'Rodamientos radiales de bolas', "
    "'07', '', '', '*');\n"
    "insert into ncm values ('8482.10.90', '000', 'M', '%1', 'Los demás rodamientos de bolas', "
    "'07', '', '', '');\n"
    "insert into ncm values ('8482.20.10', '000', 'V', '%1', 'Rodamientos de rodillos cónicos', "
    "'07', '', '', '');\n"
    "insert into ncm values ('8483.30.90', '000', 'I', 'Árboles de transmisión', "
    "'Cajas de cojinetes sin rodamientos incorporados', '07', '', '', '');\n"
    "insert into ncm values ('8471.30.12', '000', 'X', 'Máquinas', 'Portátiles', '07', '', '', "
    "'');\n"
    "insert into ncm values ('8471.41.30', '000', 'Y', 'Máquinas', 'Las demás', '07', '', '', "
    "'');\n"
    "insert into sufidos values ('8482.10.10.000', 'DDDDD', 'Cinco');\n"
    "insert into sufidos values ('8482.10.  .   ', 'CC', ' Indique la norma ');\n"
    "insert into sufidos values ('8482.  .  .   ', 'BA01', 'Abierto');\n"
    "insert into sufidos values ('84  .  .  .   ', 'AA', 'Indique la marca');\n"
    "insert into sufidos values ('8483.  .  .   ', 'EE', 'Otra partida');\n"_s.arg(Heading);

struct Fixture {
    TestHome home;
    ScriptedDialogs dialogs;
    RecordingProgress progress;
    Workspace ws{home.path(), dialogs, progress};
    PositionSearch search{ws};

    Fixture()
    {
        home.createDatabases();
        home.runNomenclatorSql(Nomenclator);
        ws.open();
    }
};

QStringList positions(const QList<PositionLine>& lines)
{
    QStringList shown;
    for (const PositionLine& line : lines)
        shown << line.position;
    return shown;
}

} // namespace

class TestPositionSearch : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void searchByNumber()
    {
        Fixture f;
        QCOMPARE(positions(f.search.search(u"8482"_s)),
                 QStringList({u"8482.10.10.000M"_s, u"8482.10.90.000M"_s, u"8482.20.10.000V"_s}));
        // Each dot stands for any run of characters.
        QCOMPARE(positions(f.search.search(u"8471.30"_s)),
                 QStringList({u"8471.30.12.000X"_s, u"8471.41.30.000Y"_s}));
        QVERIFY(f.dialogs.messages.isEmpty());
        QCOMPARE(f.progress.busyDepth, 0);

        QVERIFY(f.search.search(u"   "_s).isEmpty()); // a blank text does nothing
        QVERIFY(f.dialogs.messages.isEmpty());

        // Nothing found, and texts that would be wildcards or SQL if joined in, find nothing.
        for (const QString& text : {u"9999"_s, u"84%"_s, u"8_82"_s, u"' or ''='"_s, u"84!%"_s}) {
            QVERIFY2(f.search.search(text).isEmpty(), qPrintable(text));
            QCOMPARE(f.dialogs.messages.last().icon, MessageIcon::Exclamation);
            QCOMPARE(f.dialogs.messages.last().text, u"Posición no encontrada."_s);
        }
        QCOMPARE(f.dialogs.messages.size(), 5);
    }

    void detailsShowTheSuffixesOfEveryLevel()
    {
        Fixture f;
        const PositionDetailsView view = f.search.MostrarDatos(u"8482.10.10.000M"_s);
        QVERIFY(view.position);
        QCOMPARE(PositionSearch::descriptionText(*view.position),
                 u"Rodamientos radiales de bolas\n\n"_s + Heading);
        QCOMPARE(view.position->statisticalUnit + view.position->lapi, u"07*"_s);
        QStringList lines;
        for (const SuffixCode& suffix : view.suffixes)
            lines << PositionSearch::suffixLine(suffix);
        QCOMPARE(lines, QStringList({u"AA   Indique la marca"_s, u"BA01 Abierto"_s,
                                     u"CC   Indique la norma"_s, u"DDDDDCinco"_s}));

        // A sister opening shares the upper levels only; an unknown position has no row.
        const PositionDetailsView sister = f.search.MostrarDatos(u"8482.10.90.000M"_s);
        QCOMPARE(sister.suffixes.size(), 3);
        const PositionDetailsView unknown = f.search.MostrarDatos(u"8482.99.99.999Z"_s);
        QVERIFY(!unknown.position);
        QCOMPARE(unknown.suffixes.size(), 2);
        QVERIFY(f.dialogs.messages.isEmpty());
        QCOMPARE(f.progress.busyDepth, 0);
    }

    void searchByWords()
    {
        Fixture f;
        // Case and accents ignored; every word must appear; a word matches the words it begins.
        QCOMPARE(positions(f.search.findWords(u"RODAMIENTO Bolás"_s)),
                 QStringList({u"8482.10.10.000M"_s, u"8482.10.90.000M"_s, u"8482.20.10.000V"_s}));
        QCOMPARE(positions(f.search.findWords(u"conicos"_s)), QStringList({u"8482.20.10.000V"_s}));
        QCOMPARE(positions(f.search.findWords(u"ARBOL transmision"_s)),
                 QStringList({u"8483.30.90.000I"_s}));
        // Words of the position's own text ([010]) before those of the heading's ([004]).
        QCOMPARE(positions(f.search.findWords(u"rodillo"_s)),
                 QStringList({u"8482.20.10.000V"_s, u"8482.10.10.000M"_s, u"8482.10.90.000M"_s}));
        QCOMPARE(f.search.findWords(u"portatiles"_s).first().description, u"Portátiles"_s);
        QVERIFY(f.dialogs.messages.isEmpty());

        QVERIFY(f.search.findWords(u" ,. "_s).isEmpty());
        QVERIFY(f.dialogs.messages.isEmpty());
        QVERIFY(f.search.findWords(u"rodamientos tornillo"_s).isEmpty());
        QCOMPARE(f.dialogs.messages.last().text, u"Posición no encontrada."_s);

        QCOMPARE(f.ws.positionWords().find(u"rodamientos"_s, 2).size(), 2);
        QCOMPARE(PositionWordIndex::words(u"Ñandú-(ÁRBOL) 50mm"_s),
                 QStringList({u"nandu"_s, u"arbol"_s, u"50mm"_s}));
    }
};

QTEST_GUILESS_MAIN(TestPositionSearch)
#include "tst_positionsearch.moc"
