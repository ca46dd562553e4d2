// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "data/ArticleStore.h"
#include "process/Process.h"

#include <QString>
#include <QStringList>

#include <functional>

class Workspace;

/** One run of the classification stages on an interno's rows. */
struct ProcessRun {
    Workspace& ws;
    QString interno;
    /** The rows' store; it keeps the update being run (or last run) for the failure message. */
    ArticleStore articles;
    /** When given, reads ahead in a few selects what `validate` needs for these positions. */
    std::function<void(const QStringList& positions)> readAhead;
};

/** Stage 4: validates the rows completed from the catalog and writes their check codes. */
void ValidarArticulos(ProcessRun& run, const SuffixCheck& validate);
