// SPDX-License-Identifier: Apache-2.0
#include "app/QtOperatorDialogs.h"
#include "app/frmMain.h"
#include "config/ConfigHome.h"
#include "config/frmConfig.h"
#include "config/frmNewPais.h"
#include "support/Golden.h"
#include "support/Modal.h"
#include "support/ScriptedDialogs.h"
#include "support/TestHome.h"
#include "support/WorkHome.h"
#include "transfer/Transfer.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

/** The main window loaded on a fresh home with the given work data. */
struct Window {
    TestHome home;
    ScriptedDialogs dialogs;
    frmMain main{home.path(), dialogs};
    QString log;

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

    /**
     * Adds to the log, under the heading: the dialogs shown since the last note; the step, its
     * header, the panel shown, the panels enabled (+) or not (-) and the next-step button; the
     * message line; the internos listed (the current one marked) and the control with the focus.
     */
    void note(const QString& heading)
    {
        log += u"# "_s + heading + u'\n' + dialogs.takeJournal();
        QString panels, internos;
        for (const char* name : {"FRAM1", "FRAM2", "FRAM3"})
            panels += QLatin1Char(get(name)->isEnabled() ? '+' : '-');
        for (int i = 0; i < list()->topLevelItemCount(); ++i)
            internos += (list()->topLevelItem(i) == list()->currentItem() ? u" >"_s : u" "_s) +
                        list()->topLevelItem(i)->text(0);
        log += u"%1 | %2 | %3 | %4 | %5 | %6 | %7\n%8\nlist:%9 | focus "_s.arg(
                   QString::number(main.wizard().step()), text("lbPasoNro"), text("lbPasoDesc"),
                   main.findChild<QStackedWidget*>()->currentWidget()->objectName(), panels,
                   next()->text(), QLatin1String(next()->isEnabled() ? "on" : "off"),
                   text("Main_lbMensaje"), internos) +
               focusName() + u'\n';
    }
    QByteArray logged() const { return portable(log, home.path()); }
};

const QString TwoInternos = u"insert into INTN values ('100', 'Uno');\n"
                            "insert into INTN values ('200', null);\n"_s;

const QString Countries = u"insert into PAIS values ('US', 'ESTADOS UNIDOS');\n"
                          "insert into PAIS values ('JP', 'JAPON');\n"
                          "insert into PAIS values ('BR', 'BRASIL');\n"_s;

QString gridRows(QTableWidget* grid)
{
    QStringList rows;
    for (int row = 0; row < grid->rowCount(); ++row)
        rows << grid->item(row, 0)->text() + QLatin1Char('|') + grid->item(row, 1)->text();
    return rows.join(u", "_s);
}

} // namespace

