// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QByteArray>
#include <QString>

/**
 * The operator's settings (group CONFIG of Aduplan.ini in the home folder): the catalog of the
 * declaration system (INTCAT) and the default goods condition (PRCESM), the folders last used,
 * and the windows' sizes and places (group Windows). Absent settings read as the empty text.
 */
class Settings {
public:
    explicit Settings(QString path);

    /** Reads both settings from the file. */
    void load();
    /** The catalog identifier as read at start-up or saved since. */
    const QString& catalog() const { return m_catalog; }
    /** The default goods condition as read at start-up. */
    const QString& goodsCondition() const { return m_goodsCondition; }

    /** Stores the catalog identifier in the file and here. */
    void saveCatalog(const QString& catalog);
    /** The catalog identifier as the file holds it now. */
    QString storedCatalog() const;

    /** The folder of the last invoice chosen (empty before the first). */
    QString documentFolder() const;
    void saveDocumentFolder(const QString& folder);

    /** The folder of the last file saved (an export, a report), empty before the first. */
    QString saveFolder() const;
    void rememberSaveFolder(const QString& folder);

    /** A window's size and place as last kept under its name (empty before the first). */
    QByteArray windowGeometry(const QString& window) const;
    void saveWindowGeometry(const QString& window, const QByteArray& geometry);

    const QString& path() const { return m_path; }

private:
    QString value(const QString& key) const;
    void setValue(const QString& key, const QString& value);

    QString m_path;
    QString m_catalog;
    QString m_goodsCondition;
};
