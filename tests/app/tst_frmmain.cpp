#include "app/frmMain.h"
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

    template <typename T = QWidget> T* get(const char* name) const
    {
        auto* widget = main->findChild<T*>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    QString text(const char* name) const { return get<QLabel>(name)->text(); }
    QPushButton* next() const { return get<QPushButton>("cmdSiguiente"); }
    QTreeWidget* list() const { return get<QTreeWidget>("FRAM1LstInternos"); }
    QString front() const
    {
        return main->findChild<QStackedWidget*>()->currentWidget()->objectName();
    }
    int step() const { return main->workspace().currentStep; }
    void click(const char* name) const
    {
        QTest::mouseClick(get<QPushButton>(name), Qt::LeftButton);
    }
};

const QString TwoInternos = QStringLiteral("insert into INTN values ('100', 'Uno');\n"
                                           "insert into INTN values ('200', null);\n");

/** Runs the action while drive(dialog) works the modal dialog it opens. */
void withModal(const std::function<void()>& action, const std::function<void(QWidget*)>& drive)
{
    bool opened = false;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        QVERIFY(dialog && QTest::qWaitForWindowActive(dialog));
        opened = true;
        drive(dialog);
        if (dialog->isVisible())
            QTest::keyClick(dialog, Qt::Key_Escape);
    });
    action();
    QVERIFY(opened);
}

} // namespace

