#include "app/frmInterno.h"
#include "app/frmMain.h"
#include "process/Statistics.h"
#include "support/ScriptedDialogs.h"
#include "support/TestHome.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace {

/** The main window loaded on a fresh home with the given work data. */
struct Window {
    TestHome home;
    ScriptedDialogs dialogs;
    std::unique_ptr<frmMain> main;

    explicit Window(const QString& workSql = {})
    {
        home.createDatabases();
        if (!workSql.isEmpty())
            home.runWorkSql(workSql);
        main = std::make_unique<frmMain>(home.path(), dialogs);
        QVERIFY(main->load());
        main->show();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
    }

    template <typename T> T* get(const char* name) const
    {
        auto* widget = main->findChild<T*>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    QString text(const char* name) const { return get<QLabel>(name)->text(); }
    QPushButton* next() const { return get<QPushButton>("cmdSiguiente"); }
    QTreeWidget* list() const { return get<QTreeWidget>("FRAM1LstInternos"); }
    QWidget* frontPanel() const { return main->findChild<QStackedWidget*>()->currentWidget(); }
    void clickNext() const { QTest::mouseClick(next(), Qt::LeftButton); }
    QString document(const QString& name) const
    {
        QFile file(home.file(name));
        if (file.open(QIODevice::WriteOnly))
            file.write("documento");
        return file.fileName();
    }
};

const QString TwoInternos = QStringLiteral("insert into INTN values ('100', 'Uno');\n"
                                           "insert into INTN values ('200', null);\n");

} // namespace

class TestFrmMain : public QObject {
    Q_OBJECT

