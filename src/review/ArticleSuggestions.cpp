// SPDX-License-Identifier: Apache-2.0
#include "review/ArticleSuggestions.h"

#include "components/SuffixValidator.h"
#include "data/CatalogArticleIndex.h"
#include "data/Nomenclator.h"
#include "data/Quantities.h"
#include "data/TradeGlossary.h"
#include "workspace/Workspace.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace {

constexpr double NumberWeight = 4.0 / 11;
constexpr double FamilyWeight = 3.0 / 11;
constexpr double DescriptionWeight = 2.0 / 11;
constexpr double WordsWeight = 2.0 / 11;
/** How many of the most alike descriptions are read. */
constexpr int DescriptionNeighbours = 40;
/** What a description neighbour that does not name the article's goods witnesses, of its
 *  likeness ("ZINC PLATED" of a nut for a washer). */
constexpr double OtherGoodsShare = 0.5;
/** How many of the nomenclator's best positions are read. */
constexpr int NomenclatorNeighbours = 10;
/** The least share of the description a nomenclator position must hold to witness. */
constexpr double LeastWordShare = 0.3;
/** What a position whose conditions the article's quantities meet gains, of its score
 *  times what it lacks to 1. */
constexpr double MetGain = 0.25;
/** What is left of the score of a position whose conditions they contradict. */
constexpr double ContradictedShare = 0.5;
/** The most suffix characters a free value holds. */
constexpr qsizetype ValueLength = 20;

/** A signal's witnesses for one position: the two strongest, the first one named. */
struct Witnesses {
    double best = 0;
    double second = 0;
    int article = -1; // the catalog article of the best witness, -1 for none
    QString text;     // the nomenclator description of the best witness

    void add(double strength, int witness, const QString& description = {})
    {
        if (strength > best) {
            second = best;
            best = strength;
            article = witness;
            text = description;
        } else if (strength > second) {
            second = strength;
        }
    }
    double value() const { return best + (1 - best) * second / 2; }
};

struct Evidence {
    Witnesses number; // only the share of the same number counts (below)
    double numberShare = 0;
    Witnesses family;
    Witnesses description;
    Witnesses words;

    double score() const
    {
        return NumberWeight * numberShare + FamilyWeight * family.value() +
               DescriptionWeight * description.value() + WordsWeight * words.value();
    }
};

/** A position's score as the article's quantities meet its conditions. */
double fitted(double score, QuantityFit fit)
{
    switch (fit) {
    case QuantityFit::Satisfied:
        return score + MetGain * score * (1 - score);
    case QuantityFit::Contradicted:
        return ContradictedShare * score;
    case QuantityFit::Silent:
        break;
    }
    return score;
}

/** Letters and digits only, in upper case. */
QString squeezed(const QString& text)
{
    QString result;
    for (const QChar c : text) {
        if (c.isLetterOrNumber())
            result += c.toUpper();
    }
    return result;
}

/** Every term of the concepts, in any of their translations. */
QSet<QString> heldTerms(const QList<PositionWordIndex::Concept>& concepts)
{
    QSet<QString> held;
    for (const PositionWordIndex::Concept& c : concepts) {
        for (const QStringList& translation : c.translations)
            held.unite(QSet<QString>(translation.cbegin(), translation.cend()));
    }
    return held;
}

QString articleText(const CatalogArticle& article)
{
    return article.catalog.trimmed() + u' ' + article.number.trimmed();
}

} // namespace

ArticleSuggestions::ArticleSuggestions(Workspace& ws)
    : m_ws(ws)
{}

ArticleSuggestions::~ArticleSuggestions() = default;

QString ArticleSuggestions::suffixTemplate(const QString& suffixes, const QString& neighbourNumber,
                                           const QString& number)
{
    const QString neighbour = neighbourNumber.trimmed();
    const QString wanted = number.trimmed();
    const std::pair<QString, QString> forms[] = {
        {neighbour, wanted},
        {Nomenclator::LimpiarValor(neighbour).simplified(),
         Nomenclator::LimpiarValor(wanted).simplified()},
        {squeezed(neighbour), squeezed(wanted)},
    };
    QString result;
    qsizetype open = -1; // where the value of the entry being read begins
    for (qsizetype i = 0; i < suffixes.size(); ++i) {
        const QChar c = suffixes.at(i);
        if (open < 0) {
            result += c;
            if (c == u'(')
                open = i + 1;
            continue;
        }
        if (c != u')')
            continue;
        QString value = suffixes.mid(open, i - open);
        const QString trimmed = value.trimmed();
        for (const auto& [from, to] : forms) {
            if (!trimmed.isEmpty() && trimmed == from) {
                value = to.left(ValueLength);
                break;
            }
        }
        result += value + c;
        open = -1;
    }
    if (open >= 0) // a value never closed stays as it was
        result += suffixes.mid(open);
    return result;
}

QList<ArticleSuggestion> ArticleSuggestions::suggest(const QString& number,
                                                     const QString& description)
{
    return suggest(number, description, -1);
}

