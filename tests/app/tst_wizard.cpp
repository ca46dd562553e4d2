#include "app/Wizard.h"
#include "app/Workspace.h"
#include "support/ScriptedDialogs.h"
#include "support/TestHome.h"

#include <QFile>
#include <QTest>

namespace {

/** Interno 100 taken from step 1; the window test drives the steps the operator sees. */
struct Step2 {
    TestHome home;
    ScriptedDialogs dialogs;
    RecordingProgress progress;
    Workspace ws{home.path(), dialogs, progress};
    Wizard wizard{ws};

    explicit Step2(const QString& workSql)
    {
        home.createDatabases();
        home.runWorkSql(QStringLiteral("insert into INTN values ('100', 'Uno');\n") + workSql);
        ws.open();
        wizard.FRAM1_CargarInternos();
        wizard.MAIN_CambiarPaso();
    }
};

} // namespace

class TestWizard : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void chosenDocumentIsProcessedEvenWithRows()
    {
        Step2 s(QStringLiteral("insert into ART (INTNRO, ARTORD) values ('100', 1);\n"));
        QCOMPARE(s.wizard.nextTag(), QStringLiteral("OK"));

        // Cancelled or blank: nothing changes and nothing is said.
        s.dialogs.fileAnswers << std::nullopt;
        s.wizard.FRAM2_CmdProcesar();
        QVERIFY(s.wizard.documentPath().isEmpty());
        QVERIFY(!s.wizard.lf_LevantarExcel(QStringLiteral("  ")));
        QCOMPARE(s.wizard.nextTag(), QStringLiteral("OK"));
        QVERIFY(s.dialogs.messages.isEmpty());

        QFile document(s.home.file(QStringLiteral("factura.doc")));
        QVERIFY(document.open(QIODevice::WriteOnly));
        document.close();
        s.dialogs.fileAnswers << document.fileName();
        s.wizard.FRAM2_CmdProcesar();
        QVERIFY(s.wizard.nextTag().isEmpty());
        QCOMPARE(s.progress.busyDepth, 0);
        // Processed, not skipped: the failing process reports and keeps step 2.
        s.wizard.MAIN_CambiarPaso();
        QVERIFY(!s.dialogs.messages.isEmpty());
        QCOMPARE(s.wizard.step(), 2);
    }

    void errorInTheStepChangeIsReportedPlainAndStopsThere()
    {
        Step2 s(QStringLiteral("drop table ART;\n"));
        QCOMPARE(s.dialogs.messages.size(), 1);
        QCOMPARE(s.dialogs.messages.at(0).icon, MessageIcon::None);
        const QString& text = s.dialogs.messages.at(0).text;
        QVERIFY(text.contains(QStringLiteral("ART")) && text.contains(QStringLiteral("\n\n")));
        QVERIFY(text.endsWith(QStringLiteral("- seccion Main_CambiarPaso lin 40")));
        // The step reached stays: step 2 is shown, its next-step button disabled.
        QCOMPARE(s.wizard.step(), 2);
        QCOMPARE(s.ws.currentInterno, QStringLiteral("100"));
        QCOMPARE(s.wizard.panel(), 2);
        QVERIFY(!s.wizard.panelEnabled(1));
        QVERIFY(!s.wizard.nextEnabled());
    }
};

QTEST_GUILESS_MAIN(TestWizard)
#include "tst_wizard.moc"
