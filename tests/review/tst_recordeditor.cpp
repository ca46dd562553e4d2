// SPDX-License-Identifier: Apache-2.0
#include "ReviewHome.h"

#include "components/TestSeam.h"
#include "data/HistoryStore.h"
#include "review/frmModificar.h"
#include "support/Golden.h"
#include "support/Modal.h"

#include <QAccessible>
#include <QComboBox>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

using ReviewHome::Fixture;

namespace {

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
QByteArray savedLine(Fixture& f, qint64 line)
{
    QStringList values;
    for (const QVariant& value : f.row(line).values())
        values << (value.isNull() ? u"~"_s : value.toString());
    return (values.join(u'|') + u'\n' + historyOf(f, line).join(u'\n') + u'\n').toUtf8();
}

} // namespace

class TestRecordEditor : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina)); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    // review/suffix-dialogue.txt: each run (position, previous suffixes -> result), then the
    // dialogs it showed. Groups in code order, the previous option preselected; a decimal
    // refused, a number padded to six digits and cut to six; an empty answer asks whether to
    // cancel (No by default), Yes keeps nothing of the run; leaving the chooser gives up the
    // run; text codes and codes of neither kind take a cleaned text.
    void suffixDialogueOffersAndCleansValues()
    {
        Fixture f;
        f.dialogs.optionAnswers << u"AB02 - Modelo dos"_s << u"AB00 - Ninguna opción"_s
                                << u"AB01 - Modelo uno"_s << std::nullopt;
        f.dialogs.textAnswers << u"12.5"_s << u"150"_s << u"1234567"_s << std::nullopt << u""_s
                              << u"(Marca-x)"_s << u"iso 4017 & más letras de veinte"_s;
        f.dialogs.questionAnswers << false << true;
        const QString bearing = u"8482.10.10.000B"_s;
        QString report;
        for (const auto& [position, previous] : {std::pair{bearing, u"ZA(000150)-AB02-"_s},
                                                 {bearing, u"AA(AB01)-"_s},
                                                 {bearing, QString()},
                                                 {bearing, QString()},
                                                 {u"7318.15.00.200D"_s, u"QX(OLD)-"_s},
                                                 {u"3926.90.90.990E"_s, u"X-"_s}}) {
            const QString result = f.editor.VerificarSufijos(position, previous);
            report += position + u' ' + previous + u" -> "_s + result + u'\n' +
                      f.dialogs.journal.join(u'\n') + u'\n';
            f.dialogs.journal.clear();
        }
        COMPARE_GOLDEN(report.toUtf8(), u"review/suffix-dialogue.txt"_s);
        QCOMPARE(f.progress.busyDepth, 0);
    }

    void positionCheck()
    {
        Fixture f;
        QVERIFY(f.editor.CargarDatos(u"100"_s, 1));
        EditorFields& fields = f.editor.fields();
        for (const QString& wrong : {u"8482.10.10"_s, u"8482.10.10.000BB"_s}) {
            QVERIFY(!f.editor.ProcesarNCM(wrong));
            QCOMPARE(f.lastMessage(), u"2:Error en la estructura de la posición"_s);
        }
        fields.suffixes = u"ANTES-"_s;
        QVERIFY(!f.editor.ProcesarNCM(u"8482.10.10.000C"_s));
        QCOMPARE(f.lastMessage(), u"2:Posición no encontrada en Nomenclador"_s);
        QVERIFY(fields.statisticalUnit.isEmpty());
        QCOMPARE(fields.suffixes, u"ANTES-"_s);

        // Commas read as points; unit 7 shown as 07; the LAPI mark; the suffixes asked again.
        f.dialogs.optionAnswers << u"AB01 - Modelo uno"_s;
        f.dialogs.textAnswers << u"201901"_s;
        QVERIFY(f.editor.ProcesarNCM(u"8482,10,10,000B"_s));
        QCOMPARE(fields.statisticalUnit + u'|' + fields.statisticalUnitCaption + u'|' +
                     fields.lapi + u'|' + fields.positionDescription + u'|' + fields.suffixes,
                 u"07|Unidad Estadistica [07]|S|RODAMIENTOS|AB01-ZA(201901)-"_s);

        // Giving up the suffixes empties them; the confirmed unit stays. No mark: "N".
        f.dialogs.textAnswers << u""_s;
        f.dialogs.questionAnswers << true;
        QVERIFY(f.editor.ProcesarNCM(u"7318.15.00.200D"_s));
        QCOMPARE(fields.statisticalUnit + u'|' + fields.lapi + u'|' + fields.suffixes, u"01|N|"_s);
        QCOMPARE(f.progress.busyDepth, 0);
    }

    void rulesInOrderThenSave()
    {
        Fixture f;
        QVERIFY(f.editor.CargarDatos(u"100"_s, 1));
        EditorFields& fields = f.editor.fields();
        QCOMPARE(fields.quantity + u'|' + fields.unitPrice + u'|' + fields.total + u'|' +
                     fields.statisticalQuantity + u'|' + fields.specificDutyQuantity,
                 u"12,50|00,12500|01,56|00,00|0"_s);
        QCOMPARE(fields.country, -1); // XX is no country of the list

        const auto refusal = [&f]() {
            return f.editor.GrabarDatos() ? u"saved"_s : f.lastMessage();
        };
        QCOMPARE(refusal(), u"2:Falta información sobre la posición arancelaria."_s);
        fields.position = u"3926.90.90.990E"_s;
        QVERIFY(f.editor.ProcesarNCM(fields.position, RecordEditor::SuffixEntry::Keep));
        fields.declaredUnit = u"  "_s;
        QCOMPARE(refusal(), u"2:Falta ingresar unidad declarada"_s);

        // Declared in the statistical unit: a quantity must be the invoice's, zero takes it.
        fields.declaredUnit = u"05"_s;
        fields.statisticalQuantity = u"10"_s;
        QCOMPARE(refusal(), u"2:La Cantidad Declarada debe ser igual a la Cantidad Especifica"_s);
        fields.statisticalQuantity = u"0"_s;
        fields.goodsCondition = u"A1"_s;
        QCOMPARE(refusal(), u"1:Estado de mercaderia inválida"_s);
        QCOMPARE(fields.statisticalQuantity, u"12,50"_s);
        fields.goodsCondition = u" 2 "_s;
        QCOMPARE(refusal(), u"2:Falta seleccionar el país de origen."_s);
        fields.country = 0;
        fields.suffixes = u"AA(X)-"_s;
        QCOMPARE(refusal(), u"2:Sufijos inválidos"_s);
        fields.suffixes = u"SIN SUFIJOS"_s;
        // A position changed since it was confirmed is confirmed again first.
        fields.position = u"3926.90.90.990X"_s;
        QCOMPARE(refusal(), u"2:Posición no encontrada en Nomenclador"_s);
        QCOMPARE(f.editor.refusedField(), RecordEditor::Field::Position);
        QVERIFY(f.row(1).state.isNull());

        // Other units: the quantities are not compared. Values are stored as typed.
        fields.position = u"3926.90.90.990E"_s;
        fields.declaredUnit = u"U'1"_s;
        fields.statisticalQuantity = u"3,25"_s;
        fields.specificDutyQuantity = u"9"_s; // hidden: not written
        QCOMPARE(refusal(), u"saved"_s);
        COMPARE_GOLDEN(savedLine(f, 1), u"review/rules-saved.txt"_s);

        // A row gone meanwhile is not saved, and the operator is told.
        f.home.runWorkSql(u"delete from ART where ARTORD = 1;\n"_s);
        QCOMPARE(refusal(), u"2:No se grabó el registro: el interno 100 ya no tiene la línea 1."_s);
    }

    void cleanRowKeepsItsConfirmationAndSpecificDuty()
    {
        Fixture f;
        QVERIFY(!f.editor.CargarDatos(u"100"_s, 9));
        QCOMPARE(f.editor.fields().position, u"8252.00.00.000B"_s);
        QVERIFY(f.editor.CargarDatos(u"100"_s, 2));
        EditorFields& fields = f.editor.fields();
        QCOMPARE(fields.statisticalUnit + u'|' + fields.lapi + u'|' + fields.specificDutyCaption +
                     u'|' + fields.specificDutyQuantity + u'|' + fields.positionDescription,
                 u"05|S|Derecho Especifico [07]|0|PLASTICOS"_s);
        QCOMPARE(f.editor.countries().names,
                 QStringList({u"BRASIL"_s, u"ESTADOS UNIDOS"_s, u"JAPON"_s}));
        QCOMPARE(fields.country, 2);
        fields.specificDutyQuantity = u"3,5"_s;
        // A failure between the row's update and its history entries leaves neither.
        const QVariantList loaded = f.row(2).values();
        TestSeam::setHook([](std::string_view point) {
            if (point == "edit:saved")
                throw AppError(9, u"fallo tras grabar"_s);
        });
        QVERIFY(!f.editor.GrabarDatos());
        TestSeam::setHook({});
        QVERIFY(f.lastMessage().startsWith(u"1:fallo tras grabar"_s));
        QCOMPARE(f.row(2).values(), loaded);
        QVERIFY(historyOf(f, 2).isEmpty());
        f.dialogs.messages.clear();

        QVERIFY(f.editor.GrabarDatos());
        QVERIFY(f.dialogs.messages.isEmpty());
        // One history entry per column changed, the state the save sets among them.
        COMPARE_GOLDEN(savedLine(f, 2), u"review/clean-row-saved.txt"_s);
    }

    void saveKeepsWhatChangedMeanwhile()
    {
        // Two edits of line 2 at once, each of its own field: the later save is refused and
        // loads the row again, so that both changes end up stored.
        Fixture f;
        RecordEditor other(f.ws);
        QVERIFY(f.editor.CargarDatos(u"100"_s, 2) && other.CargarDatos(u"100"_s, 2));
        other.fields().goodsCondition = u"3"_s;
        QVERIFY(other.GrabarDatos());
        EditorFields& fields = f.editor.fields();
        fields.specificDutyQuantity = u"2,5"_s;
        QVERIFY(!f.editor.GrabarDatos());
        QCOMPARE(f.lastMessage(),
                 u"2:El registro fue modificado mientras lo editaba; vuelva a abrirlo."_s);
        QCOMPARE(f.row(2).specificDutyQuantity, std::optional<double>(0));
        QCOMPARE(fields.goodsCondition + u'|' + fields.specificDutyQuantity, u"3|0"_s);
        fields.specificDutyQuantity = u"2,5"_s;
        QVERIFY(f.editor.GrabarDatos());
        COMPARE_GOLDEN(savedLine(f, 2), u"review/both-changes-saved.txt"_s);

        // A confirmed position the nomenclator no longer has: the validator refuses it.
        QVERIFY(f.editor.CargarDatos(u"100"_s, 2));
        f.home.runNomenclatorSql(u"delete from ncm where [001] = '3926.90.90';\n"_s);
        QVERIFY(!f.editor.GrabarDatos());
        QCOMPARE(f.lastMessage(), u"2:La posición es Inexistente!"_s);
    }

    void editorWindowFromTheKeyboard()
    {
        Fixture f;
        // Line 3: its invoice origin offered as its country; the read-only boxes show the start
        // of their text; a position not found keeps the focus, and F6 searches from there.
        {
            frmModificar editor(f.ws, u"100"_s, 3);
            editor.show();
            QVERIFY(QTest::qWaitForWindowActive(&editor));
            QCOMPARE(control<QComboBox>(&editor, "cboPRCORI")->currentText(),
                     u"ESTADOS UNIDOS (US)"_s);
            for (const char* name : {"txtARTNRO", "txtARTDSC", "txtARTCAN", "txtARTTOT"})
                QCOMPARE(control<QLineEdit>(&editor, name)->cursorPosition(), 0);
            auto* position = field(&editor, u"Posición"_s);
            QCOMPARE(QApplication::focusWidget(), position);
            press(Qt::Key_Return);
            QCOMPARE(f.lastMessage(), u"2:Posición no encontrada en Nomenclador"_s);
            QCOMPARE(QApplication::focusWidget(), position);
            QVERIFY(withModal([] { press(Qt::Key_F6); }, [](QWidget*) { press(Qt::Key_Escape); }));
        }

        // Line 2, changed underneath while open: F11 says so and shows the row as stored.
        frmModificar editor(f.ws, u"100"_s, 2);
        editor.show();
        QVERIFY(QTest::qWaitForWindowActive(&editor));
        f.home.runWorkSql(u"update ART set PRCDUN = '07' where ARTORD = 2;\n"_s);
        retype(field(&editor, u"Estado Mercaderia"_s), u"2"_s);
        press(Qt::Key_F11);
        QCOMPARE(f.lastMessage(),
                 u"2:El registro fue modificado mientras lo editaba; vuelva a abrirlo."_s);
        QCOMPARE(control<QLineEdit>(&editor, "txtPRCDUN")->text(), u"07"_s);
        QCOMPARE(control<QLineEdit>(&editor, "txtPRCESM")->text(), u"1"_s);
        const QVariantList stored = f.row(2).values();

        // What is no number is refused with the field's message, the operator put back on it.
        const struct {
            QString caption;
            QString typed;
            QString message;
        } refusals[] = {
            {u"Unidad Estadistica [05]"_s, u"inf"_s, u"2:Debe Ingresar un Valor Númerico"_s},
            {u"Unidad Estadistica [05]"_s, QString(), u"2:Debe Ingresar un Valor Númerico"_s},
            {u"Derecho Especifico [07]"_s, u"1.5"_s, u"2:Debe Ingresar un Valor Númerico"_s},
            {u"Estado Mercaderia"_s, u"NaN"_s, u"1:Estado de mercaderia inválida"_s},
        };
        for (const auto& [caption, typed, message] : refusals) {
            QWidget* box = field(&editor, caption);
            const QString before = qobject_cast<QLineEdit*>(box)->text();
            retype(box, typed);
            press(Qt::Key_Up); // away from the field: the refusal must bring the operator back
            press(Qt::Key_F11);
            QCOMPARE(f.lastMessage(), message);
            QCOMPARE(QApplication::focusWidget(), box);
            QTest::keyClicks(box, before);
        }
        QCOMPARE(f.row(2).values(), stored);

        // A position typed with commas and saved without Enter is confirmed first: its suffixes
        // asked, its unit and LAPI mark taken.
        retype(field(&editor, u"Derecho Especifico [07]"_s), u"2,5"_s);
        retype(field(&editor, u"Posición"_s), u"7318,15,00,200D"_s);
        f.dialogs.textAnswers << u"acme"_s << u"iso"_s;
        press(Qt::Key_F11);
        QVERIFY(!editor.isVisible());
        // The window's save is recorded by column, the refused ones left no entry.
        COMPARE_GOLDEN(savedLine(f, 2), u"review/editor-window-saved.txt"_s);

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
};

QTEST_MAIN(TestRecordEditor)
#include "tst_recordeditor.moc"
