// SPDX-License-Identifier: Apache-2.0
#include "data/ArticleStore.h"
#include "review/ArticleTableModel.h"
#include "support/WorkHome.h"

#include <QColor>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

/** Interno 100 with a row in every state, out of order; interno 200 with one clean row. */
struct Rows : WorkHome {
    Rows()
        : WorkHome({u"review/table.work.sql"_s})
    {}

    /** Line, state and the colour of each row of a list. */
    QStringList list(ArticleTableModel::List which)
    {
        ArticleStore store(ws.work());
        ArticleTableModel model;
        model.load(store, u"100"_s, which);
        QStringList lines;
        for (int row = 0; row < model.rowCount(); ++row) {
            const QVariant colour = model.index(row, 4).data(Qt::ForegroundRole);
            lines << model.index(row, 0).data().toString() + u' ' +
                         model.index(row, 8).data().toString() + u' ' +
                         (colour.isValid() ? colour.value<QColor>().name() : u"default"_s);
        }
        return lines;
    }
};

} // namespace

class TestArticleTableModel : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void listsOrderFilterAndColourTheRows()
    {
        QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
        Rows rows;
        // By state, check code and line: not classified first (NULL, then empty: dark red), the
        // rejected ones after (navy); the clean list by line, corrected rows in teal.
        QCOMPARE(rows.list(ArticleTableModel::List::WithErrors),
                 QStringList({u"0007  #800000"_s, u"0004  #800000"_s, u"0005 E #000080"_s,
                              u"0002 E #000080"_s}));
        QCOMPARE(rows.list(ArticleTableModel::List::Clean),
                 QStringList({u"0001 A default"_s, u"0003 M #008080"_s}));

        // The six counters agree with the lists.
        ArticleStore store(rows.ws.work());
        const ArticleCounters c = store.counters(u"100"_s);
        QCOMPARE(QList<qint64>(
                     {c.total, c.enCatalogo, c.nuevos, c.conErrores, c.errPosicion, c.errSufijos}),
                 QList<qint64>({6, 1, 2, 2, 1, 1}));

        // A NULL description is an empty cell; numbers in their general form, decimal comma,
        // no thousands separator.
        ArticleTableModel model;
        model.load(store, u"100"_s, ArticleTableModel::List::WithErrors);
        QStringList cells;
        for (int column = 0; column < model.columnCount(); ++column)
            cells << model.index(0, column).data().toString();
        QCOMPARE(cells.join(u'|'), u"0007|N-7|||2,5|0,125|1234567,89|||"_s);
        QLocale::setDefault(QLocale::c());
    }

    void savingMarksTheRowCorrected()
    {
        Rows rows;
        ArticleStore store(rows.ws.work());
        const std::optional<Article> loaded = store.row(u"100"_s, 7);
        QVERIFY(loaded);
        QVERIFY(loaded->description.isNull() && loaded->position.isNull());
        std::optional<Article> row = loaded;
        row->position = u"8482.10.10.000B"_s;
        row->specificDutyUnit = u"01"_s;
        row->specificDutyQuantity = 4;
        row->statisticalQuantity = 2.5;
        QCOMPARE(store.saveCorrected(*loaded, *row, false), 1);
        const Article saved = *store.row(u"100"_s, 7);
        QCOMPARE(saved.state + saved.check, u"MOK"_s);
        QCOMPARE(saved.position, u"8482.10.10.000B"_s);
        QCOMPARE(saved.statisticalQuantity, std::optional<double>(2.5));
        // Without the specific duty its columns stay as they were.
        QVERIFY(saved.specificDutyUnit.isNull() && !saved.specificDutyQuantity);
        QCOMPARE(store.saveCorrected(saved, *row, true), 1);
        QCOMPARE(store.row(u"100"_s, 7)->specificDutyQuantity, std::optional<double>(4));

        // Another interno's row of the same line is untouched; a missing line saves nothing.
        QCOMPARE(store.row(u"200"_s, 1)->state, u"A"_s);
        row->line = 99;
        QCOMPARE(store.saveCorrected(*row, *row, true), 0);
    }
};

QTEST_GUILESS_MAIN(TestArticleTableModel)
#include "tst_articletablemodel.moc"
