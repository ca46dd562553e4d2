// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "data/NomenclatorTables.h"
#include "data/Quantities.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

/**
 * The words of the nomenclator's descriptions ([010] and [004]) and the positions that hold
 * them, built once in memory, so that a search by words reads no table. Words are compared in
 * lower case and without accents.
 *
 * For ranking, each position also holds the terms (words as `terms` folds them) of its
 * description chain, its own description ([010]) with the descriptions of the rows above it
 * (the rows whose codes are its own cut at the heading, subheading, item or subitem and filled
 * with zeros: "8482.00.00.000" and "8482.10.00.000" above "8482.10.10.000"), and as context
 * its second description ([004]). A row with rows below it is not ranked itself: its words
 * count for the rows below, so that the deepest level matching wins.
 */
class PositionWordIndex {
public:
    /** The most lines a search gives. */
    static constexpr int MaxLines = 300;

    /** One word or phrase of a text to rank by: the term lists that may stand for it (its
     *  translations), any one of which may match, and how much it counts. */
    struct Concept {
        QList<QStringList> translations;
        double weight = 1;
    };

    /** A position ranked for some concepts, and how well it holds them, from 0 to 1. */
    struct Ranked {
        PositionLine line;
        double strength;
    };

    explicit PositionWordIndex(QList<PositionTexts> positions);

    /** The words of a text as the index compares them: lower case, accents dropped, split at
     *  every character that is neither a letter nor a digit. */
    static QStringList words(const QString& text);
    /** The words as descriptions are ranked: a final "s" and then a final "e" dropped from
     *  words of more than three characters, so that plurals meet their singular. */
    static QStringList terms(const QString& text);

    /**
     * The positions whose descriptions hold every word of the text (a word matches the
     * description's words that begin with it), best first: words of [010] before words of
     * [004] only, whole words before beginnings, then in position order. At most `limit`.
     */
    QList<PositionLine> find(const QString& text, int limit = MaxLines) const;

    /** The description ([010]) of a 15-character position; nothing when the nomenclator does
     *  not hold it. */
    std::optional<QString> description(const QString& position) const;

    /**
     * The positions that best hold the concepts, best first, at most `limit`. A term weighs
     * its rarity across the ranked positions, ln(1 + positions / positions holding it), in full
     * in a position's description chain and three quarters in its context. A concept weighs its
     * own weight times its best translation's (the mean weight of its terms), and a position
     * gets, of that, what its best held translation holds; concepts the nomenclator does not
     * know at all weigh nothing. The strength is mostly the share of the concepts' weight a
     * position gets, and partly the share of its chain's weight the concepts hold,
     * so that of two positions holding the same words the one saying less else comes first.
     * That share counts only what the chain states the goods are: not "los demás" (the goods
     * its siblings are not), nor what follows "sin" or "ni" (what the goods lack) or "incluso"
     * (what they may come with) up to the next punctuation mark. So a position is not
     * rewarded over its "Los demás" for a qualifier the text does not hold ("de acero
     * inoxidable"), nor passed over for the plain goods a "sin reforzar ni combinar" is.
     * Each kind of quantity but length the text states ("600 V") is a concept too, weighing the
     * rarity of the positions whose conditions speak of that kind, and held by those whose
     * conditions on it the text's quantities meet ("para una tensión inferior o igual a
     * 1000 V"; for a "Los demás", those that set its siblings apart, which they must not
     * meet), among the positions some word of the text points at.
     */
    std::vector<Ranked> rank(const QList<Concept>& concepts, int limit,
                             const QList<Quantity>& quantities = {}) const;

    /**
     * How an article's quantities meet the quantity conditions of a position's description
     * chain and second description ("de potencia inferior o igual a 750 W"). A "Los demás"
     * position holds what its closest siblings (the ranked positions sharing the longest start
     * of its code, the subheading's first level at least) do not: it is contradicted too where the
     * quantities meet the conditions that set one of them apart. Silent for a position the
     * nomenclator does not hold.
     */
    QuantityFit fit(const QString& position, const QList<Quantity>& quantities) const;

    /**
     * For a text whose terms are `held`, alike to a neighbour's of the position whose terms are
     * `neighbourTerms()` (asked only for a position with siblings), the sibling of the position the
     * text's own words pick: the qualifiers that set a position apart from its "Los demás" (its
     * stated terms that the "Los demás" does not state: "acero inoxidable" of "Tornillos y pernos
     * ..., de acero inoxidable") tell the two apart, whatever else the texts share. The "Los demás"
     * when the neighbour holds the position's qualifiers and the text does not; for a "Los demás",
     * the first sibling whose qualifiers the text holds and the neighbour does not; else the
     * position.
     */
    QString qualified(const QString& position, const QSet<QString>& held,
                      const std::function<QSet<QString>()>& neighbourTerms) const;

    qsizetype size() const { return m_positions.size(); }

private:
    /** A position holding a word; `fields` has bit 1 for [010] and bit 0 for [004]. */
    struct Posting {
        int position;
        quint8 fields;
    };

    /** A position's place among its siblings (PositionWordIndex::qualified). */
    struct Otherwise {
        int position = -1;      // its "Los demás", the one sharing the longest start of its code
        QStringList qualifiers; // its stated terms that the "Los demás" does not state
        std::vector<int> specific; // for a "Los demás", the positions it is the "Los demás" of
    };

    /** A ranked position holding a term: `own` when its description chain does, `stated`
     *  when the chain states it of the goods (PositionWordIndex::rank). */
    struct TermPosting {
        int position;
        bool own;
        bool stated;
    };

    void indexTerms();
    /**
     * The conditions of the ranked positions' chains, what a "Los demás" leaves out, and the
     * "Los demás" of each position that has one (m_siblings).
     */
    void indexConditions(const std::vector<std::vector<int>>& above,
                         const std::vector<bool>& hasBelow);
    /** Whether the quantities meet a ranked position's conditions on a kind: its chain's,
     *  and for a "Los demás" those that set its siblings apart, which they must not meet.
     *  False when neither speaks of the kind. */
    bool meetsKind(int position, QuantityKind kind, const QList<Quantity>& quantities) const;
    /** Where a 15-character position is in m_positions. */
    std::optional<qsizetype> indexOf(const QString& position) const;
    /** A term's weight: its rarity across the ranked positions. */
    double termWeight(const std::vector<TermPosting>& postings) const;

    QList<PositionTexts> m_positions;             // in position order
    std::vector<QString> m_words;                 // sorted, each once
    std::vector<std::vector<Posting>> m_postings; // per word, in position order
    QHash<QString, std::vector<TermPosting>> m_terms;
    std::vector<double> m_ownWeight; // per position, the weight of its chain's stated terms
    qsizetype m_ranked = 0;          // the positions without rows below them
    QHash<QuantityKind, qsizetype> m_speaking; // per kind, the positions meetsKind speaks of
    std::vector<QList<QuantityCondition>> m_conditions; // per position, of its chain
    // per "Los demás" position, each sibling's conditions that it does not state itself
    std::vector<std::vector<QList<QuantityCondition>>> m_otherwise;
    std::vector<Otherwise> m_siblings; // per position
};
