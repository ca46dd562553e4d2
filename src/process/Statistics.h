// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "data/ArticleStore.h"

#include <QString>

class Workspace;

/** Counts the interno's rows; a database failure raises. */
ArticleCounters FRAM3_CargarEstadisticas(Workspace& ws, const QString& interno);

/** A counter as shown: at least four digits, zero-padded ("0000"). */
QString formatCounter(qint64 count);
