// SPDX-License-Identifier: Apache-2.0
#include "data/CatalogArticleIndex.h"

#include "data/PositionWordIndex.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double SameStem = 0.9;
constexpr double SameShape = 0.5;
constexpr double SharedDigits = 0.4;
/** How many numbers of one shape on each side of the asked digits are compared. */
constexpr qsizetype ShapeNeighbours = 32;
/** How many articles of one stem are taken. */
constexpr size_t StemNeighbours = 64;

/** The number with "#" for each run of digits, and its digits. */
std::pair<QString, QString> shapeOf(const QString& key)
{
    QString shape;
    QString digits;
    for (const QChar c : key) {
        if (c.isDigit()) {
            digits += c;
            if (shape.isEmpty() || shape.back() != u'#')
                shape += u'#';
        } else {
            shape += c;
        }
    }
    return {shape, digits};
}

qsizetype commonPrefix(const QString& a, const QString& b)
{
    const qsizetype n = std::min(a.size(), b.size());
    qsizetype k = 0;
    while (k < n && a.at(k) == b.at(k))
        ++k;
    return k;
}

template <typename T> qsizetype listBytes(const std::vector<T>& list)
{
    return qsizetype(list.capacity() * sizeof(T));
}

qsizetype textBytes(const QString& text)
{
    return text.capacity() * 2 + 32;
}

} // namespace

CatalogArticleIndex::CatalogArticleIndex(QList<CatalogArticle> articles)
    : m_articles(std::move(articles))
{
    std::sort(m_articles.begin(), m_articles.end(),
              [](const CatalogArticle& a, const CatalogArticle& b) {
                  return std::tie(a.catalog, a.number) < std::tie(b.catalog, b.number);
              });
    std::vector<double> norms(size_t(m_articles.size()), 0.0);
    for (int i = 0; i < m_articles.size(); ++i) {
        const QString key = numberKey(m_articles.at(i).number);
        m_byNumber[key].push_back(i);
        m_byPosition[m_articles.at(i).position.trimmed()].push_back(i);
        const QString s = stem(key);
        if (!s.isEmpty())
            m_byStem[s].push_back(i);
        auto [shape, digits] = shapeOf(key);
        if (!digits.isEmpty())
            m_shapes.push_back({std::move(shape), std::move(digits), i});
        // Each term once with its count, weighted below.
        QStringList words = PositionWordIndex::terms(m_articles.at(i).description);
        std::sort(words.begin(), words.end());
        for (qsizetype k = 0; k < words.size();) {
            qsizetype end = k + 1;
            while (end < words.size() && words.at(end) == words.at(k))
                ++end;
            m_postings[words.at(k)].push_back({i, float(end - k)});
            k = end;
        }
    }
    std::sort(m_shapes.begin(), m_shapes.end(), [](const Shaped& a, const Shaped& b) {
        return std::tie(a.shape, a.digits) < std::tie(b.shape, b.digits);
    });

    // A term weighs its count times its rarity, ln(1 + articles / articles holding it); each
    // description's weights are then scaled to a length of one.
    const double count = double(m_articles.size());
    for (std::vector<Posting>& postings : m_postings) {
        const double rarity = std::log(1.0 + count / double(postings.size()));
        for (Posting& p : postings) {
            p.weight = float(p.weight * rarity);
            norms[size_t(p.article)] += double(p.weight) * double(p.weight);
        }
    }
    for (std::vector<Posting>& postings : m_postings) {
        for (Posting& p : postings)
            p.weight = float(p.weight / std::sqrt(norms[size_t(p.article)]));
    }
}

QString CatalogArticleIndex::numberKey(const QString& number)
{
    return number.trimmed().toUpper();
}

QString CatalogArticleIndex::stem(const QString& number)
{
    const QString key = numberKey(number);
    for (qsizetype k = key.size() - 2; k > 0; --k) {
        if (!key.at(k).isLetterOrNumber()) {
            const QString before = key.left(k);
            const bool hasDigit =
                std::any_of(before.cbegin(), before.cend(), [](QChar c) { return c.isDigit(); });
            return hasDigit ? before : QString();
        }
    }
    return {};
}

std::vector<int> CatalogArticleIndex::inCatalog(const QString& catalog) const
{
    std::vector<int> found;
    for (int i = 0; i < m_articles.size(); ++i) {
        if (m_articles.at(i).catalog == catalog)
            found.push_back(i);
    }
    return found;
}

std::vector<int> CatalogArticleIndex::withPosition(const QString& position) const
{
    return m_byPosition.value(position.trimmed());
}

std::vector<int> CatalogArticleIndex::sameNumber(const QString& number) const
{
    const QString key = numberKey(number);
    return key.isEmpty() ? std::vector<int>() : m_byNumber.value(key);
}

