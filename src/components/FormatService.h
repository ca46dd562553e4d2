// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>
#include <QVariant>

#include <optional>

/** Value tests used when reading fields. */
class FormatService {
public:
    /** The value as a number; 0 when it is NULL or not numeric. */
    double EsNumero(const QVariant& value) const;
    /** The value as text; the empty text (bound as such, not as NULL) when it is NULL. */
    QString EsNull(const QVariant& value) const;
    /** The text; the empty text when it is null. */
    QString EsNull(const QString& text) const;
    /**
     * A number in its general text form: as many decimals as it needs, no thousands
     * separator, the decimal separator of the user's regional settings.
     */
    QString generalNumber(double value) const;
    /**
     * A number as the operator types it, in the form of the user's regional settings: an
     * optional sign, digits, and decimals after the locale's separator, blanks around it
     * ignored. Nothing for anything else: an empty text, letters, a thousands separator, an
     * exponent, the other decimal separator, infinities and NaN.
     */
    std::optional<double> typedNumber(const QString& text) const;
};
