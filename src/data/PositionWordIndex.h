// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "data/NomenclatorTables.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

/**
 * The words of the nomenclator's descriptions ([010] and [004]) and the positions that hold
 * them, built once in memory, so that a search by words reads no table. Words are compared in
 * lower case and without accents.
 */
class PositionWordIndex {
public:
    /** The most lines a search gives. */
    static constexpr int MaxLines = 300;

    explicit PositionWordIndex(QList<PositionTexts> positions);

    /** The words of a text as the index compares them: lower case, accents dropped, split at
     *  every character that is neither a letter nor a digit. */
    static QStringList words(const QString& text);

    /**
     * The positions whose descriptions hold every word of the text (a word matches the
     * description's words that begin with it), best first: words of [010] before words of
     * [004] only, whole words before beginnings, then in position order. At most `limit`.
     */
    QList<PositionLine> find(const QString& text, int limit = MaxLines) const;

    /** The description ([010]) of a 15-character position; nothing when the nomenclator does
     *  not hold it. */
    std::optional<QString> description(const QString& position) const;

    qsizetype size() const { return m_positions.size(); }

private:
    /** A position holding a word; `fields` has bit 1 for [010] and bit 0 for [004]. */
    struct Posting {
        int position;
        quint8 fields;
    };

    QList<PositionTexts> m_positions;             // in position order
    std::vector<QString> m_words;                 // sorted, each once
    std::vector<std::vector<Posting>> m_postings; // per word, in position order
};
