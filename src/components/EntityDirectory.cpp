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
        Entry e;
        e.driver =
            ini.value(QStringLiteral("driver"), QStringLiteral("QSQLITE")).toString().toUpper();
        e.database = ini.value(QStringLiteral("database")).toString();
        e.host = ini.value(QStringLiteral("host")).toString();
        e.port = ini.value(QStringLiteral("port")).toString();
        e.user = ini.value(QStringLiteral("user")).toString();
        e.password = ini.value(QStringLiteral("password")).toString();
        const QString passwordEnv = ini.value(QStringLiteral("passwordEnv")).toString();
        if (!passwordEnv.isEmpty())
            e.password = qEnvironmentVariable(passwordEnv.toLocal8Bit().constData());
        if (e.driver == QLatin1String("QSQLITE") && !e.database.isEmpty())
            e.database = QDir(m_home).absoluteFilePath(e.database);
        m_entries.insert(group.toUpper(), e);
        ini.endGroup();
    }
}

const EntityDirectory::Entry& EntityDirectory::entry(const QString& entity) const
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

QString EntityDirectory::connectionText(const QString& entity) const
{
    const Entry& e = entry(entity);
    return QStringLiteral("Driver=%1;Database=%2;Host=%3;Port=%4;User=%5;Password=%6")
        .arg(e.driver, e.database, e.host, e.port, e.user, e.password);
}

std::unique_ptr<DataSession> EntityDirectory::getDataConnectionByEntity(const QString& entity) const
{
    const Entry& e = entry(entity);
    if (e.driver == QLatin1String("QSQLITE") && !QFileInfo::exists(e.database))
        throw AppError(-1,
                       QStringLiteral("No se encuentra la base de datos de la entidad %1:\n%2\n"
                                      "Corrija la ruta en %3.")
                           .arg(entity, QDir::toNativeSeparators(e.database),
                                QDir::toNativeSeparators(iniPath())),
                       QStringLiteral("EntityDirectory"));
    auto session = std::make_unique<DataSession>(entity.toUpper());
    session->CadenaConexion(connectionText(entity));
    try {
        session->Conectar();
    } catch (const AppError& error) {
        throw AppError(error.number(),
                       QStringLiteral("%1\nRevise la entidad %2 en %3.")
                           .arg(error.description(), entity, QDir::toNativeSeparators(iniPath())),
                       QStringLiteral("EntityDirectory"));
    }
    return session;
}

QVariant EntityDirectory::getDateFormatbyEntity(const QString& entity, const QDateTime& when) const
{
    const Entry& e = entry(entity);
    if (e.driver == QLatin1String("QPSQL"))
        return when;
    return when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}
