#include "app/Workspace.h"
#include "process/ProcessRun.h"

#include <QHash>

#include <array>
#include <optional>
#include <utility>

namespace {

/** The fixed text of a row's update for each outcome: 0, 1, 2 and any other value. */
const std::array<QString, 4> OutcomeUpdates = {
    QStringLiteral("update ART set PRCCRC = 'OK' where INTNRO = ?  and ARTORD = ?"),
    QStringLiteral("update ART set PRCCRC = 'POS', PRCEST = 'E' where INTNRO = ?  and ARTORD = ?"),
    QStringLiteral("update ART set PRCCRC = 'SUF', PRCEST = 'E' where INTNRO = ?  and ARTORD = ?"),
    QStringLiteral("update ART set PRCCRC = 'ERR', PRCEST = 'E' where INTNRO = ?  and ARTORD = ?"),
};

std::size_t outcomeIndex(int outcome)
{
    return outcome >= 0 && outcome <= 2 ? std::size_t(outcome) : 3;
}

} // namespace

void ValidarArticulos(ProcessRun& run, const SuffixCheck& validate)
{
    Workspace& ws = run.ws;
    ProgressSink& progress = ws.progress();
    progress.setMessage(QStringLiteral("Procesando... Etapa 4 de 4: Validando NCM..."));
    progress.setProgressValue(0);
    progress.setProgressValue(1);

    RecordSet rows;
    ws.work().Sql(QStringLiteral("select PRCNCM, PRCSUF, INTNRO, ARTORD from ART where "
                                 "INTNRO = ? and PRCEST = 'A'"),
                  {run.interno});
    if (!ws.work().CrearRs(rows))
        return;
    progress.setProgressMaximum(int(rows.RecordCount()));

    // The nomenclator does not change during the run: a position with its suffixes is
    // validated once, however many rows carry it.
    QHash<std::pair<QString, QString>, int> outcomes;
    std::array<std::optional<DataSession::Statement>, 4> updates;
    for (; !rows.Eof(); rows.MoveNext()) {
        const std::pair key{ws.formatter().EsNull(rows.Fields(QStringLiteral("PRCNCM"))),
                            ws.formatter().EsNull(rows.Fields(QStringLiteral("PRCSUF")))};
        auto known = outcomes.constFind(key);
        if (known == outcomes.constEnd())
            known = outcomes.insert(key, validate(key.first, key.second));
        const std::size_t index = outcomeIndex(*known);
        const QVariantList values = {run.interno, rows.Fields(QStringLiteral("ARTORD"))};
        run.record(OutcomeUpdates.at(index), values);
        if (!updates.at(index))
            updates.at(index).emplace(ws.work(), OutcomeUpdates.at(index));
        updates.at(index)->ejecutar(values);
        progress.setProgressValue(int(rows.AbsolutePosition()));
    }
}
