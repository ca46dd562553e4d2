#include "process/Statistics.h"

#include "app/Workspace.h"

#include <array>

namespace {

/** The condition that follows "INTNRO = ?" for each counter, in the order they are counted. */
const std::array<QString, 6> Conditions = {
    QString(),
    QStringLiteral(" and PRCEST = 'A'"),
    QStringLiteral(" and (PRCEST = '' or PRCEST IS NULL)"),
    QStringLiteral(" and PRCCRC <> 'OK'"),
    QStringLiteral(" and PRCCRC = 'POS'"),
    QStringLiteral(" and PRCCRC = 'SUF'"),
};

} // namespace

ProcessCounters FRAM3_CargarEstadisticas(Workspace& ws, const QString& interno)
{
    ProcessCounters counters;
    const std::array<qint64*, 6> targets = {&counters.total,       &counters.enCatalogo,
                                            &counters.nuevos,      &counters.conErrores,
                                            &counters.errPosicion, &counters.errSufijos};
    RecordSet rs;
    for (std::size_t i = 0; i < Conditions.size(); ++i) {
        ws.work().Sql(QStringLiteral("select count(INTNRO) as total from ART where INTNRO = ?") +
                          Conditions.at(i),
                      {interno});
        if (ws.work().CrearRs(rs))
            *targets.at(i) = rs.Fields(QStringLiteral("total")).toLongLong();
    }
    return counters;
}

QString formatCounter(qint64 count)
{
    return QStringLiteral("%1").arg(count, 4, 10, QLatin1Char('0'));
}
