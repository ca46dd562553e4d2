// SPDX-License-Identifier: Apache-2.0
#include "ReviewHome.h"

#include "controls/ClCntrl.h"
#include "review/FrmCargaSufijos.h"
#include "review/frmDEP.h"
#include "review/frmModificar.h"
#include "support/Modal.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <functional>

using namespace Qt::StringLiterals;
using ReviewHome::Fixture;

namespace {

/** The lines of the results list, as shown in their first column. */
QStringList lines(QTableView* list)
{
    QStringList shown;
    for (int row = 0; row < list->model()->rowCount(); ++row)
        shown << list->model()->index(row, 0).data().toString();
    return shown;
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

} // namespace

class TestReviewWindows : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina)); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void listEditorRoundTrip()
    {
        Fixture f;
        frmDEP results(f.ws, u"100"_s, ArticleTableModel::List::WithErrors);
        results.show();
        QVERIFY(QTest::qWaitForWindowActive(&results));
        auto* list = control<QTableView>(&results, "lstDEP");
        QCOMPARE(lines(list), QStringList({u"0001"_s, u"0003"_s, u"0004"_s}));
        list->setFocus();

        // Enter opens the first line: the position is checked, the fields filled from the
        // keyboard, F11 saves.
        const bool saved = withModal(
            [] { press(Qt::Key_Return); },
            [&f](QWidget* editor) {
                auto* position = control<QLineEdit>(editor, "txtPRCNCM");
                QCOMPARE(QApplication::focusWidget(), position);
                QCOMPARE(position->palette().color(QPalette::Base), QColor(192, 255, 192));
                QTRY_COMPARE(position->selectedText(), position->text());
                QTest::keyClicks(position, u"3926.90.90.990E"_s);
                press(Qt::Key_Return);
                QCOMPARE(f.lastMessage(), u"0:No se encontro Sufijo en el nomenclador"_s);
                QCOMPARE(control<QLabel>(editor, "lbPRCEUN")->text(), u"Unidad Estadistica [05]"_s);
                QCOMPARE(control<QLineEdit>(editor, "txtPositionDescription")->text(),
                         u"PLASTICOS"_s);
                QVERIFY(!control<QLineEdit>(editor, "txtPRCSCA")->isVisible());
                QCOMPARE(QApplication::focusWidget()->objectName(), u"txtPRCECA"_s);
                QCOMPARE(position->palette().color(QPalette::Base), QColor(Qt::white));
                press(Qt::Key_Down); // the hidden specific-duty quantity is passed over
                QTest::keyClicks(QApplication::focusWidget(), u"01"_s);
                press(Qt::Key_Return);
                QTest::keyClicks(QApplication::focusWidget(), u"1"_s);
                press(Qt::Key_Up);
                QCOMPARE(QApplication::focusWidget()->objectName(), u"txtPRCDUN"_s);
                press(Qt::Key_Down);
                press(Qt::Key_Return);
                auto* country = control<QComboBox>(editor, "cboPRCORI");
                QCOMPARE(QApplication::focusWidget(), country);
                QCOMPARE(country->currentIndex(), -1);
                press(Qt::Key_Down);
                press(Qt::Key_F11);
                QVERIFY(!editor->isVisible());
            });
        QVERIFY(saved);
        const Article corrected = f.row(1);
        QCOMPARE(corrected.state + corrected.check + corrected.declaredUnit +
                     corrected.goodsCondition + corrected.country,
                 u"MOK011BR"_s);
        // Refilled without the saved line; the line that followed it is selected, and the list
        // has the keyboard again.
        QCOMPARE(lines(list), QStringList({u"0003"_s, u"0004"_s}));
        QCOMPARE(list->currentIndex().row(), 0);
        QTRY_COMPARE(QApplication::focusWidget(), list);

        // Escape leaves the row as stored and the list as it was.
        const QVariantList stored = f.row(3).values();
        QVERIFY(withModal([] { press(Qt::Key_Return); },
                          [](QWidget* editor) {
                              QCOMPARE(control<QLineEdit>(editor, "txtARTDSC")->text(),
                                       u"POSICION"_s);
                              QTest::keyClicks(control<QLineEdit>(editor, "txtPRCDUN"), u"99"_s);
                              press(Qt::Key_Escape);
                          }));
        QCOMPARE(f.row(3).values(), stored);
        QCOMPARE(lines(list), QStringList({u"0003"_s, u"0004"_s}));

        // A double click (two clicks) on a line opens it too.
        const QRect second = list->visualRect(list->model()->index(1, 1));
        QVERIFY(withModal([&] { doubleClick(list->viewport(), second.center()); },
                          [](QWidget* editor) {
                              QCOMPARE(control<QLineEdit>(editor, "txtARTNRO")->text(), u"S-4"_s);
                              press(Qt::Key_Escape);
                          }));
        QCOMPARE(f.dialogs.messages.size(), 1);
    }

    void positionSearchHandsBackToTheEditor()
    {
        Fixture f;
        frmModificar editor(f.ws, u"100"_s, 3);
        editor.show();
        QVERIFY(QTest::qWaitForWindowActive(&editor));
        auto* position = control<QLineEdit>(&editor, "txtPRCNCM");
        QCOMPARE(position->text(), u"9999.99.99.999Z"_s);

        // F6 presets the position cut to ten characters; Enter searches it, then "8482".
        QVERIFY(withModal(
            [] { press(Qt::Key_F6); },
            [&f](QWidget* search) {
                auto* number = control<QLineEdit>(search, "TxtNCMF");
                auto* list = control<QListWidget>(search, "LstNCM");
                auto* suffixes = control<QListWidget>(search, "LstSufijos");
                auto* descriptions = control<QPlainTextEdit>(search, "LbDescripcion");
                QCOMPARE(QApplication::focusWidget(), number);
                QCOMPARE(number->text(), u"9999.99.99"_s);
                press(Qt::Key_Return);
                QCOMPARE(f.lastMessage(), u"2:Posición no encontrada."_s);
                QCOMPARE(list->count(), 0);
                number->selectAll();
                QTest::keyClicks(number, u"8482.1"_s);
                press(Qt::Key_Return);
                QCOMPARE(QApplication::focusWidget(), list);
                QCOMPARE(list->currentItem()->text(), u"8482.10.10.000B"_s);
                QVERIFY(descriptions->toPlainText().isEmpty()); // details wait for an arrow key
                press(Qt::Key_Down);
                QCOMPARE(descriptions->toPlainText(), u"RODAMIENTOS\n\n"_s);
                QStringList lines;
                for (int i = 0; i < suffixes->count(); ++i)
                    lines << suffixes->item(i)->text();
                QCOMPARE(lines, QStringList({u"AB01 Modelo uno"_s, u"AB02 Modelo dos"_s,
                                             u"ZA   Indique el año"_s}));
                press(Qt::Key_Return);
                QVERIFY(!search->isVisible());
            }));
        // Handed back, not yet confirmed: Enter confirms it as a typed position.
        QCOMPARE(position->text(), u"8482.10.10.000B"_s);
        QTRY_COMPARE(QApplication::focusWidget(), position);
        auto* unit = control<QLabel>(&editor, "lbPRCEUN");
        QCOMPARE(unit->text(), u"Unidad Estadistica [01]"_s);
        f.dialogs.optionAnswers << u"AB01 - Modelo uno"_s;
        f.dialogs.textAnswers << u"201901"_s;
        press(Qt::Key_Return);
        QCOMPARE(unit->text(), u"Unidad Estadistica [07]"_s);
        QCOMPARE(control<QPlainTextEdit>(&editor, "txtPRCSUF")->toPlainText(),
                 u"AB01-ZA(201901)-"_s);

        // The words field lists positions by description, the details of the former search
        // gone; Ctrl+C and Escape hand nothing back.
        press(Qt::Key_Up); // back from the quantity to the position
        for (const Qt::Key key : {Qt::Key_C, Qt::Key_Escape}) {
            QTRY_COMPARE(QApplication::focusWidget(), position);
            QVERIFY(withModal(
                [] { press(Qt::Key_F6); },
                [key](QWidget* search) {
                    press(Qt::Key_Return);
                    press(Qt::Key_Down);
                    QVERIFY(control<QListWidget>(search, "LstSufijos")->count() > 0);
                    press(Qt::Key_Tab);
                    QCOMPARE(QApplication::focusWidget()->objectName(), u"txtWords"_s);
                    QTest::keyClicks(QApplication::focusWidget(), u"tornillo"_s);
                    press(Qt::Key_Return);
                    QCOMPARE(control<QListWidget>(search, "LstNCM")->currentItem()->text(),
                             u"7318.15.00.200D  TORNILLOS"_s);
                    QCOMPARE(control<QListWidget>(search, "LstSufijos")->count(), 0);
                    QVERIFY(
                        control<QPlainTextEdit>(search, "LbDescripcion")->toPlainText().isEmpty());
                    press(key, key == Qt::Key_C ? Qt::ControlModifier : Qt::NoModifier);
                    QVERIFY(!search->isVisible());
                }));
            QCOMPARE(position->text(), u"8482.10.10.000B"_s);
        }

        // Enter in an empty list hands back the empty text.
        QTRY_COMPARE(QApplication::focusWidget(), position);
        QVERIFY(withModal([] { press(Qt::Key_F6); },
                          [](QWidget* search) {
                              auto* number = control<QLineEdit>(search, "TxtNCMF");
                              number->selectAll();
                              QTest::keyClicks(number, u"0"_s);
                              press(Qt::Key_Return);
                              press(Qt::Key_Tab);
                              press(Qt::Key_Return);
                              QVERIFY(!search->isVisible());
                          }));
        QCOMPARE(position->text(), QString());
        QTRY_COMPARE(QApplication::focusWidget(), position);
        QCOMPARE(f.progress.busyDepth, 0);
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
};

QTEST_MAIN(TestReviewWindows)
#include "tst_reviewwindows.moc"
