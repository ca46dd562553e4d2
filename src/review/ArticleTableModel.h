// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "data/ArticleStore.h"

#include <QAbstractTableModel>

/**
 * The article rows of an interno as the results list shows them: ten columns (line, article,
 * description, origin, quantity, unit price, total, position, state, check code), their texts
 * and the colour of each line. The list, the control reports and the export read it.
 */
class ArticleTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    /** Which list the rows make: it decides their colours. */
    enum class List { WithErrors, Clean };

    explicit ArticleTableModel(QObject* parent = nullptr);

    /** The rows of the store that make the list, in its order. */
    static ArticleStore::Selection selection(List list);

    /** Reads the interno's rows of the list from the store, in the list's order. */
    void load(ArticleStore& store, const QString& interno, List list);

    const Article& article(int row) const { return m_rows.at(row); }
    List list() const { return m_list; }

    /** The width of a column in twips (1/1440 inch). */
    static int columnTwips(int column);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    /** The text of a cell: the line as "0000", numbers in their general form, NULL empty. */
    QString text(int row, int column) const;

private:
    QList<Article> m_rows;
    List m_list = List::WithErrors;
};
