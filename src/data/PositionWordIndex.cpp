// SPDX-License-Identifier: Apache-2.0
#include "data/PositionWordIndex.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace {

constexpr quint8 InDescription = 2;       // [010]
constexpr quint8 InSecondDescription = 1; // [004]
/** A position's code as digits: "84821010000" for "8482.10.10.000M". */
constexpr qsizetype CodeDigits = 11;
/** Where a code is cut for the rows above it: heading, subheading (two levels), item,
 *  subitem. */
constexpr qsizetype Levels[] = {4, 5, 6, 7, 8};
/** The least start of their codes a "Los demás" shares with its siblings: the subheading's
 *  first level. Under a heading alone, a sibling's conditions may belong to a level between
 *  them ("Motores trifásicos" of the motors beside single-phase ones). */
constexpr qsizetype SiblingDigits = 5;
/** What a term of a position's second description counts for, against its chain's. */
constexpr double ContextShare = 0.75;
/** The part of a position's strength that is the share of its chain's weight held. */
constexpr double OwnShare = 0.25;

QString codeDigits(const QString& position)
{
    QString digits;
    for (const QChar c : position.left(CodeDigits + 3)) {
        if (c.isDigit())
            digits += c;
    }
    return digits;
}

/** Whether a description is the "Los demás" ("Las demás") of its siblings. */
bool isOtherwise(const QString& description)
{
    if (!description.contains(u"dem", Qt::CaseInsensitive))
        return false;
    const QStringList w = PositionWordIndex::words(description);
    for (qsizetype i = 0; i + 1 < w.size(); ++i) {
        if ((w.at(i) == u"los" || w.at(i) == u"las") && w.at(i + 1) == u"demas")
            return true;
    }
    return false;
}

QSet<QString> termSet(const QString& text)
{
    const QStringList found = PositionWordIndex::terms(text);
    return {found.cbegin(), found.cend()};
}

/** A word as a term: a final "s" and then a final "e" dropped from words of more than three
 *  characters. */
QString stem(QString word)
{
    if (word.size() > 3 && word.endsWith(u's'))
        word.chop(1);
    if (word.size() > 3 && word.endsWith(u'e'))
        word.chop(1);
    return word;
}

/** The terms a description states of the goods (PositionWordIndex::rank). */
QSet<QString> statedTerms(const QString& text)
{
    QSet<QString> found;
    static const QRegularExpression punctuation(QStringLiteral("[,;:.()]"));
    for (const QString& clause : text.split(punctuation)) {
        const QStringList w = PositionWordIndex::words(clause);
        for (qsizetype i = 0; i < w.size(); ++i) {
            const QString& word = w.at(i);
            if (word == u"sin" || word == u"ni" || word == u"incluso")
                break; // what the goods lack or may come with, to the clause's end
            const bool otherwise =
                word == u"demas" ||
                ((word == u"los" || word == u"las") && i + 1 < w.size() && w.at(i + 1) == u"demas");
            if (!otherwise)
                found.insert(stem(word));
        }
    }
    return found;
}

} // namespace

PositionWordIndex::PositionWordIndex(QList<PositionTexts> positions)
    : m_positions(std::move(positions))
{
    std::sort(
        m_positions.begin(), m_positions.end(),
        [](const PositionTexts& a, const PositionTexts& b) { return a.position < b.position; });
    QHash<QString, std::vector<Posting>> postings;
    auto add = [&postings](const QString& text, int position, quint8 field) {
        for (const QString& word : words(text)) {
            std::vector<Posting>& list = postings[word];
            if (!list.empty() && list.back().position == position)
                list.back().fields |= field;
            else
                list.push_back({position, field});
        }
    };
    for (int i = 0; i < m_positions.size(); ++i) {
        add(m_positions.at(i).description, i, InDescription);
        add(m_positions.at(i).secondDescription, i, InSecondDescription);
    }
    m_words.reserve(postings.size());
    for (auto it = postings.cbegin(); it != postings.cend(); ++it)
        m_words.push_back(it.key());
    std::sort(m_words.begin(), m_words.end());
    m_postings.reserve(m_words.size());
    for (const QString& word : m_words)
        m_postings.push_back(std::move(postings[word]));
    indexTerms();
}

