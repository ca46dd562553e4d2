// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "data/InvoiceTotalStore.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <cstring>
#include <optional>

/** One article block of an invoice, as the document writes it, its texts held as Text. */
template <typename Text> struct InvoiceBlock {
    Text partNumber;
    double quantity = 0;
    Text description;
    Text origin;
    double unitPrice = 0;
    double total = 0;
    Text unit;
};

/** An article block with texts of its own. */
using InvoiceLine = InvoiceBlock<QString>;

/**
 * An article block as views of the document's text, held so until it is written; a field the
 * parse had to put together anew views the parse's own copy of it (ParsedInvoice::rewritten).
 */
using InvoiceRecord = InvoiceBlock<QStringView>;

/** A document's article blocks and the total it states for its goods. */
struct ParsedInvoice {
    /** The blocks in document order, viewing the text parsed (which must outlive them). */
    QList<InvoiceRecord> records;
    std::optional<StatedTotal> statedTotal;
    /** The fields put together anew (a marker taken out of their middle), which records view. */
    QList<QString> rewritten;

    /** The blocks with texts of their own. */
    QList<InvoiceLine> lines() const;
};

namespace InvoiceParser {

/** The text without its leading and trailing blanks (spaces only: tabs stay). */
inline QStringView trimBlanks(QStringView text)
{
    // Four blanks at a time while they last, as fields run into long runs of them.
    const auto fourBlanksAt = [&text](qsizetype i) {
        std::uint64_t units;
        std::memcpy(&units, text.utf16() + i, sizeof units);
        return units == 0x0020'0020'0020'0020;
    };
    qsizetype from = 0;
    qsizetype to = text.size();
    while (to - from >= 4 && fourBlanksAt(from))
        from += 4;
    while (from < to && text[from] == u' ')
        ++from;
    while (to - from >= 4 && fourBlanksAt(to - 4))
        to -= 4;
    while (to > from && text[to - 1] == u' ')
        --to;
    return text.sliced(from, to - from);
}

/**
 * The number at the start of the text, read in the invoice's own form: blanks, tabs and line
 * feeds anywhere are ignored; an optional sign, digits, "." as decimal point and an optional
 * exponent; a "," in the whole part followed by exactly three digits and then a non-digit or
 * the end separates thousands and is skipped; anything else ends the number. 0 when no digit
 * comes first.
 */
double leadingNumber(QStringView text);

/**
 * The whole text read as an invoice number (same form as leadingNumber, without ignoring
 * blanks inside); nothing when the text holds anything else.
 */
std::optional<double> wholeNumber(QStringView text);

/**
 * The article blocks of a document's text whose lines end at each carriage return (as
 * LeerDocumento gives it), in document order, and its stated total (InvoiceTotal), in one walk
 * over the lines; lines are numbered from 1 for the messages. Raises an AppError for a quantity
 * that is blank or not a number and for a "COUNTRY OF ORIGIN:" line before the first article
 * line.
 */
ParsedInvoice parse(QStringView text);

} // namespace InvoiceParser
