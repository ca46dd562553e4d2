#include "process/Process.h"
#include "process/Statistics.h"

#include "app/Workspace.h"

// Placeholder until the automatic process lands.
bool FRAM2_GuardarDatosToBase(Workspace& ws, const QString&)
{
    ws.dialogs().message(MessageIcon::Exclamation,
                         QStringLiteral("El proceso automático todavía no está disponible."));
    return false;
}

ProcessCounters FRAM3_CargarEstadisticas(Workspace&, const QString&)
{
    return {};
}

QString formatCounter(qint64 count)
{
    return QStringLiteral("%1").arg(count, 4, 10, QLatin1Char('0'));
}
