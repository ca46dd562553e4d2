#include "app/Translation.h"
#include "app/frmMain.h"
#include "components/RecordSet.h"
#include "data/DemoData.h"
#include "data/WorkDatabase.h"
#include "support/ScriptedDialogs.h"
#include "support/TestHome.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMainWindow>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

/** The main window on a demo home, at step 2 of an interno with its invoice chosen. */
struct DemoWindow {
    QTemporaryDir home;
    ScriptedDialogs dialogs;
    std::unique_ptr<frmMain> window;
    QPushButton* next = nullptr;

    DemoWindow(int listLine, const QString& invoice)
    {
        WorkDatabase::create(home.path());
        DemoData::write(home.path());
        window = std::make_unique<frmMain>(home.path(), dialogs);
        QVERIFY(window->load());
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        next = window->findChild<QPushButton*>(QStringLiteral("cmdSiguiente"));
        auto* list = window->findChild<QWidget*>(QStringLiteral("FRAM1LstInternos"));
        for (int line = 0; line < listLine; ++line)
            QTest::keyClick(list, Qt::Key_Down);
        QTest::mouseClick(next, Qt::LeftButton);
        QTest::qWait(QApplication::doubleClickInterval());
        dialogs.fileAnswers.enqueue(QDir(home.path()).filePath(invoice));
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("FRAM2_CmdProcesar")),
                          Qt::LeftButton);
        QVERIFY(next->isEnabled());
    }

    QString text(const char* name) const
    {
        return window->findChild<QLabel*>(QLatin1String(name))->text();
    }

    /**
     * The operator double-clicks the step button: two presses 120 ms apart, each through the
     * event loop, the second one queued while the first one's work may still run.
     */
    void doubleClickNext()
    {
        QTimer::singleShot(120, next, [this] { QTest::mouseClick(next, Qt::LeftButton); });
        QTest::mouseClick(next, Qt::LeftButton);
        QTest::qWait(300);
    }

    /** Whether the declaration database has the interno's header. */
    bool transferred(const QString& interno)
    {
        RecordSet rs;
        window->workspace().declaration().Sql(
            QStringLiteral("select interno from caratula where interno = ?"), {interno});
        return window->workspace().declaration().CrearRs(rs);
    }
};

} // namespace

