#pragma once

#include "components/AppError.h"
#include "data/ArticleStore.h"
#include "data/OriginRelations.h"
#include "import/InvoiceParser.h"

#include <QHash>

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
 * article row. Raises error 1111 as ProcesarUnidades and OriginLookup do.
 */
QList<Article> articlesFromInvoice(Workspace& ws, QList<InvoiceLine> lines);

/** A failure of the article loading as the operator sees it: description, two breaks, number. */
void reportLoadFailure(OperatorDialogs& dialogs, const AppError& error);

/**
 * Replaces the interno's article rows with the lines, numbered from 1. Units and origins are
 * resolved for every line first; then the delete and the inserts run as one transaction, so a
 * failure of any kind leaves the former rows. Reports a failure to the operator (critical
 * message: description, two line breaks, number) and returns false.
 */
bool CargarArticulos(Workspace& ws, const QList<InvoiceLine>& lines, const QString& interno);
