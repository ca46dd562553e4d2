// SPDX-License-Identifier: Apache-2.0
// Benchmark of the results list on a large interno: how long the list of 10,000 records with
// errors takes from the button to a painted window, split into the read of the rows and the
// window itself. Best of five runs, on the platform Qt chooses (QT_QPA_PLATFORM=offscreen
// works without a display).

#include "components/DataSession.h"
#include "data/DemoData.h"
#include "data/WorkDatabase.h"
#include "review/frmDEP.h"
#include "support/ScriptedDialogs.h"
#include "workspace/Workspace.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <limits>

namespace {

constexpr int Lines = 10000;
const QString Interno = QStringLiteral("BENCH");

/** Lines of every state of the errors list, as the process leaves them. */
void fill(const QString& home)
{
    DataSession work;
    work.CadenaConexion(DataSession::sqliteConnection(WorkDatabase::path(home)));
    work.Conectar();
    TransactionGuard transaction(work);
    DataSession::Statement insert(
        work, QStringLiteral("insert into ART (INTNRO, ARTORD, ARTNRO, ARTDSC, ARTCAN, ARTUNI, "
                             "ARTTOT, ARTORG, PRCDUN, PRCNCM, PRCEST, PRCCRC) values (?, ?, ?, ?, "
                             "?, ?, ?, '313', '07', ?, ?, ?)"));
    const QVariant states[][2] = {{QVariant(), QVariant()},
                                  {QStringLiteral("E"), QStringLiteral("POS")},
                                  {QStringLiteral("E"), QStringLiteral("SUF")}};
    for (int line = 1; line <= Lines; ++line) {
        const auto& state = states[line % 3];
        insert.ejecutar({Interno, line, QStringLiteral("ART-%1").arg(line),
                         QStringLiteral("DESCRIPCION DEL ARTICULO NUMERO %1").arg(line), 12.5,
                         3.125, 39.0625, QStringLiteral("8482.10.10.000B"), state[0], state[1]});
    }
    transaction.commit();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    WorkDatabase::create(dir.path());
    DemoData::write(dir.path());
    fill(dir.path());

    ScriptedDialogs dialogs;
    RecordingProgress progress;
    Workspace ws(dir.path(), dialogs, progress);
    ws.open();

    qint64 readBest = std::numeric_limits<qint64>::max();
    qint64 windowBest = std::numeric_limits<qint64>::max();
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        ArticleStore store(ws.work());
        const qsizetype rows = store.rows(Interno, ArticleStore::Selection::WithErrors).size();
        readBest = std::min(readBest, timer.elapsed());
        if (rows != Lines)
            std::fprintf(stderr, "read %lld rows, expected %d\n", qlonglong(rows), Lines);

        timer.restart();
        auto* results = new frmDEP(ws, Interno, ArticleTableModel::List::WithErrors);
        results->show();
        results->grab(); // the first paint
        QApplication::processEvents();
        windowBest = std::min(windowBest, timer.elapsed());
        delete results;
    }
    std::printf("results list of %d lines: rows read in %lld ms; window built, filled and painted "
                "in %lld ms (best of 5)\n",
                Lines, readBest, windowBest);
    for (const QString& text : dialogs.messageTexts())
        std::fprintf(stderr, "%s\n", qPrintable(text));
    return dialogs.messages.isEmpty() ? 0 : 1;
}
