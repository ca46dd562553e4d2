// SPDX-License-Identifier: Apache-2.0
#include "data/DatabaseFile.h"

#include "components/AppError.h"
#include "components/DataSession.h"
#include "components/OperatorText.h"
#include "components/TemporaryFile.h"
#include "components/TestSeam.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSqlRecord>

namespace DatabaseFile {

void create(const QString& target, const std::function<void(DataSession&)>& fill)
{
    const QString temporary = TemporaryFile::beside(target);
    {
        QFile file(temporary);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            throw AppError(75, OperatorText::fileNotWritten(temporary, file.errorString()));
    }
    auto removeTemporary = qScopeGuard([&temporary] {
        QFile::remove(temporary);
        QFile::remove(temporary + QStringLiteral("-journal"));
    });
    {
        DataSession session(QFileInfo(target).fileName());
        session.CadenaConexion(DataSession::sqliteConnection(temporary));
        session.Conectar();
        fill(session);
        TestSeam::reach("init:write");
    }
    QFile file(temporary);
    if (!file.rename(target))
        throw AppError(75, OperatorText::fileNotWritten(target, file.errorString()));
    removeTemporary.dismiss();
}

void check(const QString& file, const QString& table, const QString& kind)
{
    QString fault;
    try {
        DataSession session(QFileInfo(file).fileName());
        session.CadenaConexion(DataSession::sqliteConnection(file));
        session.Conectar();
        RecordSet rs;
        session.Sql(QStringLiteral("select name from sqlite_master where type = 'table' and "
                                   "name = ?"),
                    {table});
        if (!session.CrearRs(rs))
            fault = QStringLiteral("falta la tabla ") + table;
    } catch (const AppError& error) {
        fault = error.description();
    }
    if (!fault.isEmpty())
        throw AppError(75, OperatorText::failure(
                               QStringLiteral("El archivo %1 no es una base de datos %2 válida. "
                                              "Muévalo o bórrelo y vuelva a ejecutar init.")
                                   .arg(QDir::toNativeSeparators(file), kind),
                               fault));
}

void createWhenMissing(DataSession& session, const QString& table, const QStringList& schema)
{
    if (session.database().tables().contains(table, Qt::CaseInsensitive))
        return;
    TransactionGuard transaction(session);
    for (const QString& statement : schema) {
        session.Sql(statement);
        session.ejecutar();
    }
    transaction.commit();
}

void addColumnsWhenMissing(DataSession& session, const QString& table,
                           const QList<std::pair<QString, QString>>& columns)
{
    const QSqlRecord held = session.database().record(table);
    TransactionGuard transaction(session);
    for (const auto& [name, definition] : columns) {
        if (held.contains(name))
            continue;
        session.Sql(QStringLiteral("alter table %1 add column %2 %3").arg(table, name, definition));
        session.ejecutar();
    }
    transaction.commit();
}

} // namespace DatabaseFile
