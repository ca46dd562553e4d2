// SPDX-License-Identifier: Apache-2.0
#include "process/Statistics.h"

#include "workspace/Workspace.h"

ArticleCounters FRAM3_CargarEstadisticas(Workspace& ws, const QString& interno)
{
    return ArticleStore(ws.work()).counters(interno);
}

QString formatCounter(qint64 count)
{
    return QStringLiteral("%1").arg(count, 4, 10, QLatin1Char('0'));
}
