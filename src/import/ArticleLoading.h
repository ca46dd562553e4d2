// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "components/AppError.h"
#include "data/ArticleStore.h"
#include "data/OriginRelations.h"
#include "import/InvoiceParser.h"

#include <QHash>
#include <QStringList>

class OperatorDialogs;
class Workspace;

/** Error number of every failure that unit conversion and origin mapping pass on. */
inline constexpr long LoadError = 1111;

/**
 * The value as the patterns "00.00" (2 decimals) and "00.00000" (5 decimals) format it and
 * read back: rounded to the decimals, halves away from zero.
 */
double roundFormatted(double value, int decimals);

/**
 * Whether the import converts the quantity of the lines it declares in the unit (a code that
 * units with a factor become): their unit price is then their total divided by the converted
 * quantity.
 */
bool convertsQuantity(const QString& declaredUnit);

/** The units whose quantity the import converts (see convertsQuantity), each once. */
const QStringList& convertedUnits();

/**
 * Converts the line's unit by the conversion table (unit text compared exactly): the unit
 * becomes the declaration system's code; for a unit with a factor the quantity becomes the
 * converted quantity rounded to 2 decimals and the unit price the total divided by the
 * converted quantity, rounded to 5 decimals. Raises error 1111 when the converted quantity
 * is 0.
 */
void ProcesarUnidades(InvoiceLine& line);

/**
 * Maps invoice origins to country codes through the origin relation for one load. An origin
 * the relation does not hold is asked of the operator once; the answer serves every later
 * line with the same text.
 */
class OriginLookup {
public:
    OriginLookup(DataSession& work, OperatorDialogs& dialogs);

    /**
     * Replaces the line's origin ("US" when it names none) by its country code. Raises error
     * 1111, "No seleciono Pais de Origen!" when the operator leaves the origin relation entry
     * without saving, and with the description of any database failure.
     */
    void BuscarOrigen(InvoiceLine& line);

private:
    QString code(const QString& origin);

    OriginRelations::Lookup m_relations;
    OperatorDialogs& m_dialogs;
    QHash<QString, QString> m_codes;
};

/**
 * The article rows of the lines, numbered from 1, with units converted and origins resolved
 * (asking the operator for an origin without relation; the relations saved stay). Writes no
 * article row: the caller replaces the interno's rows with them in its own transaction. A
 * failure is reported to the operator (critical message: description, two line breaks,
 * number) and gives nothing.
 */
std::optional<QList<Article>> CargarArticulos(Workspace& ws, QList<InvoiceLine> lines);
