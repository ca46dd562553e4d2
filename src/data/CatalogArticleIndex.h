// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "data/CatalogStore.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

/**
 * The articles of every catalog of the declaration database, indexed by article number, by
 * number family and by the words of their descriptions, built once in memory so that a
 * suggestion reads no table.
 *
 * Numbers are compared trimmed and in upper case. Two numbers are of one family when they
 * share their stem (the number before its last separator: "6204-2RS" and "6204-ZZ"), or their
 * shape (the number with every run of digits standing for any digits: "6204-2RS" and
 * "6205-2RS", "BRG-6001-ZZ" and "BRG-6006-ZZ"). Descriptions are compared as weighted terms
 * (PositionWordIndex::terms: words in lower case without accents, plurals met by their
 * singular), each weighted by how rare it is across the catalogs; word
 * order does not count.
 */
class CatalogArticleIndex {
public:
    /** An article found and how strongly it matches, from 0 (not at all) to 1. */
    struct Match {
        int article;
        double strength;
    };

    explicit CatalogArticleIndex(QList<CatalogArticle> articles);

    qsizetype size() const { return m_articles.size(); }
    const CatalogArticle& article(int index) const { return m_articles.at(index); }
    /** The indexes of a catalog's articles, in article number order. */
    std::vector<int> inCatalog(const QString& catalog) const;

    /** The articles of any catalog that hold a position, in index order. */
    std::vector<int> withPosition(const QString& position) const;
    /** The articles of any catalog with the same number; none for a blank number. */
    std::vector<int> sameNumber(const QString& number) const;
    /**
     * The articles of the number's family (other numbers only), in index order: 0.9 for the same
     * stem; for the same shape 0.5 plus up to 0.4 for the digits they share from the start. A
     * number without letters has a family only among numbers that share at least half its digits.
     */
    std::vector<Match> family(const QString& number) const;
    /** The articles whose descriptions are most alike (cosine of the weighted terms), best
     *  first, at most `limit`. */
    std::vector<Match> similar(const QString& description, int limit) const;

    /** The number as compared: trimmed, upper case. */
    static QString numberKey(const QString& number);
    /** The number before its last separator; empty when it has none or no digit before it. */
    static QString stem(const QString& number);

    /** An estimate of the memory the index holds, in bytes. */
    qsizetype memoryBytes() const;

private:
    struct Shaped {
        QString shape;  // the number with "#" for each run of digits
        QString digits; // its digits, in order
        int article;
    };
    struct Posting {
        int article;
        float weight; // the term's weight in the article's normalised description
    };

    QList<CatalogArticle> m_articles;
    QHash<QString, std::vector<int>> m_byNumber;
    QHash<QString, std::vector<int>> m_byStem;
    QHash<QString, std::vector<int>> m_byPosition; // by the trimmed position
    std::vector<Shaped> m_shapes;                  // by shape, then digits
    QHash<QString, std::vector<Posting>> m_postings;
};
