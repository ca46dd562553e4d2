// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QList>
#include <QString>

#include <optional>

/** What a quantity measures, each in one unit: W, VA, V, A, mm, kg, l, kPa. */
enum class QuantityKind { Power, ApparentPower, Voltage, Current, Length, Mass, Volume, Pressure };

/** A number with an explicit unit, in its kind's unit. */
struct Quantity {
    QuantityKind kind;
    double value;
    /** Read in an inch-pound unit or in horsepower, whose nominal ratings are rounded
     *  equivalents of metric ones (1 HP for 0.75 kW): compared with a tolerance of 1 %. */
    bool approximate = false;
};

/** One end of a condition's range. */
struct QuantityBound {
    double value;
    bool inclusive;
    bool operator==(const QuantityBound&) const = default;
};

/** A condition on a quantity: "inferior o igual a 60 V", "superior a 750 W pero inferior o
 *  igual a 75 kW", "de 60 a 180 cm". */
struct QuantityCondition {
    QuantityKind kind;
    std::optional<QuantityBound> lower;
    std::optional<QuantityBound> upper;
    bool operator==(const QuantityCondition&) const = default;
};

/** How an article's quantities meet a set of conditions. */
enum class QuantityFit {
    Silent,       ///< no condition on a kind the article states
    Satisfied,    ///< every condition on a kind it states is met by one of its quantities
    Contradicted, ///< some condition on a kind it states is met by none of them
};

/**
 * Quantities read from texts: the conditions a nomenclator description states (Spanish
 * decimal comma, "1.000" a thousand) and the quantities a supplier's description gives (English
 * or Spanish: "0.75 KW", "1HP", "24VDC", "220/380 V", "1/2\"", "1-1/2 IN", "25MM"). Only a
 * number with an explicit unit counts: "6205", "M10" or "2RS" are models and sizes that say
 * nothing of a unit, and sizes across ("20X47X14 MM") do not say which dimension each is.
 */
class Quantities {
public:
    /** The conditions of a nomenclator text: a number with its unit after "inferior a",
     *  "inferior o igual a", "superior a", "superior o igual a" ("menor", "mayor" alike) or
     *  "hasta"; a lower and an upper bound joined by "pero" or "y" make one range, as do
     *  "de X a Y" and "entre X y Y". A number without a comparison states no condition. */
    static QList<QuantityCondition> conditions(const QString& text);

    /** The quantities of an article's description. */
    static QList<Quantity> quantities(const QString& description);

    /** Whether a quantity of the condition's kind meets it. */
    static bool meets(const QuantityCondition& condition, const Quantity& quantity);

    /** How the quantities meet the conditions. */
    static QuantityFit fit(const QList<QuantityCondition>& conditions,
                           const QList<Quantity>& quantities);
};
