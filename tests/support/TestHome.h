// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>
#include <QTemporaryDir>

/**
 * A fresh home folder in a temporary directory: the work database, directory.ini and the
 * declaration and nomenclator databases built from the demo schemas plus the given data
 * scripts (file paths under tests/fixtures, or empty for none).
 */
class TestHome {
public:
    TestHome();
    const QString& path() const { return m_path; }
    QString file(const QString& name) const;

    /** Creates the work database and an empty declaration and nomenclator database. */
    void createDatabases();
    /** Runs SQL (statements ended by ";" at line end) into a database of this home. */
    void runWorkSql(const QString& sql) const;
    void runDeclarationSql(const QString& sql) const;
    void runNomenclatorSql(const QString& sql) const;
    /**
     * Runs an SQL script under tests/fixtures into the database its name ends with:
     * NAME.work.sql, NAME.declaration.sql or NAME.nomenclator.sql.
     */
    void load(const QString& relativePath) const;
    /** Writes a setting of the CONFIG group. */
    void setSetting(const QString& key, const QString& value) const;

    /** The text of a file under tests/fixtures. */
    static QString testData(const QString& relativePath);
    static QString testDataPath(const QString& relativePath);

private:
    QTemporaryDir m_dir;
    QString m_path;
};
