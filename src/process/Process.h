// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

#include <functional>

class SuffixValidator;
class Workspace;

/**
 * The automatic process of an interno: imports the document, completes articles
 * from the catalog, fills the default goods condition, validates, and sets statistical
 * quantities. True when it completed; false after a failure reported to the operator.
 * A failed import or a document without text stops the run before anything is classified.
 */
bool FRAM2_GuardarDatosToBase(Workspace& ws, const QString& interno, const QString& documentPath);

/**
 * Checks a tariff position and its suffixes: 0 valid, 1 position not in the nomenclator,
 * 2 suffixes invalid for the position, any other value another failure. May raise.
 */
using SuffixCheck = std::function<int(const QString& position, const QString& suffixes)>;

/**
 * Stages 2 to 4 and the closing update on the rows the interno has: catalog lookup,
 * default goods condition, validation through `validate`, statistical quantities. They run
 * in one transaction on the work database: a failure rolls all of them back, is reported to
 * the operator with the statement of the run, and gives false. Runs under the caller's
 * hourglass.
 */
bool ClasificarArticulos(Workspace& ws, const QString& interno, const SuffixCheck& validate);

/**
 * As above with the suffix validator, which reads the rows' positions and suffix groups from
 * the nomenclator ahead, in a few selects.
 */
bool ClasificarArticulos(Workspace& ws, const QString& interno, SuffixValidator& validator);