    /** Runs the action while the dialog it opens is driven by drive(dialog). */
    static void withDialog(const std::function<void()>& action,
                           const std::function<void(frmInterno*)>& drive)
    {
        QTimer::singleShot(0, [drive] {
            auto* dialog = qobject_cast<frmInterno*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QVERIFY(QTest::qWaitForWindowActive(dialog));
            drive(dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        action();
    }

private Q_SLOTS:
    void step1WithAnEmptyListStays()
    {
        Window w;
        QCOMPARE(w.text("lbPasoNro"), QStringLiteral("Paso 1"));
        QCOMPARE(w.text("lbPasoDesc"), QStringLiteral("Seleccionar el interno a procesar"));
        QCOMPARE(w.frontPanel()->objectName(), QStringLiteral("FRAM1"));
        QVERIFY(!w.get<QProgressBar>("Main_PrB")->isVisible());
        QCOMPARE(w.next()->text(), QStringLiteral("Seguiente >"));
        QCOMPARE(w.text("FRAM3_lbTotal"), QStringLiteral("0000"));
        QVERIFY(w.text("lbVersion").startsWith(QStringLiteral("Versión: ")));

        w.clickNext();
        QCOMPARE(w.dialogs.messages.size(), 1);
        QCOMPARE(w.dialogs.messages.at(0).icon, MessageIcon::Exclamation);
        QCOMPARE(w.dialogs.messages.at(0).text,
                 QStringLiteral("Debe seleccionar un interno para continuar, presione [ INSERT ] "
                                "para crear uno."));
        QCOMPARE(w.text("lbPasoNro"), QStringLiteral("Paso 1"));
        QCOMPARE(w.frontPanel()->objectName(), QStringLiteral("FRAM1"));
        QVERIFY(w.get<QWidget>("FRAM1")->isEnabled());
        QCOMPARE(w.main->workspace().currentStep, 1);
    }

    void keyboardReachesTheNextStep()
    {
        Window w(TwoInternos);
        QCOMPARE(QApplication::focusWidget(), w.list());
        QTest::keyClick(w.list(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w.next());
        QTest::keyClick(w.next(), Qt::Key_Return);
        QCOMPARE(w.main->workspace().currentStep, 2);
        QCOMPARE(w.main->workspace().currentInterno, QStringLiteral("100"));
        // Without rows the document is chosen first.
        QCOMPARE(QApplication::focusWidget(), w.get<QWidget>("FRAM2_CmdProcesar"));
    }

    void internoWithRowsGoesStraightToStep3()
    {
        Window w(TwoInternos +
                 QStringLiteral("insert into ART (INTNRO, ARTORD) values ('200', 1);\n"
                                "insert into ART (INTNRO, ARTORD) values ('200', 2);\n"));
        QCOMPARE(w.list()->topLevelItemCount(), 2);
        QCOMPARE(w.list()->topLevelItem(1)->text(1), QString());
        QTest::keyClick(w.list(), Qt::Key_Down);
        w.clickNext();
        QCOMPARE(w.main->workspace().currentInterno, QStringLiteral("200"));
        QCOMPARE(w.text("lbPasoNro"), QStringLiteral("Paso 2"));
        QCOMPARE(w.text("lbPasoDesc"), QStringLiteral("Abrir archivo excel para procesar"));
        QCOMPARE(w.frontPanel()->objectName(), QStringLiteral("FRAM2"));
        QVERIFY(!w.get<QWidget>("FRAM1")->isEnabled());
        QVERIFY(w.next()->isEnabled());
        QCOMPARE(w.text("Main_lbMensaje"),
                 QStringLiteral("Este interno contiene registros haga click en SIGUIENTE, para "
                                "depurar."));

        w.clickNext();
        QVERIFY(w.dialogs.messages.isEmpty());
        QCOMPARE(w.main->workspace().currentStep, 3);
        QCOMPARE(w.text("lbPasoNro"), QStringLiteral("Paso 3"));
        QCOMPARE(w.text("lbPasoDesc"), QStringLiteral("Depuración de Datos procesadoss"));
        QCOMPARE(w.frontPanel()->objectName(), QStringLiteral("FRAM3"));
        QVERIFY(!w.get<QWidget>("FRAM2")->isEnabled());
        QVERIFY(w.text("Main_lbMensaje").isEmpty());
        QCOMPARE(w.next()->text(), QStringLiteral("Transferir"));
        QVERIFY(w.next()->isEnabled());
        const ProcessCounters counters =
            FRAM3_CargarEstadisticas(w.main->workspace(), QStringLiteral("200"));
        QCOMPARE(w.text("FRAM3_lbTotal"), formatCounter(counters.total));
        QCOMPARE(w.text("FRAM3_lbErroneos"), formatCounter(counters.conErrores));
        QCOMPARE(w.text("FRAM3_lbErrPos"), formatCounter(counters.errPosicion));
        QCOMPARE(w.text("FRAM3_lbErrSuf"), formatCounter(counters.errSufijos));
        QCOMPARE(w.text("FRAM3_lbEnCatalogo"), formatCounter(counters.enCatalogo));
        QCOMPARE(w.text("FRAM3_lbNuevos"), formatCounter(counters.nuevos));

        // Results and reports are not available yet; the operator is told so.
        QTest::mouseClick(w.get<QPushButton>("FRAM3_cmdRegErr"), Qt::LeftButton);
        QTest::mouseClick(w.get<QPushButton>("FRAM3_cmdRepOK"), Qt::LeftButton);
        QCOMPARE(w.dialogs.messageTexts(),
                 QStringList(2, QStringLiteral("Esta función todavía no está disponible.")));

        // Each further click transfers (and reports) and stays at step 3.
        w.clickNext();
        const qsizetype afterFirst = w.dialogs.messages.size();
        QVERIFY(afterFirst > 2);
        w.clickNext();
        QVERIFY(w.dialogs.messages.size() > afterFirst);
        QCOMPARE(w.main->workspace().currentStep, 3);
        QCOMPARE(w.next()->text(), QStringLiteral("Transferir"));
    }

    void documentChoiceAndFailedProcess()
    {
        Window w(TwoInternos);
        w.clickNext();
        QCOMPARE(w.main->workspace().currentInterno, QStringLiteral("100"));
        QVERIFY(!w.next()->isEnabled());
        QVERIFY(w.main->wizard().nextTag().isEmpty());
        auto* procesar = w.get<QPushButton>("FRAM2_CmdProcesar");
        auto* archivo = w.get<QLineEdit>("FRAM2_TxtArchivo");

        const QString missing = w.home.file(QStringLiteral("no-existe.doc"));
        w.dialogs.fileAnswers << missing << std::nullopt;
        QTest::mouseClick(procesar, Qt::LeftButton);
        QCOMPARE(w.dialogs.messages.size(), 1);
        QCOMPARE(w.dialogs.messages.at(0).icon, MessageIcon::Exclamation);
        QCOMPARE(w.dialogs.messages.at(0).text,
                 QStringLiteral("No se encuentra el archivo seleccionado \n") + missing);
        QCOMPARE(archivo->text(), missing);
        QVERIFY(!w.next()->isEnabled());
        QTest::mouseClick(procesar, Qt::LeftButton);
        QCOMPARE(archivo->text(), missing);
        QVERIFY(!w.next()->isEnabled());

        const QString document = w.document(QStringLiteral("factura.doc"));
        w.dialogs.fileAnswers << document;
        QTest::mouseClick(procesar, Qt::LeftButton);
        QCOMPARE(archivo->text(), document);
        QVERIFY(w.next()->isEnabled());
        QCOMPARE(w.dialogs.messages.size(), 1);

        // The process reports its failure; the wizard stays at step 2 and runs it again.
        w.clickNext();
        const qsizetype afterFirst = w.dialogs.messages.size();
        QVERIFY(afterFirst > 1);
        QCOMPARE(w.main->workspace().currentStep, 2);
        QCOMPARE(w.text("lbPasoNro"), QStringLiteral("Paso 2"));
        QCOMPARE(w.frontPanel()->objectName(), QStringLiteral("FRAM2"));
        QVERIFY(w.get<QWidget>("FRAM2")->isEnabled());
        QCOMPARE(w.next()->text(), QStringLiteral("Seguiente >"));
        w.clickNext();
        QVERIFY(w.dialogs.messages.size() > afterFirst);
        QCOMPARE(w.main->workspace().currentStep, 2);
    }

    void chosenDocumentIsProcessedEvenWithRows()
    {
        Window w(TwoInternos +
                 QStringLiteral("insert into ART (INTNRO, ARTORD) values ('100', 1);\n"));
        w.clickNext();
        QCOMPARE(w.main->wizard().nextTag(), QStringLiteral("OK"));
        w.dialogs.fileAnswers << w.document(QStringLiteral("nueva.docx"));
        QTest::mouseClick(w.get<QPushButton>("FRAM2_CmdProcesar"), Qt::LeftButton);
        QVERIFY(w.main->wizard().nextTag().isEmpty());
        w.clickNext();
        // Processed, not skipped: the failing process reports and keeps the wizard at step 2.
        QVERIFY(!w.dialogs.messages.isEmpty());
        QCOMPARE(w.main->workspace().currentStep, 2);
    }

    void insertAndDeleteOnTheList()
    {
        Window w(TwoInternos);
        withDialog([&] { QTest::keyClick(w.list(), Qt::Key_Insert); },
                   [](frmInterno* dialog) {
                       QTest::keyClicks(dialog->findChild<QLineEdit*>(QStringLiteral("txtInterno")),
                                        QStringLiteral("15'0"));
                       QTest::keyClick(dialog, Qt::Key_F11);
                   });
        QCOMPARE(w.list()->topLevelItemCount(), 3);
        QCOMPARE(w.list()->currentItem()->text(0), QStringLiteral("15 0"));
        QCOMPARE(w.list()->currentItem()->text(1), QStringLiteral("15 0"));

        // Escape creates nothing and leaves the list as it was.
        withDialog([&] { QTest::keyClick(w.list(), Qt::Key_Insert); },
                   [](frmInterno* dialog) {
                       QTest::keyClicks(dialog->findChild<QLineEdit*>(QStringLiteral("txtInterno")),
                                        QStringLiteral("999"));
                       QTest::keyClick(dialog, Qt::Key_Escape);
                   });
        QCOMPARE(w.list()->topLevelItemCount(), 3);

        w.list()->setCurrentItem(w.list()->topLevelItem(1));
        w.dialogs.questionAnswers << false << true;
        QTest::keyClick(w.list(), Qt::Key_Delete);
        QCOMPARE(w.list()->topLevelItemCount(), 3);
        QTest::keyClick(w.list(), Qt::Key_Delete);
        QCOMPARE(w.dialogs.questions,
                 QStringList(2, QStringLiteral("Desea eliminar el Interno 15 0?")));
        QCOMPARE(w.list()->topLevelItemCount(), 2);
        QCOMPARE(w.list()->topLevelItem(0)->text(0), QStringLiteral("100"));
        QCOMPARE(w.list()->topLevelItem(1)->text(0), QStringLiteral("200"));
        QCOMPARE(Internos::FRAM1_CargarInternos(w.main->workspace()).size(), 2);
        QVERIFY(w.dialogs.messages.isEmpty());

        // The step change takes the selected interno.
        w.clickNext();
        QCOMPARE(w.main->workspace().currentInterno, w.list()->currentItem()->text(0));
    }

    void internoDialogKeys()
    {
        Window w(QStringLiteral("insert into INTN values ('100', 'Uno');\n"));
        frmInterno dialog(w.main->workspace());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Nuevo Interno"));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto* numero = dialog.findChild<QLineEdit*>(QStringLiteral("txtInterno"));
        auto* descripcion = dialog.findChild<QLineEdit*>(QStringLiteral("txtDescripcion"));
        QVERIFY(numero && descripcion);

        // F11 without a number: the message, the dialog stays.
        QTest::keyClick(numero, Qt::Key_F11);
        QCOMPARE(w.dialogs.messageTexts(),
                 QStringList{QStringLiteral("Debe ingresar el número interno")});
        QVERIFY(dialog.isVisible());

        // Insert does not save; a number that exists is refused and the dialog stays.
        QTest::keyClicks(numero, QStringLiteral("100"));
        QTest::keyClick(numero, Qt::Key_Insert);
        QTest::keyClick(descripcion, Qt::Key_Insert);
        QVERIFY(dialog.isVisible());
        QCOMPARE(w.dialogs.messages.size(), 1);
        QTest::keyClick(descripcion, Qt::Key_F11);
        QCOMPARE(w.dialogs.messages.size(), 2);
        QCOMPARE(w.dialogs.messages.at(1).text, QStringLiteral("El interno 100 ya existe."));
        QVERIFY(dialog.isVisible());
        QVERIFY(!dialog.created());
        QCOMPARE(descripcion->text(), QStringLiteral("100"));

        // F11 saves and closes.
        numero->clear();
        descripcion->clear();
        QTest::keyClicks(numero, QStringLiteral("300"));
        QTest::keyClicks(descripcion, QStringLiteral("Tercero"));
        QTest::keyClick(descripcion, Qt::Key_F11);
        QVERIFY(!dialog.isVisible());
        QVERIFY(dialog.created());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const QList<InternoRow> list = Internos::FRAM1_CargarInternos(w.main->workspace());
        QCOMPARE(list.size(), 2);
        QCOMPARE(list.at(1).descripcion, QStringLiteral("Tercero"));

        // Escape leaves without saving.
        frmInterno other(w.main->workspace());
        other.show();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        auto* otherNumero = other.findChild<QLineEdit*>(QStringLiteral("txtInterno"));
        QTest::keyClicks(otherNumero, QStringLiteral("400"));
        QTest::keyClick(otherNumero, Qt::Key_Escape);
        QVERIFY(!other.isVisible());
        QVERIFY(!other.created());
        QCOMPARE(Internos::FRAM1_CargarInternos(w.main->workspace()).size(), 2);
    }

    void configButtonOpensTheConfiguration()
    {
        Window w(TwoInternos);
        w.home.runDeclarationSql(
            QStringLiteral("insert into catalogo values ('C2', 'Repuestos');\n"
                           "insert into catalogo values ('C1', 'General');\n"));
        bool opened = false;
        QTimer::singleShot(0, [&opened] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            QCOMPARE(dialog->objectName(), QStringLiteral("frmConfig"));
            opened = true;
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        QTest::mouseClick(w.get<QPushButton>("cmdConfig"), Qt::LeftButton);
        QVERIFY(opened);
        // Escape stored the catalog shown first (by description).
        QCOMPARE(w.main->workspace().INTCAT, QStringLiteral("C1"));
    }
};

QTEST_MAIN(TestFrmMain)
#include "tst_frmmain.moc"
