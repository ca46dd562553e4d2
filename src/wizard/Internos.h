// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QList>
#include <QString>

class Workspace;

/** An interno (table INTN): its number and description (empty when NULL). */
struct InternoRow {
    QString numero;
    QString descripcion;
};

/** The internos of the work database: listing, adding and deleting them. */
namespace Internos {

/** How an attempt to add an interno ended. */
enum class Alta {
    /** Refused or failed (the operator was told); the add dialog stays open. */
    Rechazada,
    /** The interno was stored. */
    Creada,
    /** The insert ran but stored nothing; the add dialog closes. */
    NoCreada,
};

/**
 * Every interno ordered by number. A failure is reported to the operator with the common
 * error report and gives the empty list.
 */
QList<InternoRow> FRAM1_CargarInternos(Workspace& ws);

/** An interno number or description as stored: every apostrophe becomes a blank. */
QString textoGuardado(const QString& text);

/** True when the interno (as it would be stored) exists; a database failure raises. */
bool existe(Workspace& ws, const QString& numero);

/**
 * Validates and adds an interno. The number is required (trimmed, apostrophes counting as
 * blanks); a blank description
 * (trimmed) becomes the number, written back into descripcion. Both are stored as typed,
 * apart from apostrophes. A number that already exists is refused with a message.
 */
Alta NuevoInterno(Workspace& ws, const QString& numero, QString& descripcion);

/**
 * Asks whether to delete the interno; on Yes deletes its article rows, its stated total and
 * its INTN row in one transaction. True when the INTN row was deleted (the list item goes); false
 * when the operator said No, the interno row did not exist, or a failure was reported.
 */
bool FRAM1_EliminarInterno(Workspace& ws, const QString& numero);

} // namespace Internos
