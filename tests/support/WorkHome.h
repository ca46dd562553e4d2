// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "support/ScriptedDialogs.h"
#include "support/TestHome.h"
#include "workspace/Workspace.h"

#include <functional>

class DataSession;

/**
 * A test home with its databases, filled by `seed` or SQL fixtures, and a workspace opened on it
 * that answers the operator's dialogs from a script and records its progress.
 */
struct WorkHome {
    TestHome home;
    ScriptedDialogs dialogs;
    RecordingProgress progress;
    Workspace ws{home.path(), dialogs, progress};

    explicit WorkHome(const std::function<void(TestHome&)>& seed = {})
    {
        home.createDatabases();
        if (seed)
            seed(home);
        ws.open();
    }

    /** Filled by the SQL fixtures (see TestHome::load). */
    explicit WorkHome(const QStringList& fixtures)
        : WorkHome([&fixtures](TestHome& fresh) {
            for (const QString& fixture : fixtures)
                fresh.load(fixture);
        })
    {}
};

/** The rows a query returns, fields joined by "|", NULL as "~". */
QStringList queryRows(DataSession& session, const QString& sql, const QVariantList& values = {});
