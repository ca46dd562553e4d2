// SPDX-License-Identifier: Apache-2.0
#include "app/QtOperatorDialogs.h"
#include "app/frmMain.h"
#include "support/Golden.h"
#include "support/Modal.h"
#include "support/ScriptedDialogs.h"
#include "support/TestHome.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

/** The main window loaded on a fresh home with the given work data. */
struct Window {
    TestHome home;
    ScriptedDialogs dialogs;
    frmMain main{home.path(), dialogs};

    explicit Window(const QString& workSql = {})
    {
        home.createDatabases();
        home.runWorkSql(workSql);
        QVERIFY(main.load());
        main.show();
        QVERIFY(QTest::qWaitForWindowActive(&main));
    }

    template <typename T = QWidget> T* get(const char* name) { return control<T>(&main, name); }
    QString document(const QString& name) const
    {
        QFile file(home.file(name));
        if (!file.open(QIODevice::WriteOnly) || file.write("documento") <= 0)
            qFatal("cannot write %s", qPrintable(name));
        return file.fileName();
    }
    QString text(const char* name) { return get<QLabel>(name)->text(); }
    QPushButton* next() { return get<QPushButton>("cmdSiguiente"); }
    QTreeWidget* list() { return get<QTreeWidget>("FRAM1LstInternos"); }
    void click(const char* name) { QTest::mouseClick(get<QPushButton>(name), Qt::LeftButton); }
    const QString& interno() { return main.wizard().interno(); }

    /** Step, header, panel shown, panels enabled (+) or not (-), next-step button. */
    QString state()
    {
        QString panels;
        for (const char* name : {"FRAM1", "FRAM2", "FRAM3"})
            panels += QLatin1Char(get(name)->isEnabled() ? '+' : '-');
        return u"%1 | %2 | %3 | %4 | %5 | %6 | %7"_s.arg(
            QString::number(main.wizard().step()), text("lbPasoNro"), text("lbPasoDesc"),
            main.findChild<QStackedWidget*>()->currentWidget()->objectName(), panels,
            next()->text(), QLatin1String(next()->isEnabled() ? "on" : "off"));
    }
};

const QString TwoInternos = u"insert into INTN values ('100', 'Uno');\n"
                            "insert into INTN values ('200', null);\n"_s;

} // namespace

