#pragma once

#include <QString>

class Workspace;

/** The six counters of a processed interno. */
struct ProcessCounters {
    qint64 total = 0;
    qint64 enCatalogo = 0;
    qint64 nuevos = 0;
    qint64 conErrores = 0;
    qint64 errPosicion = 0;
    qint64 errSufijos = 0;
};

/** Counts the interno's rows; a database failure raises. */
ProcessCounters FRAM3_CargarEstadisticas(Workspace& ws, const QString& interno);

/** A counter as shown: at least four digits, zero-padded ("0000"). */
QString formatCounter(qint64 count);
