// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "config/Configuration.h"
#include "support/ScriptedDialogs.h"
#include "support/TestHome.h"
#include "workspace/Workspace.h"

#include <memory>

/** A test home with the databases created and a workspace opened on it once seeded. */
struct ConfigHome {
    TestHome home;
    ScriptedDialogs dialogs;
    RecordingProgress progress;
    std::unique_ptr<Workspace> ws;

    ConfigHome() { home.createDatabases(); }

    Workspace& open()
    {
        ws = std::make_unique<Workspace>(home.path(), dialogs, progress);
        ws->open();
        return *ws;
    }

    /** The ORG rows as "text|code", in the list order. */
    QStringList relations() const
    {
        QStringList rows;
        for (const OriginRelation& relation : Configuration::Cargar_Pais(*ws))
            rows << relation.text + QLatin1Char('|') + relation.code;
        return rows;
    }
};
