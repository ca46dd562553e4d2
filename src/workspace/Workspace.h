// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "components/DataSession.h"
#include "components/EntityDirectory.h"
#include "components/FormatService.h"
#include "components/SystemInfo.h"
#include "data/CatalogArticleIndex.h"
#include "data/HistoryStore.h"
#include "data/PositionWordIndex.h"
#include "workspace/OperatorDialogs.h"
#include "workspace/ProgressSink.h"
#include "workspace/Settings.h"

#include <memory>

/**
 * What the program holds from start-up to its end: the components, the work, declaration
 * and nomenclator connections, the settings, and the front end's dialogs and progress
 * display. The interno being worked on is an argument of each procedure, not held here.
 */
class Workspace {
public:
    Workspace(QString home, OperatorDialogs& dialogs, ProgressSink& progress);
    ~Workspace();

    /** The home folder: the option when given, else $ADUPLAN_HOME, else the data folder. */
    static QString resolveHome(const QString& option);

    /**
     * The start-up sequence: opens the work database, loads the directory, connects the
     * declaration ("INTERNOS") and nomenclator ("NCM") databases and reads the settings.
     * Raises an error that names what is missing and how to fix it.
     */
    void open();

    /** The project's version, "1.0.0": what both programs' --version tell. */
    static QString version();

    /** "Versión: 1.0.0 - Generado 06-12-2026". */
    static QString versionLabel();

    const QString& home() const { return m_home; }
    Settings& settings() { return m_settings; }
    const Settings& settings() const { return m_settings; }
    OperatorDialogs& dialogs() { return m_dialogs; }
    ProgressSink& progress() { return m_progress; }

    EntityDirectory& directory() { return m_directory; }
    DataSession& work() { return *m_work; }
    DataSession& declaration() { return *m_declaration; }
    DataSession& nomenclator() { return *m_nomenclator; }
    FormatService& formatter() { return m_formatter; }
    SystemInfo& system() { return m_system; }
    /** Names the front end the workspace serves, as the row history records it: "desktop"
     *  (the default) or "cli". */
    void setFrontEnd(QString name) { m_frontEnd = std::move(name); }
    /** Who the changes made through this workspace are recorded as made by. */
    HistoryAuthor historyAuthor() const { return HistoryAuthor::current(m_frontEnd); }
    /** The words of the nomenclator's descriptions, read from it at the first call. */
    const PositionWordIndex& positionWords();
    /** The articles of every catalog of the declaration database, read at the first call. */
    const CatalogArticleIndex& catalogArticles();
    /** The catalogs were written: their index is read again at its next use. */
    void catalogsChanged() { m_catalogArticles.reset(); }

private:
    QString m_home;
    OperatorDialogs& m_dialogs;
    ProgressSink& m_progress;
    EntityDirectory m_directory;
    std::unique_ptr<DataSession> m_work;
    std::unique_ptr<DataSession> m_declaration;
    std::unique_ptr<DataSession> m_nomenclator;
    FormatService m_formatter;
    SystemInfo m_system;
    std::unique_ptr<PositionWordIndex> m_positionWords;
    std::unique_ptr<CatalogArticleIndex> m_catalogArticles;
    Settings m_settings;
    QString m_frontEnd = QStringLiteral("desktop");
};