class TestFrmMain : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Step-button presses here come faster than a double-click; tst_demo_wizard covers those.
    void initTestCase() { QApplication::setDoubleClickInterval(0); }

    void step1WithAnEmptyListStaysAndOpensTheConfiguration()
    {
        Window w;
        w.home.runDeclarationSql(u"insert into catalogo values ('C2', 'Repuestos');\n"
                                 "insert into catalogo values ('C1', 'General');\n"_s);
        w.click("cmdSiguiente");
        const QString stayed = w.dialogs.journal.join(u'\n') + u'\n' + w.state() + u'\n';

        QVERIFY(withModal([&] { w.click("cmdConfig"); },
                          [](QWidget* dialog) {
                              QCOMPARE(dialog->objectName(), u"frmConfig"_s);
                              QTest::keyClick(dialog, Qt::Key_Escape);
                          }));
        // Escape stored the catalog shown first (by description).
        QCOMPARE(w.main.workspace().settings().catalog(), u"C1"_s);
        COMPARE_GOLDEN(stayed.toUtf8(), u"app/step1-empty-list.txt"_s);
    }

    void internoWithRowsGoesStraightToStep3()
    {
        Window w(TwoInternos + u"insert into ART (INTNRO, ARTORD, PRCEST, PRCCRC) values "
                               "('200', 1, 'A', 'OK'), ('200', 2, null, 'POS'), "
                               "('200', 3, null, 'SUF');\n"_s);
        QTest::keyClick(w.list(), Qt::Key_Down);
        w.click("cmdSiguiente");
        QCOMPARE(w.interno(), u"200"_s);
        // app/step2-to-step3.txt: each step reached, its message line, then the counters.
        QString steps = w.state() + u'\n' + w.text("Main_lbMensaje") + u'\n';
        // A cancelled or blank choice changes nothing and says nothing; the hourglass is gone.
        w.dialogs.fileAnswers << std::nullopt << u"  "_s;
        w.click("FRAM2_CmdProcesar");
        w.click("FRAM2_CmdProcesar");
        QVERIFY(!QApplication::overrideCursor());

        w.click("cmdSiguiente");
        QVERIFY(w.dialogs.messages.isEmpty());
        steps += w.state() + u'\n' + w.text("Main_lbMensaje") + u'\n';
        for (const char* name : {"FRAM3_lbTotal", "FRAM3_lbErroneos", "FRAM3_lbErrPos",
                                 "FRAM3_lbErrSuf", "FRAM3_lbEnCatalogo", "FRAM3_lbNuevos"})
            steps += w.text(name) + u' ';
        COMPARE_GOLDEN(steps.toUtf8(), u"app/step2-to-step3.txt"_s);
        // The results list opens beside the main window, which stays usable; the other button
        // brings the same window to the front with its own list, the caption saying which.
        w.click("FRAM3_cmdRegErr");
        auto* results = w.main.findChild<QMainWindow*>(u"frmDEP"_s);
        QVERIFY(results && results->isVisible() && !results->isModal());
        const auto shown = [results] {
            return results->windowTitle() + u'|' +
                   QString::number(results->findChild<QAbstractItemView*>()->model()->rowCount());
        };
        QCOMPARE(shown(), u"Resultados: Datos con Errores|2"_s);
        w.click("FRAM3_cmdRegOk");
        QCOMPARE(w.main.findChildren<QMainWindow*>().size(), 1);
        QCOMPARE(shown(), u"Resultados: Registros OK|1"_s);
        // F10 opens its menu.
        results->activateWindow(); // as the window system does with a window opened
        QTRY_VERIFY(results->isActiveWindow());
        QTest::keyClick(results, Qt::Key_F10);
        auto* menu = results->findChild<QMenu*>(u"mnuArchivo"_s);
        QTRY_VERIFY(menu->isVisible());
        QTest::keyClick(menu, Qt::Key_Escape);
        QVERIFY(results->close());
        // The clean report opens beside the main window, the errors report holds it.
        w.click("FRAM3_cmdRepOK");
        auto* report = w.main.findChild<QWidget*>(u"Reporte"_s);
        QVERIFY(report && report->isVisible() && !QApplication::activeModalWidget());
        report->close();
        QVERIFY(withModal([&] { w.click("FRAM3_cmdRepErr"); },
                          [](QWidget* dialog) {
                              QCOMPARE(dialog->objectName(), u"Reporte"_s);
                              dialog->close();
                          }));

        // Each further click transfers (and reports) and stays at step 3.
        w.click("cmdSiguiente");
        const qsizetype afterFirst = w.dialogs.messages.size();
        QVERIFY(afterFirst > 0);
        w.click("cmdSiguiente");
        QVERIFY(w.dialogs.messages.size() > afterFirst);
        QVERIFY(w.state().startsWith(u"3 | Paso 3"_s));
    }

    void chosenDocumentIsProcessedEvenWithRows()
    {
        Window w(TwoInternos + u"insert into ART (INTNRO, ARTORD) values ('100', 1);\n"_s);
        w.click("cmdSiguiente");
        const QString step2 = w.state();
        w.dialogs.fileAnswers << w.document(u"nueva.docx"_s);
        w.click("FRAM2_CmdProcesar");
        w.click("cmdSiguiente");
        // Processed, not skipped: the failing process reports and keeps step 2.
        QVERIFY(!w.dialogs.messages.isEmpty());
        QCOMPARE(w.state(), step2);
    }

    void withoutRowsADocumentIsNeededAndAFailedProcessStays()
    {
        Window w(TwoInternos);
        // Keyboard only: the list has the focus, Tab reaches the button, Return clicks it.
        QCOMPARE(QApplication::focusWidget(), w.list());
        QTest::keyClick(w.list(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w.next());
        QTest::keyClick(w.next(), Qt::Key_Return);
        QCOMPARE(w.interno(), u"100"_s);
        QCOMPARE(QApplication::focusWidget(), w.get("FRAM2_CmdProcesar"));
        QVERIFY(!w.next()->isEnabled());

        const QString missing = w.home.file(u"no-existe.doc"_s);
        w.dialogs.fileAnswers << missing;
        w.click("FRAM2_CmdProcesar");
        COMPARE_GOLDEN(w.dialogs.journal.join(u'\n').replace(w.home.path(), u"HOME"_s).toUtf8(),
                       u"app/missing-document.txt"_s);
        QVERIFY(!w.next()->isEnabled());

        const QString document = w.document(u"factura.doc"_s);
        w.dialogs.fileAnswers << document;
        w.click("FRAM2_CmdProcesar");
        QCOMPARE(w.get<QLineEdit>("FRAM2_TxtArchivo")->text(), document);
        QVERIFY(w.next()->isEnabled());
        QCOMPARE(w.dialogs.messages.size(), 1);

        // The process reports its failure; the wizard stays at step 2 and runs it again.
        const QString step2 = w.state();
        w.click("cmdSiguiente");
        const qsizetype afterFirst = w.dialogs.messages.size();
        QVERIFY(afterFirst > 0);
        QCOMPARE(w.state(), step2);
        w.click("cmdSiguiente");
        QVERIFY(w.dialogs.messages.size() > afterFirst);
        QCOMPARE(w.state(), step2);
    }

    void progressBarShowsTheLastValueOfABurst()
    {
        Window w;
        ProgressSink& sink = w.main;
        auto* bar = w.get<QProgressBar>("Main_PrB");
        sink.setProgressVisible(true);
        sink.setProgressMaximum(10000);
        for (int value = 1; value <= 9999; ++value)
            sink.setProgressValue(value);
        // A value held back shows with the next message, and the maximum at once.
        sink.setMessage(u"Etapa"_s);
        QCOMPARE(bar->value(), 9999);
        sink.setProgressValue(10000);
        QCOMPARE(bar->value(), 10000);
        sink.setProgressMaximum(3);
        sink.setProgressValue(0);
        sink.setProgressValue(1);
        QCOMPARE(bar->value(), 1);
        sink.setProgressValue(2);
        sink.setBusy(true);
        sink.setBusy(false);
        QCOMPARE(bar->value(), 2);
        QVERIFY(bar->isVisible());
    }

    void operatorQuestionsOpenOverTheWindowThatAsked()
    {
        TestHome home;
        home.createDatabases();
        home.runDeclarationSql(u"insert into catalogo values ('C1', 'General');\n"_s);
        QtOperatorDialogs dialogs;
        frmMain main(home.path(), dialogs);
        dialogs.attach(main, main.workspace());
        QVERIFY(main.load());
        main.show();
        QVERIFY(QTest::qWaitForWindowActive(&main));

        // The configuration's check, pressed with Enter, tells its result over the
        // configuration window, centred on it.
        QVERIFY(withModal(
            [&] { QTest::mouseClick(control<QPushButton>(&main, "cmdConfig"), Qt::LeftButton); },
            [](QWidget* config) {
                auto* check = control<QPushButton>(config, "cmdVerificarCatalogo");
                check->setFocus();
                QVERIFY(withModal([check] { QTest::keyClick(check, Qt::Key_Return); },
                                  [config](QWidget* box) {
                                      QCOMPARE(box->parentWidget(), config);
                                      const QPoint off = box->frameGeometry().center() -
                                                         config->frameGeometry().center();
                                      QVERIFY(off.manhattanLength() < 8);
                                      QTest::keyClick(box, Qt::Key_Return);
                                  }));
                QTest::keyClick(config, Qt::Key_Escape);
            }));

        // A question whose Yes throws work away answers No to an Enter.
        bool answer = true;
        QVERIFY(withModal(
            [&] { answer = dialogs.question(u"¿Desea reemplazarlo?"_s, DefaultAnswer::No); },
            [&main](QWidget* box) {
                QCOMPARE(box->parentWidget(), &main);
                QTest::keyClick(box, Qt::Key_Return);
            }));
        QVERIFY(!answer);
    }

    void insertAndDeleteOnTheList()
    {
        Window w(TwoInternos);
        QVERIFY(withModal([&] { QTest::keyClick(w.list(), Qt::Key_Insert); },
                          [&](QWidget* dialog) {
                              auto* numero = dialog->findChild<QLineEdit*>(u"txtInterno"_s);
                              auto* descripcion =
                                  dialog->findChild<QLineEdit*>(u"txtDescripcion"_s);
                              // Insert does not save; a number that exists is refused, the dialog
                              // stays and shows the description it would have stored.
                              QTest::keyClicks(numero, u"100"_s);
                              QTest::keyClick(numero, Qt::Key_Insert);
                              QTest::keyClick(descripcion, Qt::Key_Insert);
                              QVERIFY(w.dialogs.messages.isEmpty());
                              QTest::keyClick(descripcion, Qt::Key_F11);
                              QCOMPARE(w.dialogs.messageTexts(),
                                       QStringList{u"El interno 100 ya existe."_s});
                              QVERIFY(dialog->isVisible());
                              QCOMPARE(descripcion->text(), u"100"_s);
                              // F11 saves and closes.
                              numero->setText(u"15'0"_s);
                              QTest::keyClick(numero, Qt::Key_F11);
                              QVERIFY(!dialog->isVisible());
                          }));
        QCOMPARE(w.list()->topLevelItemCount(), 3);
        QCOMPARE(w.list()->currentItem()->text(0), u"15 0"_s);

        // Escape closes without creating anything.
        QVERIFY(withModal([&] { QTest::keyClick(w.list(), Qt::Key_Insert); },
                          [](QWidget* dialog) {
                              QTest::keyClicks(dialog->findChild<QLineEdit*>(u"txtInterno"_s),
                                               u"999"_s);
                              QTest::keyClick(dialog, Qt::Key_Escape);
                              QVERIFY(!dialog->isVisible());
                          }));
        QCOMPARE(Internos::FRAM1_CargarInternos(w.main.workspace()).size(), 3);

        // Delete asks: No keeps the interno, Yes removes it and selects the next one.
        w.dialogs.questionAnswers << false << true;
        QTest::keyClick(w.list(), Qt::Key_Delete);
        QCOMPARE(w.list()->topLevelItemCount(), 3);
        QTest::keyClick(w.list(), Qt::Key_Delete);
        QVERIFY(w.list()->findItems(u"15 0"_s, Qt::MatchExactly).isEmpty());
        QCOMPARE(w.list()->topLevelItemCount(), 2);

        // The step change takes the selected interno; a failure in it is reported plainly
        // and the step reached stays, its next-step button disabled.
        w.home.runWorkSql(u"drop table ART;\n"_s);
        w.click("cmdSiguiente");
        QCOMPARE(w.interno(), u"200"_s);
        QCOMPARE(w.dialogs.messages.size(), 2);
        QCOMPARE(w.dialogs.messages.at(1).icon, MessageIcon::None);
        const QString& error = w.dialogs.messages.at(1).text;
        QVERIFY(error.contains(u"ART"_s) && error.contains(u"\n\n"_s));
        QVERIFY(error.endsWith(u"- seccion Main_CambiarPaso lin 40"_s));
        QCOMPARE(w.state(), u"2 | Paso 2 | Abrir archivo excel para procesar | "
                            "FRAM2 | -++ | Seguiente > | off"_s);
    }
};

QTEST_MAIN(TestFrmMain)
#include "tst_frmmain.moc"
