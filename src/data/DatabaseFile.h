// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class DataSession;

/** SQLite database files that the program makes itself (the work database, the demo's). */
namespace DatabaseFile {

/**
 * Makes a new database at `target`: `fill` writes it through a session on a temporary file
 * beside the target (TemporaryFile), which is renamed into place only once complete. A failure
 * leaves no file behind, nor does a killed run once the target is created again; an existing
 * target is never replaced.
 */
void create(const QString& target, const std::function<void(DataSession&)>& fill);

/**
 * Raises, naming the file, unless `file` is an SQLite database holding `table`; `kind` tells
 * the operator which database it should have been ("de trabajo", ...).
 */
void check(const QString& file, const QString& table, const QString& kind);

/**
 * Runs `schema`, the statements that create `table`, in one transaction when the session's
 * database lacks the table (a database made before the table existed).
 */
void createWhenMissing(DataSession& session, const QString& table, const QStringList& schema);

/**
 * Adds each column the table lacks (its name, then its type and constraints), in one
 * transaction: a table made before the columns existed.
 */
void addColumnsWhenMissing(DataSession& session, const QString& table,
                           const QList<std::pair<QString, QString>>& columns);

} // namespace DatabaseFile
