// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "components/DataSession.h"

#include <QList>
#include <QString>
#include <QVariantList>

#include <functional>
#include <map>
#include <memory>
#include <optional>

/**
 * One article row (table ART) of an interno. Text columns hold a null QString for NULL and
 * an empty one for the empty text; number columns hold nothing for NULL.
 */
struct Article {
    QString interno;                            ///< INTNRO
    qint64 line = 0;                            ///< ARTORD: 1, 2, 3 … in invoice order
    QString number;                             ///< ARTNRO: the part number
    QString description;                        ///< ARTDSC
    std::optional<double> quantity;             ///< ARTCAN
    std::optional<double> unitPrice;            ///< ARTUNI
    std::optional<double> total;                ///< ARTTOT
    QString origin;                             ///< ARTORG: country code from the invoice
    QString declaredUnit;                       ///< PRCDUN
    QString position;                           ///< PRCNCM: tariff position
    QString lapi;                               ///< PRCLAP: "S" or "N"
    QString suffixes;                           ///< PRCSUF
    QString statisticalUnit;                    ///< PRCEUN
    std::optional<double> statisticalQuantity;  ///< PRCECA
    QString specificDutyUnit;                   ///< PRCSUN
    std::optional<double> specificDutyQuantity; ///< PRCSCA
    QString goodsCondition;                     ///< PRCESM
    QString country;                            ///< PRCORI: country chosen by the operator
    QString state;                              ///< PRCEST: "", "A", "E" or "M"
    QString check;                              ///< PRCCRC: "OK", "POS", "SUF", "ERR" or NULL

    /** The twenty values in table order (ArticleStore::columns()), NULL as null. */
    QVariantList values() const;
};
// Texts, numbers and optional numbers: a list of rows grows by moving its memory.
Q_DECLARE_TYPEINFO(Article, Q_RELOCATABLE_TYPE);

/** The six counters of a processed interno. */
struct ArticleCounters {
    qint64 total = 0;
    qint64 enCatalogo = 0;
    qint64 nuevos = 0;
    qint64 conErrores = 0;
    qint64 errPosicion = 0;
    qint64 errSufijos = 0;

    /** The counters by name ("total", "en_catalogo", "nuevos", "con_errores", "err_posicion",
     *  "err_sufijos"), in this order. */
    QList<std::pair<QString, qint64>> named() const;
};

/** What the catalog gives an article in the automatic process. */
struct CatalogClassification {
    QString position;
    QString lapi;
    QString suffixes;
    QString statisticalUnit;
    QString goodsCondition;
    QString specificDutyUnit;
};

/** The line totals of an interno, as the database adds them up. */
struct AmountSummary {
    /** The sum of the lines' totals, NULL as 0, added in line order. */
    double lineSum = 0;
    /** The lines whose total is off their quantity times unit price. */
    qint64 wrongLines = 0;
};

/** The outcome of the suffix validator for a row: 0 valid, 1 position, 2 suffixes, else other. */
enum class CheckOutcome { Ok, Position, Suffixes, Other };

/** An article number and what the catalog gives it. */
struct CatalogHit {
    QString number;
    CatalogClassification classification;
};

/** The outcome of the check of a position with its suffixes. */
struct CheckedPosition {
    QString position;
    QString suffixes;
    CheckOutcome outcome = CheckOutcome::Ok;
};

/**
 * Every read and write of the article rows (table ART) of the work database. A database
 * failure raises. Several calls that belong together run inside the caller's transaction.
 */
class ArticleStore {
public:
    /** Which rows of an interno, and in which order. */
    enum class Selection {
        All,           ///< every row, by line
        WithErrors,    ///< not classified or not checked "OK", by state, check code and line
        Clean,         ///< checked "OK", by line
        ByNumber,      ///< every row, by article number
        ByDescription, ///< every row, by description
    };

    explicit ArticleStore(DataSession& work);
    /** The columns of ART, in table order. */
    static const QStringList& columns();
    /** The statements that create the table and its indexes. */
    static QStringList schema();

    ~ArticleStore();
    ArticleStore(const ArticleStore&) = delete;
    ArticleStore& operator=(const ArticleStore&) = delete;