void PositionWordIndex::indexTerms()
{
    QHash<QString, int> byCode;
    for (int i = m_positions.size() - 1; i >= 0; --i) // the first row of a code holds it
        byCode.insert(codeDigits(m_positions.at(i).position), i);
    const auto count = size_t(m_positions.size());
    std::vector<QSet<QString>> stated(count);
    std::vector<std::vector<int>> above(count);
    std::vector<bool> hasBelow(count, false);
    for (size_t i = 0; i < count; ++i) {
        const QString code = codeDigits(m_positions.at(qsizetype(i)).position);
        if (code.size() != CodeDigits)
            continue;
        for (const qsizetype cut : Levels) {
            const QString parent = code.left(cut).leftJustified(CodeDigits, u'0');
            if (parent == code)
                break;
            const auto it = byCode.constFind(parent);
            if (it != byCode.cend() &&
                std::find(above[i].begin(), above[i].end(), *it) == above[i].end()) {
                above[i].push_back(*it);
                hasBelow[size_t(*it)] = true;
            }
        }
    }
    for (size_t i = 0; i < count; ++i) {
        if (hasBelow[i])
            continue;
        ++m_ranked;
        const PositionTexts& p = m_positions.at(qsizetype(i));
        QSet<QString> own = termSet(p.description);
        stated[i] = statedTerms(p.description);
        for (const int parent : above[i]) {
            own.unite(termSet(m_positions.at(parent).description));
            stated[i].unite(statedTerms(m_positions.at(parent).description));
        }
        const QSet<QString> context = termSet(p.secondDescription);
        for (const QString& t : std::as_const(own))
            m_terms[t].push_back({int(i), true, stated[i].contains(t)});
        for (const QString& t : context - own)
            m_terms[t].push_back({int(i), false, false});
    }
    indexConditions(above, hasBelow);
    for (size_t i = 0; i < count; ++i) {
        Otherwise& o = m_siblings[i];
        if (o.position < 0)
            continue;
        const QSet<QString> apart = stated[i] - stated[size_t(o.position)];
        o.qualifiers = {apart.cbegin(), apart.cend()};
        m_siblings[size_t(o.position)].specific.push_back(int(i));
    }
    m_ownWeight.assign(count, 0.0);
    for (auto it = m_terms.cbegin(); it != m_terms.cend(); ++it) {
        const double w = termWeight(it.value());
        for (const TermPosting& p : it.value()) {
            if (p.stated)
                m_ownWeight[size_t(p.position)] += w;
        }
    }
}

