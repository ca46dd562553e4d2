// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "data/ArticleStore.h"
#include "data/InvoiceTotalStore.h"

#include <QList>
#include <QLocale>
#include <QString>

#include <optional>

/**
 * The arithmetic of an interno's invoice: each line's total against its quantity times its
 * unit price, and the sum of the lines' totals against the total the invoice states.
 */
namespace InvoiceArithmetic {

/** What binary fractions add to a comparison of amounts (10 x 4.536 is 45.36). */
inline constexpr double Tolerance = 1e-9;

/**
 * Whether a total is quantity times unit price rounded to the cent, half a cent going either
 * way, as invoices round (0.465 may be written 0.46 or 0.47).
 */
bool totalIsRight(double quantity, double unitPrice, double total);

/** Quantity times unit price rounded to the cent, halves away from zero. */
double expectedTotal(double quantity, double unitPrice);

/**
 * Whether the row's total is right. A NULL quantity, unit price or total counts as 0. A row
 * whose quantity the import converted to another unit (declared unit kilograms, metres or
 * litres) holds a unit price worked out from its total, not the invoice's own: it is right.
 */
bool lineIsRight(const Article& row);

/** The article rows whose total is wrong, in the rows' order. */
QList<Article> wrongLines(const QList<Article>& rows);

/** A line whose total is not its quantity times its unit price. */
struct WrongLine {
    qint64 line = 0;
    QString article;
    double expected = 0;
    double found = 0;
};

/** The arithmetic of one interno. */
struct Review {
    QList<WrongLine> lines;
    /** The total the document stated; nothing when it had no total line. */
    std::optional<StatedTotal> stated;
    /** The sum of the lines' totals as found. */
    double lineSum = 0;

    /** Whether the stated total is not the sum of the lines, to the cent. */
    bool statedDiffers() const;
    /** The amounts to review: the wrong lines, and the stated total when it differs. */
    qint64 count() const { return lines.size() + (statedDiffers() ? 1 : 0); }
};

/** A line the operator reviews: a line's total, or the stated total against the lines. */
struct ReviewLine {
    /** The article's line ("0020"); empty for the stated total. */
    QString line;
    /** The article, or the stated total with the line of the document that states it. */
    QString subject;
    /** Quantity times unit price, or the sum of the lines. */
    double expected = 0;
    /** The line's total, or the stated total. */
    double found = 0;
};

/** The wrong lines in order, then the stated total when it differs from the sum of the lines. */
QList<ReviewLine> reviewLines(const Review& review);

/** Reviews the interno's rows and stated total; a database failure raises. */
Review review(DataSession& work, const QString& interno);

/**
 * How many amounts the interno has to review (Review::count()), added up by the database
 * without reading the rows; a database failure raises.
 */
qint64 countToReview(DataSession& work, const QString& interno);

/** An amount with two decimals in the locale's form, without thousands separators. */
QString amount(double value, const QLocale& locale);

/**
 * The stated total against the sum of the lines, naming the document line it came from, or
 * that the document had no total line.
 */
QString statedComparison(const Review& review, const QLocale& locale);

} // namespace InvoiceArithmetic
