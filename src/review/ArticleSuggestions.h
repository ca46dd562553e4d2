// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QList>
#include <QString>

#include <memory>

class SuffixValidator;
class Workspace;

/** A classification offered for an article. */
struct ArticleSuggestion {
    QString position;            ///< 15 characters, a position of the nomenclator in use
    QString positionDescription; ///< the nomenclator's description of the position ([010])
    QString suffixes;            ///< the suffix string to start from
    bool suffixesValid = false;  ///< whether the suffix validator takes the string as it is
    double score = 0;            ///< from 0 to 1
    QString basis;               ///< the catalog article or nomenclator text it came from
};

/** What a leave-one-out run over a catalog found. */
struct SuggestionEvaluation {
    qint64 articles = 0;      ///< the catalog's articles tried
    qint64 outside = 0;       ///< its articles whose position the nomenclator does not hold
    qint64 firstRight = 0;    ///< whose own position came first
    qint64 topThreeRight = 0; ///< whose own position was among the first three
    qint64 suffixesValid = 0; ///< whose first suggestion's suffixes the validator took
};

/**
 * Classifications for an article that the catalogs do not know, from the office's own history.
 * Four signals, each from 0 to 1, for every position they point at:
 *
 * - N, the same number: the share of the articles with this number (in any catalog) that
 *   hold the position;
 * - F, the number's family (CatalogArticleIndex::family): how close the family's articles
 *   that hold the position are;
 * - D, the description: the cosine of the articles holding the position whose descriptions
 *   are most alike (CatalogArticleIndex::similar), halved for an article that does not name
 *   the goods the description names (TradeGlossary::concepts: "WASHER" of "FLAT WASHER 3/8 IN
 *   ZINC PLATED", which a zinc-plated nut only resembles); an article witnesses for the
 *   sibling of its position that the description's own qualifiers pick
 *   (PositionWordIndex::qualified: a stainless cap screw, for a cap screw that does not say
 *   stainless, witnesses for "Los demás tornillos y pernos");
 * - W, the nomenclator: how well the position's description chain holds the description's
 *   words, English ones through the trade glossary, and the kinds of quantity it states
 *   (TradeGlossary, PositionWordIndex::rank: a position is weighed by what it states of the
 *   goods, so that it does not pass its "Los demás" on a qualifier the description lacks),
 *   for the ten best positions holding at least 0.3.
 *
 * For F and D the two best articles meet as s1 + (1 - s1) * s2 / 2, so that a second witness
 * adds without outweighing the first. The score is (4 N + 3 F + 2 D + 2 W) / 11 times Q, from
 * 0 to 1: the nomenclator's words count as much as the catalogs' descriptions. Q weighs the
 * quantities the description states (a number with its unit: "1.5 HP", "24VDC", "25MM")
 * against the position's quantity conditions (PositionWordIndex::fit): 1 when they say nothing
 * of each other; 1/2 when they contradict them (a 220 V relay against "para una tensión
 * inferior o igual a 60 V", or its sibling "Los demás relés" against a 24 V one); and when they
 * meet them 1 + (1 - S) / 4 for the score S before it, so that the position gains without
 * passing 1. A "Los demás" beside a contradicted sibling is the fallback: it keeps its score.
 * Only positions that the nomenclator in use holds are offered, each once, best first, at most
 * ten. The basis is the strongest single witness; the suffix string comes from the strongest
 * catalog article of the position (for a position only the nomenclator points at, the first catalog
 * article holding it), its own article data rewritten for the new article (suffixTemplate), and the
 * suffix validator says whether it passes as it is.
 *
 * The indexes are the workspace's, built once per connection (the catalogs' again after a
 * transfer).
 */
class ArticleSuggestions {
public:
    static constexpr int MaxSuggestions = 10;

    explicit ArticleSuggestions(Workspace& ws);
    ~ArticleSuggestions();

    /** The suggestions for an article number and its description, best first. */
    QList<ArticleSuggestion> suggest(const QString& number, const QString& description);

    /**
     * Leave-one-out over a catalog: each article in turn is suggested from all the others,
     * its own entry left out, and its position looked for among the suggestions. An article
     * whose position the nomenclator in use does not hold is not tried, only counted apart:
     * no suggestion can be right for it (they only offer positions the nomenclator holds).
     */
    SuggestionEvaluation evaluate(const QString& catalog);

    /**
     * A neighbour's suffix string for a new article: a free value equal to the neighbour's
     * article number, written as it is, with blanks for its separators (as the suffix entry
     * cleans a value) or without them, becomes the new number written the same way (cut to
     * twenty characters); every other entry is kept.
     */
    static QString suffixTemplate(const QString& suffixes, const QString& neighbourNumber,
                                  const QString& number);

private:
    QList<ArticleSuggestion> suggest(const QString& number, const QString& description,
                                     int excluded);

    Workspace& m_ws;
    std::unique_ptr<SuffixValidator> m_validator;
};