void PositionWordIndex::indexConditions(const std::vector<std::vector<int>>& above,
                                        const std::vector<bool>& hasBelow)
{
    const auto count = size_t(m_positions.size());
    m_conditions.assign(count, {});
    m_otherwise.assign(count, {});
    m_siblings.assign(count, {});
    std::vector<int> leaves; // the ranked positions with a full code, in code order
    std::vector<QString> codes(count);
    QHash<QString, QList<QuantityCondition>> read; // each text once: a heading's text repeats
    const auto conditionsOf = [&read](const QString& text) -> QList<QuantityCondition> {
        if (std::none_of(text.cbegin(), text.cend(), [](QChar c) { return c.isDigit(); }))
            return {}; // most texts state no quantity
        auto it = read.constFind(text);
        if (it == read.cend())
            it = read.insert(text, Quantities::conditions(text));
        return *it;
    };
    for (size_t i = 0; i < count; ++i) {
        if (hasBelow[i])
            continue;
        const PositionTexts& p = m_positions.at(qsizetype(i));
        QList<QuantityCondition>& chain = m_conditions[i];
        chain = conditionsOf(p.description) + conditionsOf(p.secondDescription);
        for (const int parent : above[i])
            chain += conditionsOf(m_positions.at(parent).description);
        codes[i] = codeDigits(p.position);
        if (codes[i].size() == CodeDigits)
            leaves.push_back(int(i));
    }
    const auto shared = [&codes](int a, int b) {
        const QString& x = codes[size_t(a)];
        const QString& y = codes[size_t(b)];
        qsizetype n = 0;
        while (n < CodeDigits && x.at(n) == y.at(n))
            ++n;
        return n < CodeDigits ? n : 0; // two rows of one code are no siblings
    };
    for (size_t k = 0; k < leaves.size(); ++k) {
        const int self = leaves[k];
        if (!isOtherwise(m_positions.at(self).description))
            continue;
        qsizetype closest = 0;
        if (k > 0)
            closest = shared(self, leaves[k - 1]);
        if (k + 1 < leaves.size())
            closest = std::max(closest, shared(self, leaves[k + 1]));
        if (closest < SiblingDigits)
            continue;
        const QList<QuantityCondition>& own = m_conditions[size_t(self)];
        const auto addSibling = [&](int sibling) {
            Otherwise& o = m_siblings[size_t(sibling)];
            if (o.position < 0 || shared(self, sibling) > shared(o.position, sibling))
                o.position = self;
            QList<QuantityCondition> apart;
            for (const QuantityCondition& c : m_conditions[size_t(sibling)]) {
                if (!own.contains(c))
                    apart << c;
            }
            if (!apart.isEmpty())
                m_otherwise[size_t(self)].push_back(apart);
        };
        for (size_t j = k; j > 0 && shared(self, leaves[j - 1]) >= closest; --j)
            addSibling(leaves[j - 1]);
        for (size_t j = k + 1; j < leaves.size() && shared(self, leaves[j]) >= closest; ++j)
            addSibling(leaves[j]);
    }
    for (size_t i = 0; i < count; ++i) {
        QSet<QuantityKind> kinds;
        for (const QuantityCondition& c : m_conditions[i])
            kinds.insert(c.kind);
        for (const QList<QuantityCondition>& sibling : m_otherwise[i]) {
            for (const QuantityCondition& c : sibling)
                kinds.insert(c.kind);
        }
        for (const QuantityKind kind : std::as_const(kinds))
            ++m_speaking[kind];
    }
}

double PositionWordIndex::termWeight(const std::vector<TermPosting>& postings) const
{
    return std::log(1.0 + double(m_ranked) / double(postings.size()));
}

QStringList PositionWordIndex::words(const QString& text)
{
    const QString plain = text.normalized(QString::NormalizationForm_D).toCaseFolded();
    QStringList found;
    QString word;
    for (const QChar c : plain) {
        if (c.isLetterOrNumber()) {
            word += c;
        } else if (c.category() != QChar::Mark_NonSpacing && !word.isEmpty()) {
            found << word;
            word.clear();
        }
    }
    if (!word.isEmpty())
        found << word;
    return found;
}

QStringList PositionWordIndex::terms(const QString& text)
{
    QStringList found;
    for (const QString& word : words(text))
        found << stem(word);
    return found;
}