/** The main window and the configuration windows, as the operator works them. */
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
        w.note(u"next with an empty list"_s);
        QVERIFY(withModal([&] { w.click("cmdConfig"); },
                          [](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); }));
        // Escape stored the catalog shown first (by description).
        QCOMPARE(w.main.workspace().settings().catalog(), u"C1"_s);
        COMPARE_GOLDEN(w.logged(), u"app/step1-empty-list.txt"_s);
    }

    // app/step2-to-step3.txt: each step reached, then the counters, the results and reports
    // opened, and each further press, which transfers (and reports) and stays at step 3.
    void internoWithRowsGoesStraightToStep3()
    {
        Window w(TwoInternos + u"insert into ART (INTNRO, ARTORD, PRCEST, PRCCRC) values "
                               "('200', 1, 'A', 'OK'), ('200', 2, null, 'POS'), "
                               "('200', 3, null, 'SUF');\n"_s);
        QTest::keyClick(w.list(), Qt::Key_Down);
        w.click("cmdSiguiente");
        w.note(u"next on "_s + w.interno());
        // A cancelled or blank choice changes nothing and says nothing; the hourglass is gone.
        w.dialogs.fileAnswers << std::nullopt << u"  "_s;
        w.click("FRAM2_CmdProcesar");
        w.click("FRAM2_CmdProcesar");
        QVERIFY(!QApplication::overrideCursor());
        w.click("cmdSiguiente");
        w.note(u"no document chosen, next"_s);
        for (const char* name : {"FRAM3_lbTotal", "FRAM3_lbErroneos", "FRAM3_lbErrPos",
                                 "FRAM3_lbErrSuf", "FRAM3_lbEnCatalogo", "FRAM3_lbNuevos"})
            w.log += w.text(name) + u' ';
        // The results list opens beside the main window, which stays usable; the other button
        // brings the same window to the front with its own list, the caption saying which.
        for (const char* list : {"FRAM3_cmdRegErr", "FRAM3_cmdRegOk"}) {
            w.click(list);
            const auto results = w.main.findChildren<QMainWindow*>();
            w.log +=
                u"\n%1 results window, modal %2: %3 | %4 rows"_s.arg(results.size())
                    .arg(QApplication::activeModalWidget() != nullptr)
                    .arg(results.value(0)->windowTitle())
                    .arg(results.value(0)->findChild<QAbstractItemView*>()->model()->rowCount());
        }
        // F10 opens its menu.
        auto* results = w.main.findChild<QMainWindow*>(u"frmDEP"_s);
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
        w.log += u'\n';
        w.click("cmdSiguiente");
        w.note(u"transfer"_s);
        w.click("cmdSiguiente");
        w.note(u"transfer again"_s);
        COMPARE_GOLDEN(w.logged(), u"app/step2-to-step3.txt"_s);
    }

    // app/step2.txt: interno 100 without rows, reached with the keyboard only (Tab reaches the
    // step button, Return presses it), needs a document: a missing one is refused; a chosen
    // one is processed, and a failing process keeps step 2 and runs again on the next press.
    // An interno with rows processes a document chosen too, rather than skip to step 3.
    void step2ProcessesTheChosenDocument()
    {
        Window w(TwoInternos);
        w.note(u"opened"_s);
        press(Qt::Key_Tab);
        press(Qt::Key_Return);
        w.note(u"Tab, Return on "_s + w.interno());
        w.dialogs.fileAnswers << w.home.file(u"no-existe.doc"_s) << w.document(u"factura.doc"_s);
        w.click("FRAM2_CmdProcesar");
        w.note(u"missing document"_s);
        w.click("FRAM2_CmdProcesar");
        w.note(u"document "_s + w.get<QLineEdit>("FRAM2_TxtArchivo")->text());
        w.click("cmdSiguiente");
        w.note(u"next"_s);
        w.click("cmdSiguiente");
        w.note(u"next again"_s);

        Window rows(TwoInternos + u"insert into ART (INTNRO, ARTORD) values ('100', 1);\n"_s);
        rows.click("cmdSiguiente");
        rows.dialogs.fileAnswers << rows.document(u"nueva.docx"_s);
        rows.click("FRAM2_CmdProcesar");
        rows.click("cmdSiguiente");
        rows.note(u"interno with rows, document chosen, next"_s);
        COMPARE_GOLDEN(w.logged() + rows.logged(), u"app/step2.txt"_s);
    }

    void progressBarShowsTheLastValueOfABurst()
    {
        Window w;
        ProgressSink& sink = w.main;
        auto* bar = w.get<QProgressBar>("Main_PrB");
        QString shown;
        sink.setProgressVisible(true);
        sink.setProgressMaximum(10000);
        for (int value = 1; value <= 9999; ++value)
            sink.setProgressValue(value);
        // A value held back shows with the next message, and the maximum at once.
        sink.setMessage(u"Etapa"_s);
        shown += QString::number(bar->value());
        sink.setProgressValue(10000);
        shown += u' ' + QString::number(bar->value());
        sink.setProgressMaximum(3);
        sink.setProgressValue(0);
        sink.setProgressValue(1);
        shown += u' ' + QString::number(bar->value());
        sink.setProgressValue(2);
        sink.setBusy(true);
        sink.setBusy(false);
        shown += u' ' + QString::number(bar->value()) + (bar->isVisible() ? u" shown"_s : u""_s);
        QCOMPARE(shown, u"9999 10000 1 2 shown"_s);
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

    // app/insert-delete.txt: Insert in the entry does not save; F11 refuses a number that
    // exists (the entry stays, showing the description it would have stored) and saves a new
    // one; Escape creates nothing; Delete asks, No keeps, Yes removes and selects the next.
    // A failure in the step change is told plainly, the step reached kept, its button off.
    void insertAndDeleteOnTheList()
    {
        Window w(TwoInternos);
        QVERIFY(withModal([&] { QTest::keyClick(w.list(), Qt::Key_Insert); },
                          [&](QWidget* dialog) {
                              auto* numero = control<QLineEdit>(dialog, "txtInterno");
                              auto* descripcion = control<QLineEdit>(dialog, "txtDescripcion");
                              QTest::keyClicks(numero, u"100"_s);
                              QTest::keyClick(numero, Qt::Key_Insert);
                              QTest::keyClick(descripcion, Qt::Key_Insert);
                              w.note(u"Insert in both boxes"_s);
                              QTest::keyClick(descripcion, Qt::Key_F11);
                              w.note(u"F11 on 100: entry open %1, description %2"_s
                                         .arg(dialog->isVisible())
                                         .arg(descripcion->text()));
                              numero->setText(u"15'0"_s);
                              QTest::keyClick(numero, Qt::Key_F11);
                              QVERIFY(!dialog->isVisible());
                          }));
        w.note(u"F11 on 15'0"_s);
        QVERIFY(withModal([&] { QTest::keyClick(w.list(), Qt::Key_Insert); },
                          [](QWidget* dialog) {
                              QTest::keyClicks(control<QLineEdit>(dialog, "txtInterno"), u"999"_s);
                              QTest::keyClick(dialog, Qt::Key_Escape);
                              QVERIFY(!dialog->isVisible());
                          }));
        w.note(u"Escape on 999: %1 stored"_s.arg(
            Internos::FRAM1_CargarInternos(w.main.workspace()).size()));
        w.dialogs.questionAnswers << false << true;
        QTest::keyClick(w.list(), Qt::Key_Delete);
        w.note(u"Delete, No"_s);
        QTest::keyClick(w.list(), Qt::Key_Delete);
        w.note(u"Delete, Yes"_s);
        w.home.runWorkSql(u"drop table ART;\n"_s);
        w.click("cmdSiguiente");
        w.note(u"next on "_s + w.interno() + u" without table ART"_s);
        COMPARE_GOLDEN(w.logged(), u"app/insert-delete.txt"_s);
    }

    // config/country-entry.txt: mode "A" with an invoice text locks it, Escape saves nothing; a
    // blank text stays open for typing, the close box saves nothing; "M" ignores the given text,
    // F11 on the empty text is refused and the entry stays open; then typed, its country chosen
    // with the keyboard and saved. The article loading's way in takes the first country.
    void entryModesRefusalAndSave()
    {
        ConfigHome fixture;
        fixture.home.runWorkSql(Countries);
        Workspace& ws = fixture.open();
        QString log;
        const auto note = [&](frmNewPais& entry, const QString& what) {
            log +=
                u"%1: open %2, text box %3, result %4, relation %5, focus %6\n"_s.arg(what)
                    .arg(entry.isVisible())
                    .arg(control<QLineEdit>(&entry, "txtPais")->isEnabled() ? u"on"_s : u"off"_s)
                    .arg(entry.result())
                    .arg(entry.relation() ? entry.relation()->text + u'|' + entry.relation()->code
                                          : u"none"_s,
                         focusName()) +
                fixture.dialogs.takeJournal();
        };
        frmNewPais locked(ws, frmNewPais::Mode::A, u"JAPAN"_s);
        locked.show();
        QVERIFY(QTest::qWaitForWindowActive(&locked));
        note(locked, u"A JAPAN"_s);
        press(Qt::Key_Escape);
        note(locked, u"Escape"_s);

        frmNewPais blank(ws, frmNewPais::Mode::A, u"  "_s);
        blank.show();
        QVERIFY(blank.close());
        note(blank, u"A blank, closed"_s);

        frmNewPais typed(ws, frmNewPais::Mode::M, u"IGNORED"_s);
        typed.show();
        QVERIFY(QTest::qWaitForWindowActive(&typed));
        note(typed, u"M IGNORED"_s);
        auto* cboOrigen = control<QComboBox>(&typed, "cboOrigen");
        QTest::keyClick(cboOrigen, Qt::Key_F11); // the window sees the key before the list
        note(typed, u"F11 on the list"_s);
        QTest::keyClicks(QApplication::focusWidget(), u" NIPPON "_s);
        press(Qt::Key_Tab);
        press(Qt::Key_Down); // BRASIL, ESTADOS UNIDOS, JAPON
        press(Qt::Key_Down);
        QTest::keyClick(control<QLineEdit>(&typed, "txtPais"), Qt::Key_F11);
        note(typed, u"typed, Tab, Down, Down, F11"_s);

        std::optional<OriginRelation> saved;
        QVERIFY(withModal(
            [&] { saved = frmNewPais::open(ws, frmNewPais::Mode::A, u"BRAZIL"_s, nullptr); },
            [](QWidget* opened) { QTest::keyClick(opened, Qt::Key_F11); }));
        log += u"opened, F11: "_s + saved.value_or(OriginRelation{}).code + u"\nstored: "_s +
               fixture.relations().join(u", "_s) + u'\n';
        COMPARE_GOLDEN(log.toUtf8(), u"config/country-entry.txt"_s);
    }

    // config/config-window.txt: the catalog in use and the relations shown, the keyboard on the
    // catalogs; Enter there checks nothing; on the check button it checks the catalog in use,
    // which passes: a message, no report. The one chosen in the list fails: its report, saved as
    // PDF from the preview with Ctrl+S. The close box stores nothing, Escape stores the chosen
    // catalog, and the window opens again where it was left. An unreadable catalog table is
    // told; the relations still come, Escape closes and keeps the stored catalog.
    void configShowsChecksAndStoresTheCatalog()
    {
        ConfigHome fixture;
        fixture.home.runDeclarationSql(
            u"insert into catalogo values ('7', 'REPUESTOS');\n"
            "insert into catalogo values ('3', 'GENERAL');\n"
            "insert into catarticulos (idcatalogo, idarticulo, ncm, sufijos) values "
            "('7', 'CT-1', '3926.90.90.100K', 'SIN SUFIJOS'), "
            "('3', 'CT-1', '3926.90.90.100K', 'SIN SUFIJOS'), "
            "('3', 'OLD-9', '3926.90.90.100X', 'SIN SUFIJOS');\n"_s);
        fixture.home.runNomenclatorSql(
            u"insert into ncm ([001], [002], [003]) values ('3926.90.90', '100', 'K');\n"_s);
        fixture.home.setSetting(u"INTCAT"_s, u"7"_s);
        fixture.home.runWorkSql(u"insert into ORG values ('USA', 'US');\n"
                                "insert into ORG values ('JAPAN', NULL);\n"_s);
        Workspace& ws = fixture.open();
        QString log;
        const auto note = [&](QWidget* window, const QString& what) {
            log += u"%1: %2 | %3 | focus %4 | stored %5\n"_s.arg(
                       what, control<QComboBox>(window, "cboCatalogo")->currentText(),
                       gridRows(control<QTableWidget>(window, "GridOrigen")), focusName(),
                       ws.settings().storedCatalog()) +
                   fixture.dialogs.takeJournal();
        };
        frmConfig first(ws);
        first.show();
        QVERIFY(QTest::qWaitForWindowActive(&first));
        note(&first, u"opened"_s);
        auto* check = control<QPushButton>(&first, "cmdVerificarCatalogo");
        press(Qt::Key_Return);
        check->setFocus();
        press(Qt::Key_Return);
        note(&first, u"Enter on the list, Enter on the check"_s);

        QTest::keyClick(control<QComboBox>(&first, "cboCatalogo"), Qt::Key_Up);
        const QString pdf = fixture.home.file(u"catalogo"_s);
        fixture.dialogs.fileAnswers << pdf;
        QVERIFY(withModal([&] { QTest::mouseClick(check, Qt::LeftButton); },
                          [&](QWidget* modal) {
                              log += QLatin1String(modal->metaObject()->className()) + u": "_s +
                                     modal->windowTitle() + u'\n';
                              press(Qt::Key_S, Qt::ControlModifier);
                          }));
        QProcess text;
        text.start(u"pdftotext"_s, {u"-layout"_s, pdf + u".pdf"_s, u"-"_s});
        QVERIFY(text.waitForFinished());
        log += QString::fromUtf8(text.readAllStandardOutput()).simplified() + u'\n';
        QVERIFY(first.close());
        note(&first, u"Up, check clicked, closed"_s);

        frmConfig second(ws);
        second.show();
        QVERIFY(QTest::qWaitForWindowExposed(&second));
        const QRect moved = second.geometry().adjusted(30, 40, 150, 200);
        second.setGeometry(moved);
        QTest::keyClick(control<QComboBox>(&second, "cboCatalogo"), Qt::Key_Up);
        QTest::keyClick(control<QComboBox>(&second, "cboCatalogo"), Qt::Key_Escape);
        note(&second, u"moved, Up, Escape, visible %1"_s.arg(second.isVisible()));

        fixture.home.runDeclarationSql(u"drop table catalogo;\n"_s);
        frmConfig unreadable(ws);
        unreadable.show();
        QVERIFY(QTest::qWaitForWindowExposed(&unreadable));
        QCOMPARE(unreadable.geometry(), moved);
        note(&unreadable, u"without a catalog table"_s);
        QTest::keyClick(&unreadable, Qt::Key_Escape);
        note(&unreadable, u"Escape, visible %1"_s.arg(unreadable.isVisible()));
        COMPARE_GOLDEN(portable(log, fixture.home.path()), u"config/config-window.txt"_s);
    }

    // config/origin-grid.txt: Delete on the relations grid removes the current one, and nothing
    // once empty; an entry left without saving does not read the grid again (rows added meanwhile
    // stay unseen); a saved one does. A pair stored twice goes at once from the table; the grid
    // loses only the current row.
    void configGridInsertAndDelete()
    {
        ConfigHome fixture;
        fixture.home.runWorkSql(Countries + u"insert into ORG values ('USA', 'US');\n"_s);
        Workspace& ws = fixture.open();
        frmConfig window(ws);
        window.show();
        auto* grid = control<QTableWidget>(&window, "GridOrigen");
        QString log;
        const auto note = [&](const QString& what) {
            log += what + u": "_s + gridRows(grid) + u" | stored "_s +
                   fixture.relations().join(u", "_s) + u'\n' + fixture.dialogs.takeJournal();
        };
        QTest::keyClick(grid, Qt::Key_Delete);
        note(u"Delete"_s);
        QTest::keyClick(grid, Qt::Key_Delete);
        note(u"Delete"_s);
        QVERIFY(withModal([grid] { QTest::keyClick(grid, Qt::Key_Insert); },
                          [&fixture](QWidget* entry) {
                              fixture.home.runWorkSql(
                                  u"insert into ORG values ('ALEMANIA', 'DE');\n"
                                  "insert into ORG values ('BRAZIL', 'BR');\n"
                                  "insert into ORG values ('CHINA', 'CN');\n"
                                  "insert into ORG values ('ALEMANIA', 'DE');\n"_s);
                              QTest::keyClick(entry, Qt::Key_Escape);
                          }));
        note(u"rows added, Insert, Escape, window shown %1"_s.arg(window.isVisible()));
        QVERIFY(withModal([grid] { QTest::keyClick(grid, Qt::Key_Insert); },
                          [](QWidget* entry) {
                              QTest::keyClicks(control<QLineEdit>(entry, "txtPais"), u"JAPAN"_s);
                              control<QComboBox>(entry, "cboOrigen")->setCurrentIndex(2);
                              QTest::keyClick(entry, Qt::Key_F11);
                          }));
        note(u"Insert, JAPAN saved"_s);
        QTest::keyClick(grid, Qt::Key_Down);
        QTest::keyClick(grid, Qt::Key_Down);
        QTest::keyClick(grid, Qt::Key_Delete);
        note(u"Down, Down, Delete"_s);
        grid->setCurrentCell(0, 0);
        QTest::keyClick(grid, Qt::Key_Delete);
        note(u"first row deleted"_s);
        COMPARE_GOLDEN(log.toUtf8(), u"config/origin-grid.txt"_s);
    }
    // config/revert-window.txt: interno 100 transferred into catalog CAT1 (one entry inserted,
    // one updated). The revert button is reached with Tab and pressed with the space bar;
    // answered No, nothing changes. Clicked and answered Yes, the catalog is as before.
    void configRevertsATransfersCatalog()
    {
        ConfigHome fixture;
        fixture.home.load(u"transfer/interno.work.sql"_s);
        fixture.home.load(u"transfer/interno.declaration.sql"_s);
        fixture.home.setSetting(u"INTCAT"_s, u"CAT1"_s);
        Workspace& ws = fixture.open();
        const auto catalog = [&ws] {
            return queryRows(ws.declaration(), u"select * from catarticulos order by 1, 2"_s);
        };
        const QStringList original = catalog();
        QCOMPARE(FRM3_Tranferir(ws, u"100"_s), TransferOutcome::Transferred);
        const QStringList transferred = catalog();
        QVERIFY(transferred != original);
        fixture.dialogs.takeJournal();

        frmConfig window(ws);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        for (int i = 0; i < 3; ++i)
            press(Qt::Key_Tab);
        QString log = u"focus "_s + focusName() + u'\n';
        fixture.dialogs.textAnswers << u"100"_s << u"100"_s;
        fixture.dialogs.questionAnswers << false << true;
        press(Qt::Key_Space);
        QCOMPARE(catalog(), transferred);
        QTest::mouseClick(control<QPushButton>(&window, "cmdRevertirCatalogo"), Qt::LeftButton);
        QCOMPARE(catalog(), original);
        log += fixture.dialogs.takeJournal();
        COMPARE_GOLDEN(log.toUtf8(), u"config/revert-window.txt"_s);
    }
};

QTEST_MAIN(TestFrmMain)
#include "tst_frmmain.moc"