/** Demo invoices through the main window, from the interno to the declaration database. */
class TestDemoWizard : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void invoiceToDeclarationDatabase()
    {
        // The demo's interno for this invoice is the last one of the list.
        DemoWindow demo(3, QStringLiteral("invoices/factura-brightwater-7802.docx"));
        const QString home = demo.home.path();
        const QString invoice =
            QDir(home).filePath(QStringLiteral("invoices/factura-brightwater-7802.docx"));
        QCOMPARE(demo.window->wizard().interno(), QStringLiteral("1004"));
        frmMain& window = *demo.window;
        auto& dialogs = demo.dialogs;
        auto text = [&demo](const char* name) {
            return demo.text(name);
        };
        QPushButton* next = demo.next;

        // A double-click processes the clean interno and stops at step 3: the second press
        // finds a button that has just become "Transferir" and is not taken for a transfer.
        demo.doubleClickNext();
        QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.messageTexts().join(u'|')));
        QVERIFY(!demo.transferred(QStringLiteral("1004")));
        QCOMPARE(window.wizard().step(), 3);
        QCOMPARE(text("Main_lbMensaje"), QStringLiteral("Fin de Proceso"));
        QCOMPARE(text("FRAM3_lbTotal"), QStringLiteral("0016"));
        QCOMPARE(text("FRAM3_lbEnCatalogo"), QStringLiteral("0016"));
        QCOMPARE(text("FRAM3_lbErroneos"), QStringLiteral("0000"));
        QCOMPARE(text("lblAmountsToReview"), QStringLiteral("Importes a revisar: 0"));

        // The command line reads the same rows from the same invoice.
        auto cli = [&home](const QStringList& args) {
            QProcess process;
            process.start(QStringLiteral(ADUPLAN_CLI),
                          QStringList{QStringLiteral("--home"), home} + args);
            process.waitForFinished();
            return QString::fromUtf8(process.readAllStandardOutput());
        };
        auto rows = [&cli](const QString& interno) {
            return cli({QStringLiteral("rows"), interno})
                .remove(QStringLiteral("\"INTNRO\":\"%1\",").arg(interno));
        };
        const QString byWizard = rows(QStringLiteral("1004"));
        QCOMPARE(byWizard.count(QLatin1Char('\n')), 16);
        cli({QStringLiteral("process"), QStringLiteral("9999"), invoice});
        QCOMPARE(rows(QStringLiteral("9999")), byWizard);

        // A single later press transfers.
        QTest::qWait(QApplication::doubleClickInterval());
        QTest::mouseClick(next, Qt::LeftButton);
        QCOMPARE(dialogs.messageTexts(),
                 QStringList{QStringLiteral("Se transfirio 16 articulos en el interno 1004")});
        QCOMPARE(dialogs.messages.first().icon, MessageIcon::Information);
        QCOMPARE(text("Main_lbMensaje"), QStringLiteral("Fin de proceso"));

        RecordSet rs;
        window.workspace().declaration().Sql(
            QStringLiteral("select count(*) as n from subitems where interno = '1004'"));
        QVERIFY(window.workspace().declaration().CrearRs(rs));
        QCOMPARE(rs.Fields(QStringLiteral("n")).toInt(), 16);
    }

    void amountsToReviewFromTheKeyboard()
    {
        // The third interno's invoice holds a line total misprinted (192.00 as 129.00).
        DemoWindow demo(2, QStringLiteral("invoices/factura-northfield-0402.doc"));
        demo.dialogs.originAnswers.enqueue(
            OriginRelation{QStringLiteral("VIETNAM"), QStringLiteral("337")});
        QTest::mouseClick(demo.next, Qt::LeftButton);
        QVERIFY2(demo.dialogs.messages.isEmpty(),
                 qPrintable(demo.dialogs.messageTexts().join(u'|')));
        QCOMPARE(demo.text("FRAM3_lbTotal"), QStringLiteral("0031"));
        QCOMPARE(demo.text("lblAmountsToReview"), QStringLiteral("Importes a revisar: 1"));

        // From the records with errors, two tabs reach the list of the amounts; Enter opens it.
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("FRAM3_cmdRegErr"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        auto* amounts = demo.window->findChild<QMainWindow*>(QStringLiteral("frmDEP"));
        QVERIFY(amounts && amounts->isVisible());
        QCOMPARE(amounts->windowTitle(), QStringLiteral("Importes a revisar"));
        const QAbstractItemModel* rows = amounts->findChild<QTableView*>()->model();
        QCOMPARE(rows->rowCount(), 1);
        QCOMPARE(rows->columnCount(), 10);
        QStringList line;
        for (int column : {0, 1, 4, 5, 6})
            line << rows->index(0, column).data().toString();
        QCOMPARE(line.join(u' '), QStringLiteral("0020 FLG-2-150-SS 4 48 129"));
    }

    void doubleClickDuringALongProcess()
    {
        // 1,500 articles: the second press arrives while the first one's process still runs.
        DemoWindow demo(0, TestHome::testDataPath(QStringLiteral("word/generated/long.doc")));
        demo.doubleClickNext();
        QVERIFY2(demo.dialogs.messages.isEmpty(),
                 qPrintable(demo.dialogs.messageTexts().join(u'|')));
        QCOMPARE(demo.window->wizard().step(), 3);
        QCOMPARE(demo.text("FRAM3_lbTotal"), QStringLiteral("1500"));
        QVERIFY(!demo.transferred(QStringLiteral("1001")));
    }

    void spanishStandardTexts()
    {
        QVERIFY(installSpanishTranslation());
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"),
                 QStringLiteral("Cancelar"));
    }
};

QTEST_MAIN(TestDemoWizard)
#include "tst_demo_wizard.moc"