std::vector<CatalogArticleIndex::Match> CatalogArticleIndex::family(const QString& number) const
{
    const QString key = numberKey(number);
    QHash<int, double> strengths;
    auto keep = [&](int article, double strength) {
        if (numberKey(m_articles.at(article).number) == key)
            return;
        double& s = strengths[article];
        s = std::max(s, strength);
    };
    const std::vector<int> stemmed = m_byStem.value(stem(key));
    for (size_t k = 0; k < std::min(stemmed.size(), StemNeighbours); ++k)
        keep(stemmed[k], SameStem);

    const auto [shape, digits] = shapeOf(key);
    if (!digits.isEmpty()) {
        const bool lettered =
            std::any_of(shape.cbegin(), shape.cend(), [](QChar c) { return c.isLetter(); });
        const auto [first, last] =
            std::equal_range(m_shapes.begin(), m_shapes.end(), Shaped{shape, {}, 0},
                             [](const Shaped& a, const Shaped& b) { return a.shape < b.shape; });
        const auto at = std::lower_bound(
            first, last, digits, [](const Shaped& s, const QString& d) { return s.digits < d; });
        const auto from = at - std::min(ShapeNeighbours, qsizetype(at - first));
        const auto to = at + std::min(ShapeNeighbours, qsizetype(last - at));
        for (auto it = from; it != to; ++it) {
            const qsizetype longest = std::max(digits.size(), it->digits.size());
            const qsizetype shared = commonPrefix(digits, it->digits);
            if (!lettered && 2 * shared < longest)
                continue;
            keep(it->article, SameShape + SharedDigits * double(shared) / double(longest));
        }
    }
    std::vector<Match> found;
    found.reserve(size_t(strengths.size()));
    for (auto it = strengths.cbegin(); it != strengths.cend(); ++it)
        found.push_back({it.key(), it.value()});
    std::sort(found.begin(), found.end(),
              [](const Match& a, const Match& b) { return a.article < b.article; });
    return found;
}

std::vector<CatalogArticleIndex::Match> CatalogArticleIndex::similar(const QString& description,
                                                                     int limit) const
{
    QHash<QString, double> query;
    const double count = double(m_articles.size());
    for (const QString& term : PositionWordIndex::terms(description)) {
        // A term no description holds weighs as the rarest: it makes the query less alike.
        const auto postings = m_postings.constFind(term);
        const double held = postings == m_postings.cend() ? 1.0 : double(postings->size());
        query[term] += std::log(1.0 + count / held);
    }
    double norm = 0;
    for (const double w : std::as_const(query))
        norm += w * w;
    if (norm == 0)
        return {};
    norm = std::sqrt(norm);
    std::vector<float> cosine(size_t(m_articles.size()), 0.0F);
    std::vector<int> touched;
    for (auto it = query.cbegin(); it != query.cend(); ++it) {
        const auto postings = m_postings.constFind(it.key());
        if (postings == m_postings.cend())
            continue;
        const auto weight = float(it.value() / norm);
        for (const Posting& p : *postings) {
            if (cosine[size_t(p.article)] == 0.0F)
                touched.push_back(p.article);
            cosine[size_t(p.article)] += weight * p.weight;
        }
    }
    const auto best = touched.begin() + std::min(qsizetype(limit), qsizetype(touched.size()));
    std::partial_sort(touched.begin(), best, touched.end(), [&cosine](int a, int b) {
        return cosine[size_t(a)] != cosine[size_t(b)] ? cosine[size_t(a)] > cosine[size_t(b)]
                                                      : a < b;
    });
    std::vector<Match> found;
    for (auto it = touched.begin(); it != best; ++it)
        found.push_back({*it, double(cosine[size_t(*it)])});
    return found;
}

qsizetype CatalogArticleIndex::memoryBytes() const
{
    qsizetype bytes = 0;
    for (const CatalogArticle& a : m_articles)
        bytes += textBytes(a.catalog) + textBytes(a.number) + textBytes(a.description) +
                 textBytes(a.position) + textBytes(a.suffixes);
    for (auto it = m_byNumber.cbegin(); it != m_byNumber.cend(); ++it)
        bytes += textBytes(it.key()) + listBytes(it.value());
    for (auto it = m_byStem.cbegin(); it != m_byStem.cend(); ++it)
        bytes += textBytes(it.key()) + listBytes(it.value());
    for (auto it = m_byPosition.cbegin(); it != m_byPosition.cend(); ++it)
        bytes += textBytes(it.key()) + listBytes(it.value());
    for (const Shaped& s : m_shapes)
        bytes += textBytes(s.shape) + textBytes(s.digits) + qsizetype(sizeof(Shaped));
    for (auto it = m_postings.cbegin(); it != m_postings.cend(); ++it)
        bytes += textBytes(it.key()) + listBytes(it.value());
    return bytes;
}