QList<PositionLine> PositionWordIndex::find(const QString& text, int limit) const
{
    QStringList wanted = words(text);
    wanted.removeDuplicates();
    if (wanted.isEmpty())
        return {};
    const auto count = size_t(m_positions.size());
    std::vector<int> score(count, 0);
    std::vector<int> matched(count, 0); // how many of the wanted words each position holds
    std::vector<int> best(count, 0);
    for (int k = 0; k < wanted.size(); ++k) {
        const QString& query = wanted.at(k);
        std::fill(best.begin(), best.end(), 0);
        for (auto w = std::lower_bound(m_words.begin(), m_words.end(), query);
             w != m_words.end() && w->startsWith(query); ++w) {
            const int whole = *w == query ? 1 : 0;
            for (const Posting& p : m_postings.at(size_t(w - m_words.begin()))) {
                const int points = (p.fields & InDescription ? 4 : 1) + whole;
                best[size_t(p.position)] = std::max(best[size_t(p.position)], points);
            }
        }
        for (size_t p = 0; p < count; ++p) {
            if (best[p] > 0 && matched[p] == k) {
                ++matched[p];
                score[p] += best[p];
            }
        }
    }
    std::vector<int> hits;
    for (size_t p = 0; p < count; ++p) {
        if (matched[p] == int(wanted.size()))
            hits.push_back(int(p));
    }
    // Positions are indexed in position order: a stable sort keeps it among equal scores.
    std::stable_sort(hits.begin(), hits.end(),
                     [&score](int a, int b) { return score[size_t(a)] > score[size_t(b)]; });
    QList<PositionLine> lines;
    for (int p : hits) {
        if (lines.size() >= limit)
            break;
        lines << PositionLine{m_positions.at(p).position, m_positions.at(p).description};
    }
    return lines;
}

std::optional<qsizetype> PositionWordIndex::indexOf(const QString& position) const
{
    const auto it = std::lower_bound(
        m_positions.cbegin(), m_positions.cend(), position,
        [](const PositionTexts& p, const QString& wanted) { return p.position < wanted; });
    if (it == m_positions.cend() || it->position != position)
        return std::nullopt;
    return it - m_positions.cbegin();
}

std::optional<QString> PositionWordIndex::description(const QString& position) const
{
    const std::optional<qsizetype> i = indexOf(position);
    if (!i)
        return std::nullopt;
    return m_positions.at(*i).description;
}

QuantityFit PositionWordIndex::fit(const QString& position, const QList<Quantity>& quantities) const
{
    const std::optional<qsizetype> i = indexOf(position);
    if (!i || quantities.isEmpty())
        return QuantityFit::Silent;
    const QuantityFit own = Quantities::fit(m_conditions[size_t(*i)], quantities);
    if (own == QuantityFit::Contradicted)
        return own;
    for (const QList<QuantityCondition>& sibling : m_otherwise[size_t(*i)]) {
        if (Quantities::fit(sibling, quantities) == QuantityFit::Satisfied)
            return QuantityFit::Contradicted;
    }
    return own;
}

bool PositionWordIndex::meetsKind(int position, QuantityKind kind,
                                  const QList<Quantity>& quantities) const
{
    const auto onKind = [kind](const QList<QuantityCondition>& conditions) {
        QList<QuantityCondition> found;
        for (const QuantityCondition& c : conditions) {
            if (c.kind == kind)
                found << c;
        }
        return found;
    };
    const QList<QuantityCondition> own = onKind(m_conditions[size_t(position)]);
    bool speaks = !own.isEmpty();
    bool meets = own.isEmpty() || Quantities::fit(own, quantities) == QuantityFit::Satisfied;
    for (const QList<QuantityCondition>& sibling : m_otherwise[size_t(position)]) {
        const QList<QuantityCondition> apart = onKind(sibling);
        if (apart.isEmpty())
            continue;
        speaks = true;
        meets = meets && Quantities::fit(apart, quantities) == QuantityFit::Contradicted;
    }
    return speaks && meets;
}

QString PositionWordIndex::qualified(const QString& position, const QSet<QString>& held,
                                     const std::function<QSet<QString>()>& neighbourTerms) const
{
    const std::optional<qsizetype> i = indexOf(position);
    if (!i)
        return position;
    const auto holds = [](const QSet<QString>& terms, const QStringList& qualifiers) {
        return std::any_of(qualifiers.cbegin(), qualifiers.cend(),
                           [&terms](const QString& t) { return terms.contains(t); });
    };
    std::optional<QSet<QString>> neighbourHeld; // read once, and only when it decides
    const auto neighbourHolds = [&](const QStringList& qualifiers) {
        if (!neighbourHeld)
            neighbourHeld = neighbourTerms();
        return holds(*neighbourHeld, qualifiers);
    };
    const Otherwise& o = m_siblings[size_t(*i)];
    if (o.position >= 0 && !holds(held, o.qualifiers) && neighbourHolds(o.qualifiers))
        return m_positions.at(o.position).position;
    for (const int specific : o.specific) {
        const QStringList& qualifiers = m_siblings[size_t(specific)].qualifiers;
        if (holds(held, qualifiers) && !neighbourHolds(qualifiers))
            return m_positions.at(specific).position;
    }
    return position;
}

