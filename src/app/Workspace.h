#pragma once

#include "app/OperatorDialogs.h"
#include "app/ProgressSink.h"
#include "components/DataSession.h"
#include "components/EntityDirectory.h"
#include "components/FormatService.h"
#include "components/SystemInfo.h"
#include "components/TextFileWriter.h"

#include <memory>

/**
 * What the program holds from start-up to its end: the components, the work, declaration
 * and nomenclator connections, the settings, the wizard's step and interno, and the front
 * end's dialogs and progress display.
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

    /** "Versión: 1.0.0 - Generado 06-12-2026". */
    static QString versionLabel();

    /** Stores the catalog identifier in the settings and in the workspace. */
    void saveCatalog(const QString& catalog);
    /** The catalog identifier as the settings store holds it now (empty when absent). */
    QString storedCatalog() const;

    const QString& home() const { return m_home; }
    QString settingsPath() const;
    OperatorDialogs& dialogs() { return m_dialogs; }
    ProgressSink& progress() { return m_progress; }

    EntityDirectory& directory() { return m_directory; }
    DataSession& work() { return *m_work; }
    DataSession& declaration() { return *m_declaration; }
    DataSession& nomenclator() { return *m_nomenclator; }
    FormatService& formatter() { return m_formatter; }
    SystemInfo& system() { return m_system; }
    TextFileWriter& textFile() { return m_textFile; }

    /** Catalog identifier (setting INTCAT). */
    QString INTCAT;
    /** Default goods condition (setting PRCESM). */
    QString PRCESM;
    int currentStep = 1;
    QString currentInterno;

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
    TextFileWriter m_textFile;
};
