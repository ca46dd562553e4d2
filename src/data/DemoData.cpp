// SPDX-License-Identifier: Apache-2.0
#include "data/DemoData.h"

#include "components/AppError.h"
#include "components/DataSession.h"
#include "data/DatabaseFile.h"
#include "data/WorkDatabase.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace DemoData {

namespace {

QStringList splitStatements(const QString& text)
{
    QStringList statements;
    QString current;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1String("--")))
            continue;
        current += line + QLatin1Char('\n');
        if (trimmed.endsWith(QLatin1Char(';'))) {
            current = current.trimmed();
            current.chop(1);
            statements << current;
            current.clear();
        }
    }
    if (!current.trimmed().isEmpty())
        statements << current.trimmed();
    return statements;
}

} // namespace

void runScript(DataSession& session, const QStringList& scripts)
{
    TransactionGuard tx(session);
    for (const QString& text : scripts) {
        const QStringList statements = splitStatements(text);
        for (const QString& statement : statements) {
            session.Sql(statement);
            session.ejecutar();
        }
    }
    tx.commit();
}

QString script(const QString& name)
{
    QFile file(QStringLiteral(":/demo/") + name);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(53, QStringLiteral("Falta el recurso de demostración %1.").arg(name));
    return QString::fromUtf8(file.readAll());
}

void runScript(const QString& databaseFile, const QStringList& scripts)
{
    const auto run = [&scripts](DataSession& session) {
        runScript(session, scripts);
    };
    if (!QFileInfo::exists(databaseFile)) {
        DatabaseFile::create(databaseFile, run);
        return;
    }
    DataSession session(QFileInfo(databaseFile).fileName());
    session.CadenaConexion(DataSession::sqliteConnection(databaseFile));
    session.Conectar();
    run(session);
}

void write(const QString& home)
{
    const QDir dir(home);
    const struct {
        const char* file;
        const char* table;
        QString kind;
    } databases[] = {{"declaration", "catalogo", QStringLiteral("de declaraciones")},
                     {"nomenclator", "ncm", QStringLiteral("del nomenclador")}};
    for (const auto& database : databases) {
        const QString name = QLatin1String(database.file);
        const QString file = dir.filePath(name + QStringLiteral(".db"));
        if (QFileInfo::exists(file))
            DatabaseFile::check(file, QLatin1String(database.table), database.kind);
        else
            runScript(file, {script(name + QStringLiteral("-schema.sql")),
                             script(name + QStringLiteral("-data.sql"))});
    }

    {
        DataSession work;
        work.CadenaConexion(DataSession::sqliteConnection(WorkDatabase::path(home)));
        work.Conectar();
        RecordSet rs;
        work.Sql(QStringLiteral("select count(*) as n from PAIS"));
        work.CrearRs(rs);
        if (rs.Fields(QStringLiteral("n")).toInt() == 0)
            runScript(work, {script(QStringLiteral("work-data.sql"))});
    }

    // Settings and directory the operator may have changed since are left as they are.
    const QString directoryFile = dir.filePath(QStringLiteral("directory.ini"));
    if (!QFileInfo::exists(directoryFile)) {
        QSettings directory(directoryFile, QSettings::IniFormat);
        directory.setValue(QStringLiteral("INTERNOS/driver"), QStringLiteral("QSQLITE"));
        directory.setValue(QStringLiteral("INTERNOS/database"), QStringLiteral("declaration.db"));
        directory.setValue(QStringLiteral("NCM/driver"), QStringLiteral("QSQLITE"));
        directory.setValue(QStringLiteral("NCM/database"), QStringLiteral("nomenclator.db"));
        directory.sync();
    }

    QSettings settings(dir.filePath(QStringLiteral("Aduplan.ini")), QSettings::IniFormat);
    if (!settings.contains(QStringLiteral("CONFIG/INTCAT")))
        settings.setValue(QStringLiteral("CONFIG/INTCAT"), QStringLiteral("DEMO"));
    // Goods condition 1 (new) for rows that bring none, so that the demo shows the default.
    if (!settings.contains(QStringLiteral("CONFIG/PRCESM")))
        settings.setValue(QStringLiteral("CONFIG/PRCESM"), QStringLiteral("1"));
    settings.sync();

    dir.mkpath(QStringLiteral("invoices"));
    QDirIterator it(QStringLiteral(":/demo/invoices"));
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = dir.filePath(QStringLiteral("invoices/") + it.fileName());
        if (!QFileInfo::exists(target)) {
            if (!QFile::copy(source, target))
                throw AppError(75, QStringLiteral("No se pudo escribir %1.")
                                       .arg(QDir::toNativeSeparators(target)));
            QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                              QFile::ReadOther);
        }
    }
}

} // namespace DemoData