std::vector<PositionWordIndex::Ranked>
PositionWordIndex::rank(const QList<Concept>& concepts, int limit,
                        const QList<Quantity>& quantities) const
{
    std::vector<double> strength(size_t(m_positions.size()), 0.0);
    std::vector<int> touched;
    double total = 0;
    QSet<QString> asked; // every term of every translation, for the positions' own share
    for (const Concept& c : concepts) {
        double weight = 0;
        QHash<int, double> got; // per position, what its best held translation holds
        for (const QStringList& translation : c.translations) {
            double full = 0;
            QHash<int, double> held;
            for (const QString& term : translation) {
                const auto postings = m_terms.constFind(term);
                if (postings == m_terms.cend())
                    continue;
                asked.insert(term);
                const double w = c.weight * termWeight(*postings) / double(translation.size());
                full += w;
                for (const TermPosting& p : *postings)
                    held[p.position] += p.own ? w : w * ContextShare;
            }
            weight = std::max(weight, full);
            for (auto it = held.cbegin(); it != held.cend(); ++it) {
                double& best = got[it.key()];
                best = std::max(best, it.value());
            }
        }
        total += weight;
        for (auto it = got.cbegin(); it != got.cend(); ++it) {
            if (strength[size_t(it.key())] == 0)
                touched.push_back(it.key());
            strength[size_t(it.key())] += it.value();
        }
    }
    if (touched.empty())
        return {};
    QList<QuantityKind> kinds;
    for (const Quantity& q : quantities) {
        // A length does not say which dimension it is ("25 FT" of a tape against a condition
        // on the width of a roll): it meets a condition, but tells nothing of its kind.
        if (q.kind != QuantityKind::Length && !kinds.contains(q.kind))
            kinds << q.kind;
    }
    for (const QuantityKind kind : std::as_const(kinds)) {
        const qsizetype speaking = m_speaking.value(kind);
        if (speaking == 0)
            continue;
        const double weight = std::log(1.0 + double(m_ranked) / double(speaking));
        total += weight;
        for (const int p : touched) {
            if (meetsKind(p, kind, quantities))
                strength[size_t(p)] += weight;
        }
    }
    std::vector<double> ownHeld(size_t(m_positions.size()), 0.0);
    for (const QString& term : std::as_const(asked)) {
        const std::vector<TermPosting>& postings = *m_terms.constFind(term);
        for (const TermPosting& p : postings) {
            if (p.stated)
                ownHeld[size_t(p.position)] += termWeight(postings);
        }
    }
    for (const int p : touched) {
        const double own = ownHeld[size_t(p)] > 0 ? ownHeld[size_t(p)] / m_ownWeight[size_t(p)] : 0;
        strength[size_t(p)] = (1 - OwnShare) * strength[size_t(p)] / total + OwnShare * own;
    }
    const auto best = touched.begin() + std::min(qsizetype(limit), qsizetype(touched.size()));
    std::partial_sort(touched.begin(), best, touched.end(), [&strength](int a, int b) {
        return strength[size_t(a)] != strength[size_t(b)]
                   ? strength[size_t(a)] > strength[size_t(b)]
                   : a < b;
    });
    std::vector<Ranked> found;
    for (auto it = touched.begin(); it != best; ++it) {
        const PositionTexts& p = m_positions.at(*it);
        found.push_back({{p.position, p.description}, strength[size_t(*it)]});
    }
    return found;
}
