// SPDX-License-Identifier: Apache-2.0
#include "review/PositionSearch.h"
#include "support/Golden.h"
#include "support/WorkHome.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

/** Bearings under 8482, a bearing housing, two 8471 (review/search.nomenclator.sql). */
struct Fixture : WorkHome {
    PositionSearch search{ws};

    Fixture()
        : WorkHome({u"review/search.nomenclator.sql"_s})
    {}
};

} // namespace

class TestPositionSearch : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // review/position-search.txt: each search, the lines found and the messages it showed.
    // By number each dot stands for any run of characters; a blank text does nothing; texts
    // that would be wildcards or SQL if joined in find nothing. By words, case and accents are
    // ignored, every word must appear, a word matches the words it begins, and the words of
    // the position's own text ([010]) come before those of the heading's ([004]).
    void searchByNumberAndByWords()
    {
        Fixture f;
        QString report;
        const auto show = [&](const char* kind, const QString& text,
                              const QList<PositionLine>& lines) {
            report += QLatin1String(kind) + u" \""_s + text + u"\":"_s;
            for (const PositionLine& line : lines)
                report += u' ' + line.position + u'=' + line.description;
            report += u'\n' + f.dialogs.journal.join(u'\n') + u'\n';
            f.dialogs.journal.clear();
        };
        for (const QString& text : {u"8482"_s, u"8471.30"_s, u"   "_s, u"9999"_s, u"84%"_s,
                                    u"8_82"_s, u"' or ''='"_s, u"84!%"_s})
            show("number", text, f.search.search(text));
        for (const QString& text :
             {u"RODAMIENTO Bolás"_s, u"conicos"_s, u"ARBOL transmision"_s, u"rodillo"_s,
              u"portatiles"_s, u" ,. "_s, u"rodamientos tornillo"_s})
            show("words", text, f.search.findWords(text));
        COMPARE_GOLDEN(report.toUtf8(), u"review/position-search.txt"_s);
        QCOMPARE(f.progress.busyDepth, 0);
        QCOMPARE(f.ws.positionWords().find(u"rodamientos"_s, 2).size(), 2);
        QCOMPARE(PositionWordIndex::words(u"Ñandú-(ÁRBOL) 50mm"_s),
                 QStringList({u"nandu"_s, u"arbol"_s, u"50mm"_s}));
    }

    void detailsShowTheSuffixesOfEveryLevel()
    {
        Fixture f;
        const PositionDetailsView view = f.search.MostrarDatos(u"8482.10.10.000M"_s);
        QVERIFY(view.position);
        QCOMPARE(
            PositionSearch::descriptionText(*view.position),
            u"Rodamientos radiales de bolas\n\nRodamientos de bolas, de rodillos o de agujas"_s);
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
};

QTEST_GUILESS_MAIN(TestPositionSearch)
#include "tst_positionsearch.moc"
