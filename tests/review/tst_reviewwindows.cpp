// SPDX-License-Identifier: Apache-2.0
#include "components/TestSeam.h"
#include "controls/ClCntrl.h"
#include "data/ArticleStore.h"
#include "data/HistoryStore.h"
#include "review/ArticleSuggestions.h"
#include "review/FrmCargaSufijos.h"
#include "review/RecordEditor.h"
#include "review/ReviewData.h"
#include "review/ReviewWindows.h"
#include "review/frmDEP.h"
#include "review/frmModificar.h"
#include "support/Golden.h"
#include "support/Modal.h"
#include "support/WorkHome.h"
#include "transfer/Transfer.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QSet>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <functional>
#include <memory>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

/**
 * A home with review/editor.nomenclator.sql and .work.sql, a workspace opened on it and an
 * editor.
 */
struct Fixture : WorkHome {
    RecordEditor editor{ws};

    Fixture()
        : WorkHome({u"review/editor.nomenclator.sql"_s, u"review/editor.work.sql"_s})
    {}

    Article row(qint64 line) { return *ArticleStore(ws.work()).row(u"100"_s, line); }

    QString log;
    /** Adds to the log what happened, the control with the focus and the dialogs shown since. */
    void note(const QString& what)
    {
        log += what + u" | focus "_s + focusName() + u'\n' + dialogs.takeJournal();
    }
};

/** The field a screen reader names so; the test stops when there is none. */
QWidget* field(QWidget* window, const QString& name)
{
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        const QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        if (widget->isVisible() && widget->focusPolicy() != Qt::NoFocus && accessible &&
            accessible->text(QAccessible::Name) == name)
            return widget;
    }
    qFatal("no field named %s", qPrintable(name));
}

/** Clicks into the text box and types the text over all it held. */
void retype(QWidget* box, const QString& text)
{
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

/** The history of the line of interno 100: "front end FIELD: old -> new", NULL as "~". */
QStringList historyOf(Fixture& f, qint64 line)
{
    QStringList entries;
    for (const HistoryEntry& e :
         HistoryStore(f.ws.work(), f.ws.historyAuthor()).entries(u"100"_s, line)) {
        const auto shown = [](const QString& value) {
            return value.isNull() ? u"~"_s : value;
        };
        entries << e.frontEnd + u' ' + e.action + u' ' + e.field + u": "_s + shown(e.oldValue) +
                       u" -> "_s + shown(e.newValue);
    }
    return entries;
}

/** The line's stored values, NULL as "~", then its history: what a golden file holds. */
QString savedLine(Fixture& f, qint64 line)
{
    QStringList values;
    for (const QVariant& value : f.row(line).values())
        values << (value.isNull() ? u"~"_s : value.toString());
    return values.join(u'|') + u'\n' + historyOf(f, line).join(u'\n') + u'\n';
}

/** The lines of the results list, as shown in their first column. */
QString lines(QTableView* list)
{
    QStringList shown;
    for (int row = 0; row < list->model()->rowCount(); ++row)
        shown << list->model()->index(row, 0).data().toString();
    return shown.join(u' ');
}

/** A double click as the window system delivers it: a click, then the second press as a
 *  double click, then its release. */
void doubleClick(QWidget* widget, const QPoint& at)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
}

/** The pointer moved over the widget with no button pressed. */
void hover(QWidget* widget, const QPoint& at)
{
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

/** Clicks the menu's action, once the menu shows. */
void click(QMenu* menu, const char* action)
{
    QTRY_VERIFY(menu->isVisible());
    QTest::mouseClick(
        menu, Qt::LeftButton, {},
        menu->actionGeometry(menu->findChild<QAction*>(QLatin1String(action))).center());
}

} // namespace

