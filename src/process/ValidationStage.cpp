// SPDX-License-Identifier: Apache-2.0
#include "process/ProcessRun.h"
#include "workspace/Workspace.h"

#include <QSet>

#include <utility>

namespace {

CheckOutcome outcomeOf(int result)
{
    switch (result) {
    case 0:
        return CheckOutcome::Ok;
    case 1:
        return CheckOutcome::Position;
    case 2:
        return CheckOutcome::Suffixes;
    default:
        return CheckOutcome::Other;
    }
}

} // namespace

void ValidarArticulos(ProcessRun& run, const SuffixCheck& validate)
{
    ProgressSink& progress = run.ws.progress();
    progress.setMessage(QStringLiteral("Procesando... Etapa 4 de 4: Validando NCM..."));
    progress.setProgressValue(0);
    progress.setProgressValue(1);

    const QList<Article> rows = run.articles.classifiedRows(run.interno);
    if (rows.isEmpty())
        return;
    progress.setProgressMaximum(int(rows.size()));
    if (run.readAhead) {
        QStringList positions;
        for (const Article& row : rows)
            positions << row.position;
        positions.removeDuplicates();
        run.readAhead(positions);
    }

    // The nomenclator does not change during the run: a position with its suffixes is
    // validated once, however many rows carry it.
    QSet<std::pair<QString, QString>> validated;
    QList<CheckedPosition> outcomes;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const Article& row = rows.at(i);
        const std::pair key{row.position, row.suffixes};
        if (!validated.contains(key)) {
            validated.insert(key);
            outcomes.append({key.first, key.second, outcomeOf(validate(key.first, key.second))});
        }
        progress.setProgressValue(int(i + 1));
    }
    // The rows' check codes in one statement.
    run.articles.setChecks(run.interno, outcomes, rows);
}
