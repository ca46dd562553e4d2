#include "app/frmMain.h"
#include "components/RecordSet.h"
#include "data/DemoData.h"
#include "data/WorkDatabase.h"
#include "support/ScriptedDialogs.h"

#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

/** A demo invoice through the main window, from the interno to the declaration database. */
class TestDemoWizard : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void invoiceToDeclarationDatabase()
    {
        QTemporaryDir home;
        WorkDatabase::create(home.path());
        DemoData::write(home.path());
        ScriptedDialogs dialogs;
        frmMain window(home.path(), dialogs);
        QVERIFY(window.load());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* next = window.findChild<QPushButton*>(QStringLiteral("cmdSiguiente"));
        auto text = [&window](const char* name) {
            return window.findChild<QLabel*>(QLatin1String(name))->text();
        };

        // The demo's interno for this invoice is the last one of the list.
        auto* list = window.findChild<QWidget*>(QStringLiteral("FRAM1LstInternos"));
        QTest::keyClick(list, Qt::Key_End);
        QTest::mouseClick(next, Qt::LeftButton);
        QCOMPARE(window.wizard().interno(), QStringLiteral("1004"));
        QVERIFY(!next->isEnabled());
        const QString invoice =
            home.filePath(QStringLiteral("invoices/factura-brightwater-7802.docx"));
        dialogs.fileAnswers.enqueue(invoice);
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("FRAM2_CmdProcesar")),
                          Qt::LeftButton);
        QVERIFY(next->isEnabled());

        QTest::mouseClick(next, Qt::LeftButton);
        QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.messageTexts().join(u'|')));
        QCOMPARE(window.wizard().step(), 3);
        QCOMPARE(text("Main_lbMensaje"), QStringLiteral("Fin de Proceso"));
        QCOMPARE(text("FRAM3_lbTotal"), QStringLiteral("0016"));
        QCOMPARE(text("FRAM3_lbEnCatalogo"), QStringLiteral("0016"));
        QCOMPARE(text("FRAM3_lbErroneos"), QStringLiteral("0000"));

        // The command line reads the same rows from the same invoice.
        auto cli = [&home](const QStringList& args) {
            QProcess process;
            process.start(QStringLiteral(ADUPLAN_CLI),
                          QStringList{QStringLiteral("--home"), home.path()} + args);
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
};

QTEST_MAIN(TestDemoWizard)
#include "tst_demo_wizard.moc"
