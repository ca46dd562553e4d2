// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

class Workspace;

/** How a revert of a transfer's catalog changes ended. */
enum class RevertOutcome {
    /** The catalog holds again what it held before the transfer; the operator was told. */
    Reverted,
    /** The operator answered No; nothing changed. */
    Declined,
    /**
     * Nothing to revert, the changes already reverted, an entry changed since the transfer, or
     * a failure: the operator was told why; nothing changed.
     */
    Refused,
};

/**
 * Undoes the catalog changes of the interno's last transfer, as its catalog journal recorded
 * them: the values it replaced are put back and the entries it inserted removed, in one
 * transaction of the declaration database, after asking the operator (default No). An entry
 * changed since (by another transfer or by hand) refuses the whole revert with the list of
 * conflicts: nothing is overwritten that the journal did not write. The revert is recorded as a
 * run (history and catalog journal, action "revert"); a transfer already reverted is refused.
 */
RevertOutcome revertTransferCatalog(Workspace& ws, const QString& interno);