class TestFrmMain : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void step1WithAnEmptyListStays()
    {
        Window w;
        QVERIFY(!w.get<QProgressBar>("Main_PrB")->isVisible());
        QCOMPARE(w.text("FRAM3_lbTotal"), QStringLiteral("0000"));
        QVERIFY(w.text("lbVersion").startsWith(QStringLiteral("Versión: ")));

        w.click("cmdSiguiente");
        QCOMPARE(w.dialogs.messages.size(), 1);
        QCOMPARE(w.dialogs.messages.at(0).icon, MessageIcon::Exclamation);
        QCOMPARE(w.dialogs.messages.at(0).text,
                 QStringLiteral("Debe seleccionar un interno para continuar, presione [ INSERT ] "
                                "para crear uno."));
        QCOMPARE(w.step(), 1);
        QCOMPARE(w.text("lbPasoNro"), QStringLiteral("Paso 1"));
        QCOMPARE(w.text("lbPasoDesc"), QStringLiteral("Seleccionar el interno a procesar"));
        QCOMPARE(w.front(), QStringLiteral("FRAM1"));
        QVERIFY(w.get("FRAM1")->isEnabled());
        QCOMPARE(w.next()->text(), QStringLiteral("Seguiente >"));
    }

    void internoWithRowsGoesStraightToStep3()
    {
        Window w(TwoInternos +
                 QStringLiteral("insert into ART (INTNRO, ARTORD, PRCEST, PRCCRC) values "
                                "('200', 1, 'A', 'OK'), ('200', 2, null, 'POS'), "
                                "('200', 3, null, 'SUF');\n"));
        QCOMPARE(w.list()->topLevelItemCount(), 2);
        QTest::keyClick(w.list(), Qt::Key_Down);
        w.click("cmdSiguiente");
        QCOMPARE(w.main->workspace().currentInterno, QStringLiteral("200"));
        QCOMPARE(w.text("lbPasoNro"), QStringLiteral("Paso 2"));
        QCOMPARE(w.text("lbPasoDesc"), QStringLiteral("Abrir archivo excel para procesar"));
        QCOMPARE(w.front(), QStringLiteral("FRAM2"));
        QVERIFY(!w.get("FRAM1")->isEnabled());
        QVERIFY(w.next()->isEnabled());
        QCOMPARE(w.text("Main_lbMensaje"),
                 QStringLiteral("Este interno contiene registros haga click en SIGUIENTE, para "
                                "depurar."));

        w.click("cmdSiguiente");
        QVERIFY(w.dialogs.messages.isEmpty());
        QCOMPARE(w.step(), 3);
        QCOMPARE(w.text("lbPasoNro"), QStringLiteral("Paso 3"));
        QCOMPARE(w.text("lbPasoDesc"), QStringLiteral("Depuración de Datos procesadoss"));
        QCOMPARE(w.front(), QStringLiteral("FRAM3"));
        QVERIFY(!w.get("FRAM2")->isEnabled());
        QVERIFY(w.text("Main_lbMensaje").isEmpty());
        QCOMPARE(w.next()->text(), QStringLiteral("Transferir"));
        QVERIFY(w.next()->isEnabled());
        const QStringList shown = {w.text("FRAM3_lbTotal"),      w.text("FRAM3_lbErroneos"),
                                   w.text("FRAM3_lbErrPos"),     w.text("FRAM3_lbErrSuf"),
                                   w.text("FRAM3_lbEnCatalogo"), w.text("FRAM3_lbNuevos")};
        QCOMPARE(shown, QStringList({QStringLiteral("0003"), QStringLiteral("0002"),
                                     QStringLiteral("0001"), QStringLiteral("0001"),
                                     QStringLiteral("0001"), QStringLiteral("0002")}));

        // Results and reports are not available yet; the operator is told so.
        w.click("FRAM3_cmdRegErr");
        w.click("FRAM3_cmdRepOK");
        QCOMPARE(w.dialogs.messageTexts(),
                 QStringList(2, QStringLiteral("Esta función todavía no está disponible.")));

        // Each further click transfers (and reports) and stays at step 3.
        w.click("cmdSiguiente");
        const qsizetype afterFirst = w.dialogs.messages.size();
        QVERIFY(afterFirst > 2);
        w.click("cmdSiguiente");
        QVERIFY(w.dialogs.messages.size() > afterFirst);
        QCOMPARE(w.step(), 3);
        QCOMPARE(w.next()->text(), QStringLiteral("Transferir"));
    }

    void withoutRowsADocumentIsNeededAndAFailedProcessStays()
    {
        Window w(TwoInternos);
        // Keyboard only: the list has the focus, Tab reaches the button, Return clicks it.
        QCOMPARE(QApplication::focusWidget(), w.list());
        QTest::keyClick(w.list(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w.next());
        QTest::keyClick(w.next(), Qt::Key_Return);
        QCOMPARE(w.main->workspace().currentInterno, QStringLiteral("100"));
        QCOMPARE(QApplication::focusWidget(), w.get("FRAM2_CmdProcesar"));
        QVERIFY(!w.next()->isEnabled());
        auto* archivo = w.get<QLineEdit>("FRAM2_TxtArchivo");

        const QString missing = w.home.file(QStringLiteral("no-existe.doc"));
        w.dialogs.fileAnswers << missing;
        w.click("FRAM2_CmdProcesar");
        QCOMPARE(w.dialogs.messages.size(), 1);
        QCOMPARE(w.dialogs.messages.at(0).icon, MessageIcon::Exclamation);
        QCOMPARE(w.dialogs.messages.at(0).text,
                 QStringLiteral("No se encuentra el archivo seleccionado \n") + missing);
        QCOMPARE(archivo->text(), missing);
        QVERIFY(!w.next()->isEnabled());

        QFile document(w.home.file(QStringLiteral("factura.doc")));
        QVERIFY(document.open(QIODevice::WriteOnly) && document.write("documento") > 0);
        document.close();
        w.dialogs.fileAnswers << document.fileName();
        w.click("FRAM2_CmdProcesar");
        QCOMPARE(archivo->text(), document.fileName());
        QVERIFY(w.next()->isEnabled());
        QCOMPARE(w.dialogs.messages.size(), 1);

        // The process reports its failure; the wizard stays at step 2 and runs it again.
        w.click("cmdSiguiente");
        const qsizetype afterFirst = w.dialogs.messages.size();
        QVERIFY(afterFirst > 1);
        QCOMPARE(w.step(), 2);
        QCOMPARE(w.front(), QStringLiteral("FRAM2"));
        QVERIFY(w.get("FRAM2")->isEnabled());
        QCOMPARE(w.next()->text(), QStringLiteral("Seguiente >"));
        w.click("cmdSiguiente");
        QVERIFY(w.dialogs.messages.size() > afterFirst);
        QCOMPARE(w.step(), 2);
    }

    void insertAndDeleteOnTheList()
    {
        Window w(TwoInternos);
        withModal([&] { QTest::keyClick(w.list(), Qt::Key_Insert); },
                  [&](QWidget* dialog) {
                      QCOMPARE(dialog->windowTitle(), QStringLiteral("Nuevo Interno"));
                      auto* numero = dialog->findChild<QLineEdit*>(QStringLiteral("txtInterno"));
                      auto* descripcion =
                          dialog->findChild<QLineEdit*>(QStringLiteral("txtDescripcion"));
                      // Without a number: the message, the dialog stays.
                      QTest::keyClick(numero, Qt::Key_F11);
                      QCOMPARE(w.dialogs.messageTexts(),
                               QStringList{QStringLiteral("Debe ingresar el número interno")});
                      // Insert does not save; a number that exists is refused, the dialog stays
                      // and shows the description it would have stored.
                      QTest::keyClicks(numero, QStringLiteral("100"));
                      QTest::keyClick(numero, Qt::Key_Insert);
                      QTest::keyClick(descripcion, Qt::Key_Insert);
                      QCOMPARE(w.dialogs.messages.size(), 1);
                      QTest::keyClick(descripcion, Qt::Key_F11);
                      QCOMPARE(w.dialogs.messages.size(), 2);
                      QVERIFY(dialog->isVisible());
                      QCOMPARE(descripcion->text(), QStringLiteral("100"));
                      // F11 saves and closes.
                      numero->setText(QStringLiteral("15'0"));
                      QTest::keyClick(numero, Qt::Key_F11);
                      QVERIFY(!dialog->isVisible());
                  });
        QCOMPARE(w.list()->topLevelItemCount(), 3);
        QCOMPARE(w.list()->currentItem()->text(0), QStringLiteral("15 0"));

        // Escape closes without creating anything.
        withModal([&] { QTest::keyClick(w.list(), Qt::Key_Insert); },
                  [](QWidget* dialog) {
                      QTest::keyClicks(dialog->findChild<QLineEdit*>(QStringLiteral("txtInterno")),
                                       QStringLiteral("999"));
                      QTest::keyClick(dialog, Qt::Key_Escape);
                      QVERIFY(!dialog->isVisible());
                  });
        QCOMPARE(w.list()->topLevelItemCount(), 3);
        QCOMPARE(Internos::FRAM1_CargarInternos(w.main->workspace()).size(), 3);

        // Delete asks: No keeps the interno, Yes removes it and selects the next one.
        w.dialogs.questionAnswers << false << true;
        QTest::keyClick(w.list(), Qt::Key_Delete);
        QCOMPARE(w.list()->topLevelItemCount(), 3);
        QTest::keyClick(w.list(), Qt::Key_Delete);
        QCOMPARE(w.dialogs.questions.size(), 2);
        QCOMPARE(w.list()->topLevelItemCount(), 2);
        QVERIFY(w.list()->findItems(QStringLiteral("15 0"), Qt::MatchExactly).isEmpty());
        QCOMPARE(w.dialogs.messages.size(), 2);
        w.click("cmdSiguiente");
        QCOMPARE(w.main->workspace().currentInterno, QStringLiteral("200"));
    }

    void configButtonOpensTheConfiguration()
    {
        Window w(TwoInternos);
        w.home.runDeclarationSql(
            QStringLiteral("insert into catalogo values ('C2', 'Repuestos');\n"
                           "insert into catalogo values ('C1', 'General');\n"));
        withModal([&] { w.click("cmdConfig"); },
                  [](QWidget* dialog) {
                      QCOMPARE(dialog->objectName(), QStringLiteral("frmConfig"));
                      QTest::keyClick(dialog, Qt::Key_Escape);
                  });
        // Escape stored the catalog shown first (by description).
        QCOMPARE(w.main->workspace().INTCAT, QStringLiteral("C1"));
    }
};

QTEST_MAIN(TestFrmMain)
#include "tst_frmmain.moc"
