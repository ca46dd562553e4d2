// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "data/PositionWordIndex.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

/**
 * English trade words and phrases with the Spanish words of the tariff nomenclature that stand
 * for them, so that a supplier's English description meets the nomenclator's descriptions.
 * The glossary the program uses is the text file src/data/trade-glossary.txt, compiled in: one
 * pair a line, the English word or phrase (at most three words), a tab, the Spanish words;
 * several lines for one English word give it several translations. Both sides are compared as
 * terms (PositionWordIndex::terms).
 */
class TradeGlossary {
public:
    /** The most words of an English phrase. */
    static constexpr qsizetype LongestPhrase = 3;

    /** The glossary compiled into the program, read once. */
    static const TradeGlossary& standard();

    /** A glossary from its text, as in the file. */
    explicit TradeGlossary(const QString& text);

    /**
     * The concepts of a description, in order: from the left, the longest phrase of the
     * glossary (its translations and its own terms); otherwise a word of three letters or more
     * without digits (sizes, models and units tell the nomenclator nothing), as it is, counting
     * half: a word the glossary does not know may be Spanish, or an English word that only
     * looks like one ("class" and "clase"). A supplier names the goods first and their sizes,
     * materials and finishes after: the last phrase the glossary knows before the first word
     * with a digit is the goods' own and counts half as much again ("BALL VALVE" of "BALL VALVE 1/2
     * IN STAINLESS STEEL"; without a size nothing tells where the goods' words end). Its terms
     * go to `goodsTerms` when given (left as they are when the description names none).
     */
    QList<PositionWordIndex::Concept> concepts(const QString& description,
                                               QStringList* goodsTerms = nullptr) const;

private:
    QHash<QString, QList<QStringList>> m_translations; // by the phrase's terms
};