    QList<Article> rows(const QString& interno, Selection selection);
    /**
     * The rows classified from the catalog (state "A"), by line, with only what the validation
     * needs read: line, position and suffixes.
     */
    QList<Article> classifiedRows(const QString& interno);
    /** The row of the line; nothing when the interno has none. */
    std::optional<Article> row(const QString& interno, qint64 line);
    /** How many rows the interno has. */
    qint64 count(const QString& interno);
    /** How many rows of the interno the operator corrected (state "M"). */
    qint64 countCorrected(const QString& interno);
    ArticleCounters counters(const QString& interno);
    /**
     * The interno's line totals in one statement, without reading its rows: their sum, and how
     * many lines have a total farther than `allowance` from quantity times unit price (NULL as
     * 0), lines declared in one of the `exempt` units not counted.
     */
    AmountSummary amountSummary(const QString& interno, const QStringList& exempt,
                                double allowance);

    /**
     * Replaces the interno's rows by the articles, written as the import gives them: line,
     * number, description, declared unit, quantity, unit price, total and origin.
     */
    void replaceRows(const QString& interno, const QList<Article>& articles);
    /** Deletes every row of the interno. */
    void deleteRows(const QString& interno);

    /** The distinct article numbers of the interno, in order. */
    QStringList articleNumbers(const QString& interno);
    /** Classifies every row of the interno with the article number (state "A"). */
    void classify(const QString& interno, const QString& number,
                  const CatalogClassification& classification);
    /**
     * Keeps the hits, one number each, for classifyAll() in a temporary table: called for
     * each batch of hits as the catalog is read, so that they are not held all together.
     */
    void addHits(const QList<CatalogHit>& hits);
    /**
     * classify() of every hit added, in one statement from the temporary table of the hits.
     * Should that statement fail, the hits are written one by one in the order of their
     * numbers, so that the failure names the update of the article that fails.
     */
    void classifyAll(const QString& interno);
    /** Rows without a goods condition (NULL or empty) get the one given. */
    void fillGoodsCondition(const QString& interno, const QString& condition);
    /** Writes the validator's outcome into the row: "OK", or state "E" with its code. */
    void setCheck(const QString& interno, qint64 line, CheckOutcome outcome);
    /**
     * setCheck() of every row classified from the catalog (state "A"), in one statement from
     * a temporary table of the outcomes: a row takes the outcome of its position and suffixes
     * (NULL as the empty text). `rows` are those rows (classifiedRows()): should the
     * statement fail, they are written one by one, so that the failure names the update of
     * the row that fails.
     */
    void setChecks(const QString& interno, const QList<CheckedPosition>& outcomes,
                   const QList<Article>& rows);
    /** Rows checked "OK" and declared in their statistical unit get their quantity there. */
    void setStatisticalQuantities(const QString& interno);

    /**
     * The record editor's save: position, LAPI, suffixes, units and quantities, goods
     * condition and country of the article's row, which then is corrected (state "M",
     * check "OK"). The specific duty is written only when `withSpecificDuty`. The row is
     * written only while it still holds every value of `loaded` (as read before the edit).
     * Returns the rows changed: 0 when the row is gone or changed since it was loaded.
     */
    qint64 saveCorrected(const Article& loaded, const Article& article, bool withSpecificDuty);

    /**
     * The last update run or about to run, its values written in place of its markers as SQL
     * literals (for the failure message of the automatic process).
     */
    QString lastUpdate() const;

private:
    DataSession::Statement& prepared(const QString& text);
    /**
     * Inserts `count` rows of `width` values: `head` ("insert into T (...) values ") with as
     * many rows a statement as ListChunk values allow; `row` appends the values of row i.
     */
    void insertRows(const QString& head, qsizetype width, qsizetype count,
                    const std::function<void(qsizetype i, QVariantList& values)>& row);
    void createHitTable();
    /**
     * Runs the set statement `text` with `values` over the temporary table `table`, dropped
     * after it. When it fails and the transaction stays open, `oneByOne` writes the rows
     * singly instead: the failure it meets names its row.
     */
    void fromTemporary(const QString& table, const QString& text, const QVariantList& values,
                       const std::function<void()>& oneByOne);
    qint64 update(const QString& text, const QVariantList& values);
    qint64 countWhere(const QString& interno, const QString& condition);

    DataSession& m_work;
    std::map<QString, std::unique_ptr<DataSession::Statement>> m_prepared;
    // The last update's text and values: written out only when the message asks for them.
    QString m_lastText;
    QVariantList m_lastValues;
};
