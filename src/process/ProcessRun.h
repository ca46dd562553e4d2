#pragma once

#include "process/Process.h"

#include <QString>
#include <QVariantList>

class Workspace;

/**
 * One run of the classification stages on an interno's rows. It keeps the update being run
 * (or last run), as the failure message shows it.
 */
struct ProcessRun {
    Workspace& ws;
    QString interno;
    QString statement;

    /** Keeps an update about to run: its text with the values in place of its markers. */
    void record(const QString& text, const QVariantList& values);
};

/** Stage 4: validates the rows completed from the catalog and writes their check codes. */
void ValidarArticulos(ProcessRun& run, const SuffixCheck& validate);
