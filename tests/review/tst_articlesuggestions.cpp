// SPDX-License-Identifier: Apache-2.0
#include "ReviewHome.h"

#include "review/ArticleSuggestions.h"
#include "review/frmDEP.h"
#include "review/frmModificar.h"
#include "support/Golden.h"
#include "support/Modal.h"
#include "support/WorkHome.h"
#include "transfer/Transfer.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

#include <memory>
#include <utility>

using namespace Qt::StringLiterals;

class TestArticleSuggestions : public QObject {
    Q_OBJECT

private Q_SLOTS:
    /**
     * Each query on its catalogs (tests/fixtures/review/suggest-*.declaration.sql) with the
     * suggestions it gets, against review/suggestions.txt: the same number elsewhere (a blank
     * number meets nothing, a position outside the nomenclator is never offered), families of
     * numbers with the neighbour's model rewritten, descriptions, the nomenclator's words (an
     * English description through the trade glossary, taking the suffixes of a catalog article
     * of the position; a row's words counting for the rows below it, which alone are offered).
     */
    void suggestions()
    {
        const QList<QStringList> queries = {
            {u"number"_s, u"x-77 "_s, u"nada"_s},
            {u"number"_s, u"Q-1"_s, u""_s},
            {u"number"_s, u" "_s, u"nada"_s},
            {u"family"_s, u"6205-2RS"_s, u""_s},
            {u"family"_s, u"BRG-6006-ZZ"_s, u""_s},
            {u"family"_s, u"6204-ZZ"_s, u""_s},
            {u"family"_s, u"900111"_s, u""_s},
            {u"family"_s, u"100299"_s, u""_s},
            {u"words"_s, u"Z"_s, u"acero válvulas esféricas"_s},
            {u"words"_s, u"Z"_s, u"bombas centrífugas"_s},
            {u"words"_s, u"Z"_s, u"BALL VALVE"_s},
            {u"empty"_s, u"NEW-1"_s, u"tornillos"_s},
            {u"empty"_s, u"NEW-1"_s, u"rodamiento de bolas"_s},
            {u"empty"_s, u"NEW-2"_s, u"BALL BEARING 6204-2RS SEALED"_s},
            {u"empty"_s, u"NEW-3"_s, u"TAPERED ROLLER BEARINGS 30205"_s},
        };
        QString text;
        QString catalogs;
        std::unique_ptr<WorkHome> f; // one home per catalogs, the queries in their order
        for (const QStringList& query : queries) {
            if (std::exchange(catalogs, query[0]) != query[0])
                f = std::make_unique<WorkHome>(
                    QStringList{u"review/suggest.nomenclator.sql"_s,
                                u"review/suggest-%1.declaration.sql"_s.arg(query[0])});
            text += u"> "_s + query.join(u'|') + u'\n';
            for (const ArticleSuggestion& s : ArticleSuggestions(f->ws).suggest(query[1], query[2]))
                text += QStringList{s.position, s.suffixes, QString::number(s.score, 'f', 2),
                                    s.suffixesValid ? u"valid"_s : u"invalid"_s, s.basis}
                            .join(u'|') +
                        u'\n';
        }
        COMPARE_GOLDEN(text.toUtf8(), u"review/suggestions.txt"_s);
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
        f.home.load(u"review/suggest-review.declaration.sql"_s);
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
                                                    u"0,32"_s, u"descripción: A N-2"_s}));
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
        f.home.load(u"review/suggest-review.declaration.sql"_s);
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

    /**
     * The neighbour's suffixes for a new article: its own number rewritten, all else kept.
     * The cases, one a line, in review/suffix-templates.tsv.
     */
    void suffixTemplate()
    {
        const QStringList lines =
            TestHome::testData(u"review/suffix-templates.tsv"_s).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 8);
        for (const QString& line : lines.mid(1)) {
            const QStringList c = line.split(u'\t');
            QVERIFY2(ArticleSuggestions::suffixTemplate(c[1], c[2], c[3]) == c[4],
                     qPrintable(c[0]));
        }
    }
};

QTEST_MAIN(TestArticleSuggestions)
#include "tst_articlesuggestions.moc"
