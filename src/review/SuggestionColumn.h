// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "review/ArticleSuggestions.h"

#include <QHash>
#include <QIdentityProxyModel>
#include <QList>
#include <QTimer>

class ArticleTableModel;
class Workspace;

/**
 * The results list's rows with one more column, "Sugerencia": for a row without a state, the
 * first position suggested for its article (ArticleSuggestions). A cell is worked out only
 * once the list asks for it (the rows shown), a few at a time between the window's events, so
 * that the list opens and scrolls as fast as without it; each article is suggested once per
 * model.
 */
class SuggestionColumn : public QIdentityProxyModel {
    Q_OBJECT
public:
    SuggestionColumn(Workspace& ws, ArticleTableModel& rows, QObject* parent = nullptr);

    /** The added column. */
    int column() const;

    int columnCount(const QModelIndex& parent = {}) const override;
    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    QModelIndex sibling(int row, int column, const QModelIndex& at) const override;
    QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    /** Works out the waiting cells for a few milliseconds, then lets the window run. */
    void work();
    QString key(int row) const;

    Workspace& m_ws;
    ArticleTableModel& m_rows;
    ArticleSuggestions m_suggestions;
    QHash<QString, QString> m_found; // the first position by article number and description
    mutable QList<int> m_waiting;    // rows asked for and not yet worked out
    mutable QTimer m_timer;
    bool m_failed = false;
};
