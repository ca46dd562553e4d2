// SPDX-License-Identifier: Apache-2.0
#include "workspace/Workspace.h"

#include "BuildDate.h"
#include "data/HistoryStore.h"
#include "data/InvoiceTotalStore.h"
#include "data/WorkDatabase.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

Workspace::Workspace(QString home, OperatorDialogs& dialogs, ProgressSink& progress)
    : m_home(std::move(home))
    , m_dialogs(dialogs)
    , m_progress(progress)
    , m_directory(m_home)
    , m_work(std::make_unique<DataSession>(QStringLiteral("WORK")))
    , m_declaration(std::make_unique<DataSession>(QStringLiteral("INTERNOS")))
    , m_nomenclator(std::make_unique<DataSession>(QStringLiteral("NCM")))
    , m_settings(QDir(m_home).filePath(QStringLiteral("Aduplan.ini")))
{}

Workspace::~Workspace() = default;

const PositionWordIndex& Workspace::positionWords()
{
    if (!m_positionWords)
        m_positionWords =
            std::make_unique<PositionWordIndex>(NomenclatorTables(nomenclator()).allPositions());
    return *m_positionWords;
}

const CatalogArticleIndex& Workspace::catalogArticles()
{
    if (!m_catalogArticles)
        m_catalogArticles =
            std::make_unique<CatalogArticleIndex>(CatalogStore::allArticles(declaration()));
    return *m_catalogArticles;
}

QString Workspace::resolveHome(const QString& option)
{
    if (!option.isEmpty())
        return QDir(option).absolutePath();
    const QString env = qEnvironmentVariable("ADUPLAN_HOME");
    if (!env.isEmpty())
        return QDir(env).absolutePath();
    return QDir::homePath() + QStringLiteral("/.local/share/Aduplan");
}

QString Workspace::version()
{
    return QStringLiteral(ADUPLAN_VERSION);
}

QString Workspace::versionLabel()
{
    return QStringLiteral("Versión: ") + version() + QStringLiteral(" - Generado ") +
           QStringLiteral(ADUPLAN_BUILD_DATE);
}

void Workspace::open()
{
    const QString workPath = WorkDatabase::path(m_home);
    if (!QFileInfo::exists(workPath))
        throw AppError(
            -1,
            QStringLiteral("No se encuentra la base de datos de trabajo:\n%1\n\n"
                           "Créela con el comando:\naduplan-cli --home \"%2\" init")
                .arg(QDir::toNativeSeparators(workPath), QDir::toNativeSeparators(m_home)),
            QStringLiteral("Aduplan"));
    m_work->CadenaConexion(DataSession::sqliteConnection(workPath));
    m_work->Conectar();
    // A work database made by an earlier version lacks the newer tables.
    InvoiceTotalStore::createWhenMissing(*m_work);
    HistoryStore::createWhenMissing(*m_work);
    CatalogJournal::createWhenMissing(*m_work);

    m_directory.LoadParameters();
    m_declaration = m_directory.getDataConnectionByEntity(QStringLiteral("INTERNOS"));
    m_nomenclator = m_directory.getDataConnectionByEntity(QStringLiteral("NCM"));
    // Built again from these connections when first asked.
    m_positionWords.reset();
    m_catalogArticles.reset();

    m_settings.load();
}
