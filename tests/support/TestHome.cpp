// SPDX-License-Identifier: Apache-2.0
#include "support/TestHome.h"

#include "components/DataSession.h"
#include "components/RecordSet.h"
#include "data/DemoData.h"
#include "data/WorkDatabase.h"
#include "support/WorkHome.h"

#include <QDir>
#include <QFile>
#include <QSettings>

TestHome::TestHome()
    : m_path(m_dir.path())
{}

QString TestHome::file(const QString& name) const
{
    return QDir(m_path).filePath(name);
}

void TestHome::createDatabases()
{
    WorkDatabase::create(m_path);
    DemoData::runScript(file(QStringLiteral("declaration.db")),
                        {DemoData::script(QStringLiteral("declaration-schema.sql"))});
    DemoData::runScript(file(QStringLiteral("nomenclator.db")),
                        {DemoData::script(QStringLiteral("nomenclator-schema.sql"))});
    QSettings directory(file(QStringLiteral("directory.ini")), QSettings::IniFormat);
    directory.setValue(QStringLiteral("INTERNOS/driver"), QStringLiteral("QSQLITE"));
    directory.setValue(QStringLiteral("INTERNOS/database"), QStringLiteral("declaration.db"));
    directory.setValue(QStringLiteral("NCM/driver"), QStringLiteral("QSQLITE"));
    directory.setValue(QStringLiteral("NCM/database"), QStringLiteral("nomenclator.db"));
}

void TestHome::runWorkSql(const QString& sql) const
{
    DemoData::runScript(WorkDatabase::path(m_path), {sql});
}

void TestHome::runDeclarationSql(const QString& sql) const
{
    DemoData::runScript(file(QStringLiteral("declaration.db")), {sql});
}

void TestHome::runNomenclatorSql(const QString& sql) const
{
    DemoData::runScript(file(QStringLiteral("nomenclator.db")), {sql});
}

void TestHome::load(const QString& relativePath) const
{
    const QString sql = testData(relativePath);
    if (sql.isEmpty())
        qFatal("no fixture %s", qPrintable(relativePath));
    if (relativePath.endsWith(QLatin1String(".work.sql")))
        runWorkSql(sql);
    else if (relativePath.endsWith(QLatin1String(".declaration.sql")))
        runDeclarationSql(sql);
    else if (relativePath.endsWith(QLatin1String(".nomenclator.sql")))
        runNomenclatorSql(sql);
    else
        qFatal("%s names no database", qPrintable(relativePath));
}

void TestHome::setSetting(const QString& key, const QString& value) const
{
    QSettings settings(file(QStringLiteral("Aduplan.ini")), QSettings::IniFormat);
    settings.setValue(QStringLiteral("CONFIG/") + key, value);
}

QString TestHome::testDataPath(const QString& relativePath)
{
    return QStringLiteral(ADUPLAN_SOURCE_DIR "/tests/fixtures/") + relativePath;
}

QString TestHome::testData(const QString& relativePath)
{
    QFile f(testDataPath(relativePath));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

QStringList queryRows(DataSession& session, const QString& sql, const QVariantList& values)
{
    session.Sql(sql, values);
    RecordSet rs;
    session.CrearRs(rs);
    QStringList rows;
    for (qsizetype r = 0; r < rs.RecordCount(); ++r) {
        QStringList fields;
        for (const QVariant& value : rs.row(r))
            fields << (value.isNull() ? QStringLiteral("~") : value.toString());
        rows << fields.join(u'|');
    }
    return rows;
}
