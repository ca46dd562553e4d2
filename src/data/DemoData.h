// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

class DataSession;

/** The demo home: declaration and nomenclator databases, countries, relations, invoices. */
namespace DemoData {

/**
 * Runs an SQL script (statements ended by ";" at the end of a line, "--" comment lines)
 * into an SQLite database file in one transaction; a missing file is created whole or not at
 * all.
 */
void runScript(const QString& databaseFile, const QStringList& scripts);
/** Runs SQL scripts on an open session, in one transaction. */
void runScript(DataSession& session, const QStringList& scripts);

/** The text of an embedded script, as ":/demo/<name>". */
QString script(const QString& name);

/**
 * Writes the demo into a home whose work database exists: declaration.db, nomenclator.db,
 * directory.ini, PAIS and ORG rows, the INTCAT setting and invoices/. Databases that exist
 * are left as they are; one that is not the database it should be is reported.
 */
void write(const QString& home);

} // namespace DemoData
