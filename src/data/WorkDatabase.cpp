// SPDX-License-Identifier: Apache-2.0
#include "data/WorkDatabase.h"

#include "components/AppError.h"
#include "components/DataSession.h"
#include "data/ArticleStore.h"
#include "data/DatabaseFile.h"
#include "data/HistoryStore.h"
#include "data/InvoiceTotalStore.h"

#include <QDir>
#include <QFileInfo>

namespace WorkDatabase {

QString path(const QString& home)
{
    return QDir(home).filePath(QStringLiteral("db/planimport.db"));
}

bool create(const QString& home)
{
    const QString file = path(home);
    if (QFileInfo::exists(file)) {
        DatabaseFile::check(file, QStringLiteral("INTN"), QStringLiteral("de trabajo"));
        return false;
    }
    if (!QDir().mkpath(QFileInfo(file).absolutePath()))
        throw AppError(75, QStringLiteral("No se pudo crear la carpeta %1.")
                               .arg(QDir::toNativeSeparators(QFileInfo(file).absolutePath())));
    DatabaseFile::create(file, [](DataSession& work) {
        TransactionGuard tx(work);
        QStringList statements = {
            QStringLiteral("create table INTN (INTNRO text not null primary key, INTDSC text)"),
            QStringLiteral("create table ORG (PAI text, ORI text)"),
            QStringLiteral("create index ORG_PAI on ORG (PAI)"),
            QStringLiteral("create table PAIS (id text not null primary key, descripcion text)"),
        };
        statements << ArticleStore::schema() << InvoiceTotalStore::schema()
                   << HistoryStore::schema() << CatalogJournal::schema();
        for (const QString& statement : std::as_const(statements)) {
            work.Sql(statement);
            work.ejecutar();
        }
        tx.commit();
    });
    return true;
}

} // namespace WorkDatabase