QList<ArticleSuggestion> ArticleSuggestions::suggest(const QString& number,
                                                     const QString& description, int excluded)
{
    const CatalogArticleIndex& index = m_ws.catalogArticles();
    const PositionWordIndex& nomenclator = m_ws.positionWords();
    QHash<QString, Evidence> evidence;
    auto positionOf = [&index](int article) {
        return index.article(article).position.trimmed();
    };

    std::vector<int> same = index.sameNumber(number);
    std::erase(same, excluded);
    for (const int article : same) {
        Evidence& e = evidence[positionOf(article)];
        e.numberShare += 1.0 / double(same.size());
        e.number.add(1, article);
    }
    for (const CatalogArticleIndex::Match& m : index.family(number)) {
        if (m.article != excluded)
            evidence[positionOf(m.article)].family.add(m.strength, m.article);
    }
    QStringList goods;
    const TradeGlossary& glossary = TradeGlossary::standard();
    const QList<PositionWordIndex::Concept> concepts = glossary.concepts(description, &goods);
    const QSet<QString> held = heldTerms(concepts);
    const auto namesGoods = [&goods](const QString& text) {
        const QStringList terms = PositionWordIndex::terms(text);
        return std::all_of(goods.cbegin(), goods.cend(),
                           [&terms](const QString& term) { return terms.contains(term); });
    };
    for (const CatalogArticleIndex::Match& m :
         index.similar(description, DescriptionNeighbours + 1)) {
        if (m.article == excluded)
            continue;
        const QString& text = index.article(m.article).description;
        const bool named = goods.isEmpty() || namesGoods(text);
        const QString position = nomenclator.qualified(
            positionOf(m.article), held, [&] { return heldTerms(glossary.concepts(text)); });
        evidence[position].description.add(named ? m.strength : OtherGoodsShare * m.strength,
                                           m.article);
    }

    const QList<Quantity> quantities = Quantities::quantities(description);
    for (const PositionWordIndex::Ranked& r :
         nomenclator.rank(concepts, NomenclatorNeighbours, quantities)) {
        if (r.strength >= LeastWordShare)
            evidence[r.line.position].words.add(r.strength, -1, r.line.description);
    }

    QList<ArticleSuggestion> suggestions;
    for (auto it = evidence.cbegin(); it != evidence.cend(); ++it) {
        const std::optional<QString> positionDescription = nomenclator.description(it.key());
        if (!positionDescription)
            continue;
        const Evidence& e = it.value();
        const std::pair<double, const Witnesses*> catalogWitnesses[] = {
            {NumberWeight * e.numberShare, &e.number},
            {FamilyWeight * e.family.best, &e.family},
            {DescriptionWeight * e.description.best, &e.description},
        };
        const QString labels[] = {QStringLiteral("mismo número: "), QStringLiteral("familia: "),
                                  QStringLiteral("descripción: ")};
        int strongest = -1;
        for (int k = 0; k < 3; ++k) {
            if (catalogWitnesses[k].second->article >= 0 &&
                (strongest < 0 || catalogWitnesses[k].first > catalogWitnesses[strongest].first))
                strongest = k;
        }
        ArticleSuggestion s;
        s.position = it.key();
        s.positionDescription = *positionDescription;
        s.score = fitted(e.score(), nomenclator.fit(it.key(), quantities));
        if (strongest >= 0) {
            const CatalogArticle& neighbour =
                index.article(catalogWitnesses[strongest].second->article);
            s.suffixes = suffixTemplate(neighbour.suffixes, neighbour.number, number);
            s.basis = labels[strongest] + articleText(neighbour);
        } else {
            // Only the nomenclator points here: the suffixes of a catalog article holding the
            // position, if any, are still the better start.
            std::vector<int> holding = index.withPosition(it.key());
            std::erase(holding, excluded);
            if (!holding.empty()) {
                const CatalogArticle& neighbour = index.article(holding.front());
                s.suffixes = suffixTemplate(neighbour.suffixes, neighbour.number, number);
            }
        }
        if (strongest < 0 || WordsWeight * e.words.best > catalogWitnesses[strongest].first)
            s.basis = QStringLiteral("nomenclador: ") + e.words.text;
        suggestions << s;
    }
    std::sort(suggestions.begin(), suggestions.end(),
              [](const ArticleSuggestion& a, const ArticleSuggestion& b) {
                  return a.score != b.score ? a.score > b.score : a.position < b.position;
              });
    if (suggestions.size() > MaxSuggestions)
        suggestions.resize(MaxSuggestions);

    if (!m_validator) {
        m_validator = std::make_unique<SuffixValidator>();
        m_validator->ConexionString(m_ws.directory());
    }
    for (ArticleSuggestion& s : suggestions)
        s.suffixesValid = m_validator->ValidarSufijos(s.position, s.suffixes) == 0;
    return suggestions;
}

SuggestionEvaluation ArticleSuggestions::evaluate(const QString& catalog)
{
    const CatalogArticleIndex& index = m_ws.catalogArticles();
    const PositionWordIndex& nomenclator = m_ws.positionWords();
    SuggestionEvaluation result;
    for (const int article : index.inCatalog(catalog)) {
        const CatalogArticle& hidden = index.article(article);
        const QString position = hidden.position.trimmed();
        if (!nomenclator.description(position)) {
            ++result.outside;
            continue;
        }
        const QList<ArticleSuggestion> found = suggest(hidden.number, hidden.description, article);
        ++result.articles;
        for (qsizetype k = 0; k < std::min(found.size(), qsizetype(3)); ++k) {
            if (found.at(k).position == position) {
                result.firstRight += k == 0 ? 1 : 0;
                ++result.topThreeRight;
            }
        }
        if (!found.isEmpty() && found.first().suffixesValid)
            ++result.suffixesValid;
    }
    return result;
}