/** The review windows as the operator works them, and the rules behind the record editor. */
class TestReviewWindows : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina)); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    // review/suffix-dialogue.txt: each run (position, previous suffixes -> result), then the
    // dialogs it showed. Groups in code order, the previous option preselected; a decimal
    // refused, a number padded to six digits and cut to six; an empty answer asks whether to
    // cancel (No by default), Yes keeps nothing of the run; leaving the chooser gives up the
    // run; text codes and codes of neither kind take a cleaned text. Then each position
    // confirmed in the editor: wrong structures and unknown positions refused, the fields left
    // alone; commas read as points, unit 7 shown as 07, the LAPI mark (or "N"), the suffixes
    // asked again; giving them up empties them and keeps the unit.
    void suffixDialogueAndPositionCheck()
    {
        Fixture f;
        f.dialogs.optionAnswers << u"AB02 - Modelo dos"_s << u"AB00 - Ninguna opción"_s
                                << u"AB01 - Modelo uno"_s << std::nullopt << u"AB01 - Modelo uno"_s;
        f.dialogs.textAnswers << u"12.5"_s << u"150"_s << u"1234567"_s << std::nullopt << u""_s
                              << u"(Marca-x)"_s << u"iso 4017 & más letras de veinte"_s
                              << u"201901"_s << u""_s;
        f.dialogs.questionAnswers << false << true << true;
        const QString bearing = u"8482.10.10.000B"_s;
        QString report;
        for (const auto& [position, previous] : {std::pair{bearing, u"ZA(000150)-AB02-"_s},
                                                 {bearing, u"AA(AB01)-"_s},
                                                 {bearing, QString()},
                                                 {bearing, QString()},
                                                 {u"7318.15.00.200D"_s, u"QX(OLD)-"_s},
                                                 {u"3926.90.90.990E"_s, u"X-"_s}}) {
            const QString result = f.editor.VerificarSufijos(position, previous);
            report +=
                position + u' ' + previous + u" -> "_s + result + u'\n' + f.dialogs.takeJournal();
        }
        QVERIFY(f.editor.CargarDatos(u"100"_s, 1));
        EditorFields& fields = f.editor.fields();
        fields.suffixes = u"ANTES-"_s;
        for (const QString& position :
             {u"8482.10.10"_s, u"8482.10.10.000BB"_s, u"8482.10.10.000C"_s, u"8482,10,10,000B"_s,
              u"7318.15.00.200D"_s}) {
            const bool confirmed = f.editor.ProcesarNCM(position);
            report += position + (confirmed ? u" confirmed: "_s : u" refused: "_s) +
                      QStringList{fields.statisticalUnit, fields.statisticalUnitCaption,
                                  fields.lapi, fields.positionDescription, fields.suffixes}
                          .join(u'|') +
                      u'\n' + f.dialogs.takeJournal();
        }
        COMPARE_GOLDEN(report.toUtf8(), u"review/suffix-dialogue.txt"_s);
        QCOMPARE(f.progress.busyDepth, 0);
    }

    // review/rules-saved.txt: the values loaded (XX is no country of the list: -1), then each
    // save with what it told, the rules in their order. Declared in the statistical unit, a
    // quantity must be the invoice's and zero takes it; a position changed since it was
    // confirmed is confirmed again first. In other units the quantities are not compared;
    // values are stored as typed, the hidden specific-duty quantity not written. A row gone
    // meanwhile is not saved.
    void rulesInOrderThenSave()
    {
        Fixture f;
        QVERIFY(f.editor.CargarDatos(u"100"_s, 1));
        EditorFields& fields = f.editor.fields();
        QString log = QStringList{fields.quantity,
                                  fields.unitPrice,
                                  fields.total,
                                  fields.statisticalQuantity,
                                  fields.specificDutyQuantity,
                                  QString::number(fields.country)}
                          .join(u'|') +
                      u'\n';
        const auto save = [&](const QString& change) {
            log += u"> "_s + change + u'\n' + f.dialogs.takeJournal();
            log += f.editor.GrabarDatos() ? u"saved\n"_s : f.dialogs.takeJournal();
        };
        save(u"nothing"_s);
        fields.position = u"3926.90.90.990E"_s;
        QVERIFY(f.editor.ProcesarNCM(fields.position, RecordEditor::SuffixEntry::Keep));
        fields.declaredUnit = u"  "_s;
        save(u"position, blank declared unit"_s);
        fields.declaredUnit = u"05"_s;
        fields.statisticalQuantity = u"10"_s;
        save(u"unit 05, quantity 10"_s);
        fields.statisticalQuantity = u"0"_s;
        fields.goodsCondition = u"A1"_s;
        save(u"quantity 0, condition A1"_s);
        fields.goodsCondition = u" 2 "_s;
        save(u"quantity now "_s + fields.statisticalQuantity + u", condition ' 2 '"_s);
        fields.country = 0;
        fields.suffixes = u"AA(X)-"_s;
        save(u"country, suffixes AA(X)-"_s);
        fields.suffixes = u"SIN SUFIJOS"_s;
        fields.position = u"3926.90.90.990X"_s;
        save(u"position changed"_s);
        QCOMPARE(f.editor.refusedField(), RecordEditor::Field::Position);
        QVERIFY(f.row(1).state.isNull());
        fields.position = u"3926.90.90.990E"_s;
        fields.declaredUnit = u"U'1"_s;
        fields.statisticalQuantity = u"3,25"_s;
        fields.specificDutyQuantity = u"9"_s;
        save(u"unit U'1, quantity 3,25, specific duty 9"_s);
        log += savedLine(f, 1);
        f.home.runWorkSql(u"delete from ART where ARTORD = 1;\n"_s);
        save(u"row deleted"_s);
        COMPARE_GOLDEN(log.toUtf8(), u"review/rules-saved.txt"_s);
    }

    // review/clean-row-saved.txt: a clean row keeps its confirmation and specific duty; a
    // failure between the row's update and its history entries leaves neither; saved, one
    // history entry per column changed, the state the save sets among them. Two edits of the
    // row at once, each of its own field: the later save is refused and loads the row again,
    // so that both changes end up stored. A confirmed position the nomenclator no longer has
    // is refused.
    void cleanRowAndConcurrentEdits()
    {
        Fixture f;
        QVERIFY(!f.editor.CargarDatos(u"100"_s, 9));
        QString log = f.editor.fields().position + u'\n';
        QVERIFY(f.editor.CargarDatos(u"100"_s, 2));
        EditorFields& fields = f.editor.fields();
        log += QStringList{fields.statisticalUnit,         fields.lapi,
                           fields.specificDutyCaption,     fields.specificDutyQuantity,
                           fields.positionDescription,     f.editor.countries().names.join(u','),
                           QString::number(fields.country)}
                   .join(u'|') +
               u'\n';
        const auto save = [&](const QString& change) {
            log += u"> "_s + change + u'\n';
            log += f.editor.GrabarDatos() ? u"saved\n"_s : f.dialogs.takeJournal();
        };
        fields.specificDutyQuantity = u"3,5"_s;
        const QVariantList loaded = f.row(2).values();
        TestSeam::setHook([](std::string_view point) {
            if (point == "edit:saved")
                throw AppError(9, u"fallo tras grabar"_s);
        });
        save(u"specific duty 3,5, failing after the row"_s);
        TestSeam::setHook({});
        QCOMPARE(f.row(2).values(), loaded);
        QVERIFY(historyOf(f, 2).isEmpty());
        save(u"again"_s);
        log += savedLine(f, 2);

        RecordEditor other(f.ws);
        QVERIFY(f.editor.CargarDatos(u"100"_s, 2) && other.CargarDatos(u"100"_s, 2));
        other.fields().goodsCondition = u"3"_s;
        QVERIFY(other.GrabarDatos());
        fields.specificDutyQuantity = u"2,5"_s;
        save(u"specific duty 2,5 after another edit saved condition 3"_s);
        log += u"reloaded: "_s + fields.goodsCondition + u'|' + fields.specificDutyQuantity + u'\n';
        fields.specificDutyQuantity = u"2,5"_s;
        save(u"specific duty 2,5"_s);
        log += savedLine(f, 2);
        QVERIFY(f.editor.CargarDatos(u"100"_s, 2));
        f.home.runNomenclatorSql(u"delete from ncm where [001] = '3926.90.90';\n"_s);
        save(u"position gone from the nomenclator"_s);
        COMPARE_GOLDEN(log.toUtf8(), u"review/clean-row-saved.txt"_s);
    }

    // review/editor-window-saved.txt: line 3 with its invoice origin offered as its country,
    // the read-only boxes showing the start of their text, a position not found keeping the
    // focus (F6 searches from there). Line 2, changed underneath while open: F11 says so and
    // shows the row as stored. What is no number is refused with the field's message, the
    // operator put back on it, away from it as he was. A position typed with commas and saved
    // without Enter is confirmed first: its suffixes asked, its unit and LAPI mark taken. The
    // save is recorded by column, the refused ones left no entry; F8 lists those entries.
    void editorWindowFromTheKeyboard()
    {
        Fixture f;
        {
            frmModificar editor(f.ws, u"100"_s, 3);
            editor.show();
            QVERIFY(QTest::qWaitForWindowActive(&editor));
            QString cursors;
            for (const char* name : {"txtARTNRO", "txtARTDSC", "txtARTCAN", "txtARTTOT"})
                cursors += QString::number(control<QLineEdit>(&editor, name)->cursorPosition());
            f.note(u"line 3: "_s + control<QComboBox>(&editor, "cboPRCORI")->currentText() +
                   u", cursors "_s + cursors);
            press(Qt::Key_Return);
            f.note(u"Enter"_s);
            QVERIFY(withModal([] { press(Qt::Key_F6); }, [](QWidget*) { press(Qt::Key_Escape); }));
        }
        frmModificar editor(f.ws, u"100"_s, 2);
        editor.show();
        QVERIFY(QTest::qWaitForWindowActive(&editor));
        f.home.runWorkSql(u"update ART set PRCDUN = '07' where ARTORD = 2;\n"_s);
        retype(field(&editor, u"Estado Mercaderia"_s), u"2"_s);
        press(Qt::Key_F11);
        f.note(u"changed underneath, F11: shown "_s +
               control<QLineEdit>(&editor, "txtPRCDUN")->text() + u'|' +
               control<QLineEdit>(&editor, "txtPRCESM")->text());
        const QVariantList stored = f.row(2).values();
        for (const auto& [caption, typed] : {std::pair{u"Unidad Estadistica [05]"_s, u"inf"_s},
                                             {u"Unidad Estadistica [05]"_s, QString()},
                                             {u"Derecho Especifico [07]"_s, u"1.5"_s},
                                             {u"Estado Mercaderia"_s, u"NaN"_s}}) {
            QWidget* box = field(&editor, caption);
            const QString before = qobject_cast<QLineEdit*>(box)->text();
            retype(box, typed);
            press(Qt::Key_Up);
            press(Qt::Key_F11);
            f.note(caption + u" '"_s + typed + u"', Up, F11"_s);
            QTest::keyClicks(box, before);
        }
        QCOMPARE(f.row(2).values(), stored);
        retype(field(&editor, u"Derecho Especifico [07]"_s), u"2,5"_s);
        retype(field(&editor, u"Posición"_s), u"7318,15,00,200D"_s);
        f.dialogs.textAnswers << u"acme"_s << u"iso"_s;
        press(Qt::Key_F11);
        QVERIFY(!editor.isVisible());
        f.note(u"position typed with commas, F11"_s);
        COMPARE_GOLDEN((f.log + savedLine(f, 2)).toUtf8(), u"review/editor-window-saved.txt"_s);

        // Opened again, F8 lists those entries, oldest first, with their author and time;
        // Escape closes the list and leaves the editor open.
        frmModificar again(f.ws, u"100"_s, 2);
        again.show();
        QVERIFY(QTest::qWaitForWindowActive(&again));
        QStringList listed;
        QVERIFY(withModal(
            [] { press(Qt::Key_F8); },
            [&](QWidget* window) {
                auto* list = control<QTreeWidget>(window, "lstHistory");
                for (int i = 0; i < list->topLevelItemCount(); ++i) {
                    QStringList item;
                    for (int c = 0; c < list->columnCount(); ++c)
                        item << list->topLevelItem(i)->text(c);
                    QVERIFY(QDateTime::fromString(item.at(0), Qt::ISODate).isValid());
                    QCOMPARE(item.mid(1, 2),
                             (QStringList{f.ws.historyAuthor().user, f.ws.historyAuthor().host}));
                    listed << item.at(3) + u" edit "_s + item.at(4) + u": "_s +
                                  (item.at(5).isEmpty() ? u"~"_s : item.at(5)) + u" -> "_s +
                                  item.at(6);
                }
                press(Qt::Key_Escape);
                QVERIFY(!window->isVisible());
            }));
        QCOMPARE(listed, historyOf(f, 2));
        QVERIFY(again.isVisible());
    }

    // review/list-editor.txt: the results list, then each step of the editor opened from it
    // with Enter (the position marked, confirmed, the hidden specific-duty quantity passed
    // over, the country chosen, F11), the list refilled with the keyboard back on it; Escape
    // leaves the row and the list as they were; a double click (two clicks) opens a line too.
    void listEditorRoundTrip()
    {
        Fixture f;
        frmDEP results(f.ws, u"100"_s, ArticleTableModel::List::WithErrors);
        results.show();
        QVERIFY(QTest::qWaitForWindowActive(&results));
        auto* list = control<QTableView>(&results, "lstDEP");
        f.note(u"lines "_s + lines(list));
        list->setFocus();
        QVERIFY(withModal(
            [] { press(Qt::Key_Return); },
            [&](QWidget* editor) {
                auto* position = control<QLineEdit>(editor, "txtPRCNCM");
                const auto marked = [position] {
                    return position->palette().color(QPalette::Base).name();
                };
                QTRY_COMPARE(position->selectedText(), position->text());
                f.note(u"opened, position "_s + marked());
                QTest::keyClicks(position, u"3926.90.90.990E"_s);
                press(Qt::Key_Return);
                f.note(u"confirmed, position %1, %2, %3, specific duty shown %4"_s
                           .arg(marked(), control<QLabel>(editor, "lbPRCEUN")->text(),
                                control<QLineEdit>(editor, "txtPositionDescription")->text())
                           .arg(control<QLineEdit>(editor, "txtPRCSCA")->isVisible()));
                press(Qt::Key_Down);
                QTest::keyClicks(QApplication::focusWidget(), u"01"_s);
                press(Qt::Key_Return);
                QTest::keyClicks(QApplication::focusWidget(), u"1"_s);
                press(Qt::Key_Up);
                f.note(u"Up"_s);
                press(Qt::Key_Down);
                press(Qt::Key_Return);
                f.note(
                    u"country %1"_s.arg(control<QComboBox>(editor, "cboPRCORI")->currentIndex()));
                press(Qt::Key_Down);
                press(Qt::Key_F11);
                QVERIFY(!editor->isVisible());
            }));
        QTRY_COMPARE(QApplication::focusWidget(), list);
        const Article corrected = f.row(1);
        f.note(u"saved "_s + corrected.state + corrected.check + corrected.declaredUnit +
               corrected.goodsCondition + corrected.country + u", lines "_s + lines(list) +
               u" current %1"_s.arg(list->currentIndex().row()));

        const QVariantList stored = f.row(3).values();
        QVERIFY(withModal([] { press(Qt::Key_Return); },
                          [&](QWidget* editor) {
                              f.note(u"opened "_s +
                                     control<QLineEdit>(editor, "txtARTDSC")->text());
                              QTest::keyClicks(control<QLineEdit>(editor, "txtPRCDUN"), u"99"_s);
                              press(Qt::Key_Escape);
                          }));
        QCOMPARE(f.row(3).values(), stored);
        f.note(u"Escape, lines "_s + lines(list));
        const QRect second = list->visualRect(list->model()->index(1, 1));
        QVERIFY(withModal([&] { doubleClick(list->viewport(), second.center()); },
                          [&](QWidget* editor) {
                              f.note(u"opened "_s +
                                     control<QLineEdit>(editor, "txtARTNRO")->text());
                              press(Qt::Key_Escape);
                          }));
        COMPARE_GOLDEN(f.log.toUtf8(), u"review/list-editor.txt"_s);
    }

    // review/position-search.txt: F6 in the editor presets the position cut to ten characters;
    // Enter searches it, then "8482", the details waiting for an arrow key; Enter hands the
    // position back unconfirmed, and Enter confirms it as typed. The words field lists
    // positions by description, the former details gone; Ctrl+C and Escape hand nothing back;
    // Enter in an empty list hands back the empty text.
    void positionSearchHandsBackToTheEditor()
    {
        Fixture f;
        frmModificar editor(f.ws, u"100"_s, 3);
        editor.show();
        QVERIFY(QTest::qWaitForWindowActive(&editor));
        auto* position = control<QLineEdit>(&editor, "txtPRCNCM");
        const auto editorState = [&] {
            f.note(u"editor: "_s + position->text() + u" | "_s +
                   control<QLabel>(&editor, "lbPRCEUN")->text() + u" | "_s +
                   control<QPlainTextEdit>(&editor, "txtPRCSUF")->toPlainText());
        };
        const auto searchState = [&](QWidget* search, const QString& what) {
            auto* found = control<QListWidget>(search, "LstNCM");
            auto* suffixes = control<QListWidget>(search, "LstSufijos");
            QStringList shown;
            for (int i = 0; i < suffixes->count(); ++i)
                shown << suffixes->item(i)->text();
            f.note(u"search %1: %2 | %3 found, current %4 | %5 | suffixes %6"_s
                       .arg(what, control<QLineEdit>(search, "TxtNCMF")->text())
                       .arg(found->count())
                       .arg(found->currentItem() ? found->currentItem()->text() : QString(),
                            control<QPlainTextEdit>(search, "LbDescripcion")->toPlainText(),
                            shown.join(u", "_s)));
        };
        editorState();
        QVERIFY(withModal([] { press(Qt::Key_F6); },
                          [&](QWidget* search) {
                              auto* number = control<QLineEdit>(search, "TxtNCMF");
                              searchState(search, u"opened"_s);
                              press(Qt::Key_Return);
                              searchState(search, u"Enter"_s);
                              number->selectAll();
                              QTest::keyClicks(number, u"8482.1"_s);
                              press(Qt::Key_Return);
                              searchState(search, u"Enter"_s);
                              press(Qt::Key_Down);
                              searchState(search, u"Down"_s);
                              press(Qt::Key_Return);
                              QVERIFY(!search->isVisible());
                          }));
        QTRY_COMPARE(QApplication::focusWidget(), position);
        editorState();
        f.dialogs.optionAnswers << u"AB01 - Modelo uno"_s;
        f.dialogs.textAnswers << u"201901"_s;
        press(Qt::Key_Return);
        editorState();

        press(Qt::Key_Up); // back from the quantity to the position
        for (const Qt::Key key : {Qt::Key_C, Qt::Key_Escape}) {
            QTRY_COMPARE(QApplication::focusWidget(), position);
            QVERIFY(withModal([] { press(Qt::Key_F6); },
                              [&](QWidget* search) {
                                  press(Qt::Key_Return);
                                  press(Qt::Key_Down);
                                  searchState(search, u"Enter, Down"_s);
                                  press(Qt::Key_Tab);
                                  QTest::keyClicks(QApplication::focusWidget(), u"tornillo"_s);
                                  press(Qt::Key_Return);
                                  searchState(search, u"Tab, words, Enter"_s);
                                  press(key,
                                        key == Qt::Key_C ? Qt::ControlModifier : Qt::NoModifier);
                                  QVERIFY(!search->isVisible());
                              }));
            QTRY_COMPARE(QApplication::focusWidget(), position);
            editorState();
        }
        QVERIFY(withModal([] { press(Qt::Key_F6); },
                          [&](QWidget* search) {
                              auto* number = control<QLineEdit>(search, "TxtNCMF");
                              number->selectAll();
                              QTest::keyClicks(number, u"0"_s);
                              press(Qt::Key_Return);
                              press(Qt::Key_Tab);
                              press(Qt::Key_Return);
                              QVERIFY(!search->isVisible());
                          }));
        QTRY_COMPARE(QApplication::focusWidget(), position);
        editorState();
        QCOMPARE(f.progress.busyDepth, 0);
        COMPARE_GOLDEN(f.log.toUtf8(), u"review/search-window.txt"_s);
    }

    void inputHelperTypesAndFinds()
    {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* box = new QLineEdit(&window);
        layout->addWidget(box);
        (new ClCntrl)->sLinkText(box);
        auto* list = new QListWidget(&window);
        list->addItems({u"AB00 - Ninguna opción"_s, u"AB01 - Uno"_s, u"AB02 - Dos"_s});
        layout->addWidget(list);
        auto* helper = new ClCntrl;
        helper->sLinkListBox(list);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        // The keypad's decimal key types the locale's separator, the main keyboard's "." stays.
        QTest::keyClicks(box, u"1"_s);
        QTest::keyClick(box, Qt::Key_Period, Qt::KeypadModifier);
        QTest::keyClicks(box, u"5."_s);
        QCOMPARE(box->text(), u"1,5."_s);

        helper->LstBuscarStr(u"ab02"_s);
        QCOMPARE(list->currentRow(), 2);
        helper->LstBuscarStr(u"AC"_s);
        QCOMPARE(list->currentRow(), -1);
        hover(list->viewport(), list->visualItemRect(list->item(1)).center());
        QCOMPARE(list->viewport()->toolTip(), u"AB01 - Uno"_s);
        hover(list->viewport(), QPoint(5, list->viewport()->height() - 2));
        QCOMPARE(list->viewport()->toolTip(), QString());
    }

    void optionChooser()
    {
        const QStringList lines = {u"AB00 - Ninguna opción"_s, u"AB01 - Uno"_s, u"AB02 - Dos"_s};
        const auto chosen = [&lines](int preselected, const std::function<void(QWidget*)>& act) {
            std::optional<QString> result;
            withModal([&] { result = FrmCargaSufijos::choose(lines, preselected, nullptr); }, act);
            return result.value_or(u"(nada)"_s);
        };
        QCOMPARE(chosen(2, [](QWidget*) { press(Qt::Key_Return); }), lines.at(2));
        QCOMPARE(chosen(-1, [](QWidget*) { press(Qt::Key_Enter); }), lines.at(0));
        QCOMPARE(chosen(0,
                        [](QWidget* chooser) {
                            auto* list = control<QListWidget>(chooser, "LstOpcion");
                            doubleClick(list->viewport(),
                                        list->visualItemRect(list->item(1)).center());
                        }),
                 lines.at(1));
        QCOMPARE(chosen(0, [](QWidget*) { press(Qt::Key_Escape); }), u"(nada)"_s);
    }

    /**
     * Each query of review/suggest-queries.tsv (catalogs, article, description) on its
     * catalogs (tests/fixtures/review/suggest-*.declaration.sql) with the suggestions it gets,
     * against review/suggestions.txt: the same number elsewhere (a blank number meets
     * nothing, a position outside the nomenclator is never offered), families of numbers with
     * the neighbour's model rewritten, descriptions, the nomenclator's words (an English
     * description through the trade glossary, taking the suffixes of a catalog article of the
     * position; a row's words counting for the rows below it, which alone are offered), an
     * article's voltage choosing between a relay position's condition and its "Los demás"
     * (without a voltage the words alone decide), and a tube's material choosing between a
     * position and its "Los demás" (without it, the "Los demás", which a polyethylene tube's
     * description then witnesses for too).
     */
    void suggestions()
    {
        QString text;
        QString catalogs;
        std::unique_ptr<WorkHome> f; // one home per catalogs, the queries in their order
        for (const QString& line :
             TestHome::testData(u"review/suggest-queries.tsv"_s).split(u'\n', Qt::SkipEmptyParts)) {
            const QStringList query = line.split(u'\t');
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

    // review/suggestion-road.txt: the results list's suggestion column, the first suggestion of
    // each row without a state (line 4 has one: none, though its description has one). Enter
    // opens line 1; F7 there: Escape changes nothing; Enter takes the suggestion's position and
    // suffixes and confirms them as Enter on the position does, the suggestion's values
    // offered in every suffix question.
    void suggestionsInTheListAndTheEditor()
    {
        Fixture f;
        f.home.load(u"review/suggest-review.declaration.sql"_s);
        frmDEP window(f.ws, u"100"_s, ArticleTableModel::List::WithErrors);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* list = control<QTableView>(&window, "lstDEP");
        const QAbstractItemModel* model = list->model();
        const int column = model->columnCount() - 1;
        QTRY_VERIFY(!model->index(0, column).data().toString().isEmpty());
        QString log;
        for (int row = 0; row < model->rowCount(); ++row)
            log += model->index(row, 1).data().toString() + u": "_s +
                   model->index(row, column).data().toString() + u'\n';
        // The suggestions window: its article and first suggestion, then the key pressed.
        const auto suggest = [&log](Qt::Key key) {
            return withModal([] { press(Qt::Key_F7); },
                             [&log, key](QWidget* suggestions) {
                                 const auto* found =
                                     control<QTreeWidget>(suggestions, "lstSuggestions");
                                 const QTreeWidgetItem* first = found->topLevelItem(0);
                                 log += control<QLineEdit>(suggestions, "txtArticle")->text() +
                                        u": %1 found, "_s.arg(found->topLevelItemCount());
                                 for (int c = 0; c < 4; ++c)
                                     log += first->text(c) + u'|';
                                 press(key);
                                 log += suggestions->isVisible() ? u" stays\n"_s : u" closed\n"_s;
                             });
        };
        list->setFocus();
        f.dialogs.optionAnswers << u"AB02 - Modelo dos"_s;
        f.dialogs.textAnswers << u"202001"_s;
        QVERIFY(withModal([] { press(Qt::Key_Return); },
                          [&](QWidget* editor) {
                              for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
                                  QVERIFY(suggest(key));
                                  QTRY_VERIFY(focusName() == u"txtPRCNCM"_s);
                                  log +=
                                      control<QLineEdit>(editor, "txtPRCNCM")->text() + u'|' +
                                      control<QPlainTextEdit>(editor, "txtPRCSUF")->toPlainText() +
                                      u'|' + control<QLabel>(editor, "lbPRCEUN")->text() + u'\n' +
                                      f.dialogs.takeJournal();
                              }
                              press(Qt::Key_Escape);
                          }));
        COMPARE_GOLDEN(log.toUtf8(), u"review/suggestion-road.txt"_s);
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

    void exportMenuAsksAndWrites()
    {
        ReviewData::Session s;
        QWidget owner;
        owner.show();
        QMenu archivo(u"Archivo"_s, &owner);
        QMenu* excel = addExportMenu(&archivo, s.ws, u"100"_s);
        excel->menuAction()->setObjectName(u"mnuexcelItem"_s);

        const auto choose = [&](const char* item, const std::optional<QString>& answer) {
            s.dialogs.fileAnswers << answer;
            archivo.popup(owner.mapToGlobal(QPoint()));
            click(&archivo, "mnuexcelItem");
            QTRY_VERIFY(excel->isVisible());
            click(excel, item);
        };
        // The save dialog proposes a name made of the interno and the order; the message tells
        // where the file went.
        choose("mnuarticulo", s.home.file(u"libro"_s));
        QCOMPARE(s.dialogs.saves.size(), 1);
        QCOMPARE(QFileInfo(s.dialogs.saves.first().section(u'|', 2)).fileName(),
                 u"interno-100-por-articulo.xlsx"_s);
        QVERIFY(ReviewData::bytes(s.home.file(u"libro.xls"_s))
                    .split('\r')
                    .value(1)
                    .startsWith("\nA-3\t"));
        QCOMPARE(
            s.dialogs.messageTexts(),
            QStringList(u"Guardado en "_s + QDir::toNativeSeparators(s.home.file(u"libro.xls"_s))));

        // Cancelled: nothing written or said. The next save starts in the folder used last.
        choose("mnudescripcion", std::nullopt);
        QCOMPARE(QDir(s.home.path()).entryList({u"*.xls"_s}), QStringList(u"libro.xls"_s));
        QCOMPARE(s.dialogs.messages.size(), 1);
        QCOMPARE(QFileInfo(s.dialogs.saves.last().section(u'|', 2)).absolutePath(),
                 QFileInfo(s.home.path()).absoluteFilePath());
    }

    void reportPreviewModalOrBesideAndSavesPdf()
    {
        ReviewData::Session s;
        QWidget owner;
        owner.show();
        // Clean rows: beside the owner, which stays usable; Ctrl+S saves the PDF.
        showControlReport(s.ws, u"100"_s, ArticleTableModel::List::Clean, &owner);
        QPointer<QPrintPreviewDialog> preview = owner.findChild<QPrintPreviewDialog*>(u"Reporte"_s);
        QVERIFY(preview && preview->isVisible() && !QApplication::activeModalWidget());
        QVERIFY(QTest::qWaitForWindowActive(preview));
        s.dialogs.fileAnswers << s.home.file(u"ok"_s);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(QFileInfo(s.dialogs.saves.value(0).section(u'|', 2)).fileName(),
                 u"interno-100-registros-ok.pdf"_s);
        QVERIFY(ReviewData::pdfPages(s.home.file(u"ok.pdf"_s)).value(0).contains(u"A-3"_s));
        // Back to the preview, as the window system does when a dialog over it closes.
        const auto backToPreview = [&preview] {
            preview->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(preview));
        };
        backToPreview();

        // Tab reaches the print and the save buttons; Enter on the save button asks again;
        // Ctrl+P prints (its dialog opens); Escape closes.
        const auto* toolbar = preview->findChild<QToolBar*>();
        QWidget* save = toolbar->widgetForAction(preview->findChild<QAction*>(u"cmdGuardarPDF"_s));
        QWidget* print = nullptr;
        for (QAction* action : toolbar->actions())
            if (action->text() == QCoreApplication::translate("QPrintPreviewDialog", "Print"))
                print = toolbar->widgetForAction(action);
        QSet<QWidget*> reached;
        for (int tab = 0; tab < 40 && !(reached.contains(print) && reached.contains(save)); ++tab) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reached << QApplication::focusWidget();
        }
        QVERIFY(reached.contains(print) && reached.contains(save));
        s.dialogs.fileAnswers << std::nullopt;
        QTest::keyClick(save, Qt::Key_Return);
        QCOMPARE(s.dialogs.saves.size(), 2);
        backToPreview();
        QVERIFY(withModal(
            [&] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::ControlModifier); },
            [](QWidget* printing) { QTest::keyClick(printing, Qt::Key_Escape); }));
        backToPreview();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QTRY_VERIFY(!preview);

        // Rows with errors: modal; none to show: the message, no window.
        QVERIFY(withModal(
            [&] { showControlReport(s.ws, u"100"_s, ArticleTableModel::List::WithErrors, &owner); },
            [](QWidget* modal) { QCOMPARE(modal->objectName(), u"Reporte"_s); }));
        showControlReport(s.ws, u"300"_s, ArticleTableModel::List::Clean, &owner);
        QCOMPARE(s.dialogs.messageTexts().value(1), u"No hay articulos para mostrar"_s);
        QCOMPARE(s.dialogs.messages.value(1).icon, MessageIcon::Information);
    }
};

QTEST_MAIN(TestReviewWindows)
#include "tst_reviewwindows.moc"
