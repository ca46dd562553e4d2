// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "components/DataSession.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

/** A position of the nomenclator as the record editor confirms it. */
struct NomenclatorPosition {
    QVariant statisticalUnit; ///< [012]
    QVariant lapi;            ///< [059]: "*" when the position is subject to LAPI
    QString description;      ///< [010]
};

/** A suffix code stored for a position and its text (the question, or the option's name). */
struct SuffixCode {
    QString code;
    QString detail;
};

/** A position as a search lists it: the 15-character text and its description ([010]). */
struct PositionLine {
    QString position;
    QString description;
};

/** What the position search shows of a position. */
struct PositionDetails {
    QString description;       ///< [010]
    QString secondDescription; ///< [004]
    QString statisticalUnit;   ///< [012]
    QString lapi;              ///< [059]: "*" when the position is subject to LAPI
};

/** A position with both its descriptions, as the word index reads them. */
struct PositionTexts {
    QString position;
    QString description;       ///< [010]
    QString secondDescription; ///< [004]
};

/**
 * The reads of the record editor and the position search on the nomenclator (tables ncm and
 * sufidos). Suffix groups and their codes come in code order.
 */
class NomenclatorTables {
public:
    explicit NomenclatorTables(DataSession& nomenclator);

    /** The row of [001], [002] and [003]; nothing when there is none. */
    std::optional<NomenclatorPosition> position(const QString& digits, const QString& opening,
                                                const QString& letter);
    /** The distinct first two characters of the codes stored under the four level keys. */
    QStringList suffixGroups(const QStringList& levelKeys);
    /** The codes of a group stored under the four level keys. */
    QList<SuffixCode> suffixCodes(const QStringList& levelKeys, const QString& group);

    /**
     * The positions whose [001] is like the pattern (a LIKE pattern whose escape character is
     * "!"), in position order.
     */
    QList<PositionLine> positionsLike(const QString& pattern);
    /** The descriptions, unit and LAPI mark of [001], [002] and [003]; nothing when absent. */
    std::optional<PositionDetails> details(const QString& digits, const QString& opening,
                                           const QString& letter);
    /** Every code stored under the four level keys, in code order. */
    QList<SuffixCode> suffixes(const QStringList& levelKeys);
    /** Every position with its descriptions, in no particular order. */
    QList<PositionTexts> allPositions();

private:
    DataSession& m_ncm;
};
