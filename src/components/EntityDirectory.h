// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "components/DataSession.h"

#include <QDateTime>
#include <QHash>
#include <QString>

#include <memory>

/**
 * Resolves the outside databases by entity name ("INTERNOS", "NCM") from
 * <home>/directory.ini, one group per entity: driver (QSQLITE or QPSQL), database (an
 * SQLite file relative to the home, or a PostgreSQL database name), and for PostgreSQL host,
 * port, user and password or passwordEnv (the name of an environment variable), and
 * lockTimeout: the seconds a statement waits for another connection's lock (10 when absent,
 * 0 without limit).
 */
class EntityDirectory {
public:
    explicit EntityDirectory(QString home);

    /** Reads directory.ini. A missing file leaves the directory without entities. */
    void LoadParameters();
    /** A connected session for the entity; raises a clear error when it cannot be reached. */
    std::unique_ptr<DataSession> getDataConnectionByEntity(const QString& entity) const;
    /** The date and time as the entity's database stores it, ready to be bound. */
    QVariant getDateFormatbyEntity(const QString& entity, const QDateTime& when) const;

    const QString& home() const { return m_home; }
    QString iniPath() const;

private:
    /** The entity's connection; raises when the entity is not defined. */
    const ConnectionSettings& entry(const QString& entity) const;

    QString m_home;
    QHash<QString, ConnectionSettings> m_entries;
};
