// SPDX-License-Identifier: Apache-2.0
// Benchmark of the wizard's step 3 on a large interno: how long the passage from step 2 to
// step 3 takes once the rows are there (the counters and the amounts to review read after the
// process), and the same counters read again after an editor save. Median of seven runs.
//
//   bench_step3 [LINES]   (default 50,000)

#include "components/DataSession.h"
#include "data/DemoData.h"
#include "data/WorkDatabase.h"
#include "support/ScriptedDialogs.h"
#include "wizard/Wizard.h"
#include "workspace/Workspace.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

const QString Interno = QStringLiteral("BENCH");

/** Lines as the process leaves them; every 97th line's total is misprinted. */
void fill(const QString& home, int lines)
{
    DataSession work;
    work.CadenaConexion(DataSession::sqliteConnection(WorkDatabase::path(home)));
    work.Conectar();
    TransactionGuard transaction(work);
    DataSession::Statement(work, QStringLiteral("insert into INTN (INTNRO, INTDSC) values (?, ?)"))
        .ejecutar({Interno, QStringLiteral("BENCH")});
    DataSession::Statement insert(
        work, QStringLiteral("insert into ART (INTNRO, ARTORD, ARTNRO, ARTDSC, ARTCAN, ARTUNI, "
                             "ARTTOT, ARTORG, PRCDUN, PRCNCM, PRCEST, PRCCRC) values (?, ?, ?, ?, "
                             "?, ?, ?, '313', '07', '8482.10.10.000B', 'A', 'OK')"));
    for (int line = 1; line <= lines; ++line) {
        const double quantity = line % 13 + 0.5;
        const double unitPrice = 1.25 * (line % 89 + 1);
        const double total = quantity * unitPrice + (line % 97 ? 0 : 1);
        insert.ejecutar({Interno, line, QStringLiteral("ART-%1").arg(line),
                         QStringLiteral("DESCRIPCION DEL ARTICULO NUMERO %1").arg(line), quantity,
                         unitPrice, total});
    }
    transaction.commit();
}

qint64 median(QList<qint64> times)
{
    std::sort(times.begin(), times.end());
    return times.at(times.size() / 2);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int lines = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 50000;
    QTemporaryDir dir;
    WorkDatabase::create(dir.path());
    DemoData::write(dir.path());
    fill(dir.path(), lines);

    ScriptedDialogs dialogs;
    RecordingProgress progress;
    Workspace ws(dir.path(), dialogs, progress);
    ws.open();

    QList<qint64> toStep3;
    QList<qint64> again;
    qint64 amounts = -1;
    for (int run = 0; run < 7; ++run) {
        Wizard wizard(ws);
        wizard.FRAM1_InternoCreado(Interno);
        wizard.MAIN_CambiarPaso(); // to step 2: the interno has rows
        QElapsedTimer timer;
        timer.start();
        wizard.MAIN_CambiarPaso(); // to step 3, as after the process
        toStep3 << timer.restart();
        wizard.refreshCounters(); // as after an editor save
        again << timer.elapsed();
        if (wizard.step() != 3)
            std::fprintf(stderr, "step %d reached, not 3\n", wizard.step());
        amounts = wizard.amountsToReview();
    }
    std::printf("step 3 on %d lines: %lld ms from step 2, %lld ms after a save (median of 7); "
                "%lld amounts to review\n",
                lines, median(toStep3), median(again), amounts);
    for (const QString& text : dialogs.messageTexts())
        std::fprintf(stderr, "%s\n", qPrintable(text));
    return dialogs.messages.isEmpty() ? 0 : 1;
}
