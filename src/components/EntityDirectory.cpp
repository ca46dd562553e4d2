// SPDX-License-Identifier: Apache-2.0
#include "components/EntityDirectory.h"

#include "components/AppError.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

EntityDirectory::EntityDirectory(QString home)
    : m_home(std::move(home))
{}

QString EntityDirectory::iniPath() const
{
    return QDir(m_home).filePath(QStringLiteral("directory.ini"));
}

void EntityDirectory::LoadParameters()
{
    m_entries.clear();
    QSettings ini(iniPath(), QSettings::IniFormat);
    const QStringList groups = ini.childGroups();
    for (const QString& group : groups) {
        ini.beginGroup(group);
        ConnectionSettings e;
        e.driver =
            ini.value(QStringLiteral("driver"), QStringLiteral("QSQLITE")).toString().toUpper();
        e.database = ini.value(QStringLiteral("database")).toString();
        e.host = ini.value(QStringLiteral("host")).toString();
        bool portGiven = false;
        const int port = ini.value(QStringLiteral("port")).toString().toInt(&portGiven);
        e.port = portGiven ? port : -1;
        bool timeoutGiven = false;
        const int timeout =
            ini.value(QStringLiteral("lockTimeout")).toString().toInt(&timeoutGiven);
        if (timeoutGiven && timeout >= 0)
            e.lockTimeout = timeout;
        e.user = ini.value(QStringLiteral("user")).toString();
        e.password = ini.value(QStringLiteral("password")).toString();
        const QString passwordEnv = ini.value(QStringLiteral("passwordEnv")).toString();
        if (!passwordEnv.isEmpty())
            e.password = qEnvironmentVariable(passwordEnv.toLocal8Bit().constData());
        if (e.driver == QLatin1String("QSQLITE") && !e.database.isEmpty())
            e.database = QDir(m_home).absoluteFilePath(e.database);
        e.definedIn = iniPath();
        m_entries.insert(group.toUpper(), e);
        ini.endGroup();
    }
}

const ConnectionSettings& EntityDirectory::entry(const QString& entity) const
{
    const auto it = m_entries.constFind(entity.toUpper());
    if (it == m_entries.constEnd() || it->database.isEmpty())
        throw AppError(-1,
                       QStringLiteral("La entidad %1 no está definida en %2.\nAgregue el grupo "
                                      "[%1] con driver y database.")
                           .arg(entity, QDir::toNativeSeparators(iniPath())),
                       QStringLiteral("EntityDirectory"));
    return *it;
}

std::unique_ptr<DataSession> EntityDirectory::getDataConnectionByEntity(const QString& entity) const
{
    const ConnectionSettings& e = entry(entity);
    if (e.driver == QLatin1String("QSQLITE") && !QFileInfo::exists(e.database))
        throw AppError(-1,
                       QStringLiteral("No se encuentra la base de datos de la entidad %1:\n%2\n"
                                      "Corrija la ruta en %3.")
                           .arg(entity, QDir::toNativeSeparators(e.database),
                                QDir::toNativeSeparators(iniPath())),
                       QStringLiteral("EntityDirectory"));
    auto session = std::make_unique<DataSession>(entity.toUpper());
    session->CadenaConexion(e);
    session->Conectar();
    return session;
}

QVariant EntityDirectory::getDateFormatbyEntity(const QString& entity, const QDateTime& when) const
{
    const ConnectionSettings& e = entry(entity);
    if (e.driver == QLatin1String("QPSQL"))
        return when;
    return when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}
