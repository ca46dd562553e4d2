// SPDX-License-Identifier: Apache-2.0
#include "review/SuggestionColumn.h"

#include "review/ArticleTableModel.h"
#include "workspace/Workspace.h"

#include <QElapsedTimer>

namespace {

/** How long one turn of work may hold the window, in milliseconds. */
constexpr qint64 TurnMilliseconds = 15;

} // namespace

SuggestionColumn::SuggestionColumn(Workspace& ws, ArticleTableModel& rows, QObject* parent)
    : QIdentityProxyModel(parent)
    , m_ws(ws)
    , m_rows(rows)
    , m_suggestions(ws)
{
    setSourceModel(&rows);
    m_timer.setSingleShot(true);
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &SuggestionColumn::work);
    // Rows asked for before a reload may be other rows after it.
    connect(&rows, &QAbstractItemModel::modelReset, this, [this] { m_waiting.clear(); });
}

int SuggestionColumn::column() const
{
    return m_rows.columnCount();
}

int SuggestionColumn::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : column() + 1;
}

QModelIndex SuggestionColumn::index(int row, int column, const QModelIndex& parent) const
{
    if (column == this->column() && !parent.isValid() && row >= 0 && row < rowCount())
        return createIndex(row, column);
    return QIdentityProxyModel::index(row, column, parent);
}

QModelIndex SuggestionColumn::parent(const QModelIndex& child) const
{
    return child.column() == column() ? QModelIndex() : QIdentityProxyModel::parent(child);
}

QModelIndex SuggestionColumn::sibling(int row, int column, const QModelIndex& at) const
{
    return index(row, column, at.parent());
}

QModelIndex SuggestionColumn::mapToSource(const QModelIndex& proxyIndex) const
{
    return proxyIndex.column() == column() ? QModelIndex()
                                           : QIdentityProxyModel::mapToSource(proxyIndex);
}

Qt::ItemFlags SuggestionColumn::flags(const QModelIndex& index) const
{
    if (index.column() == column())
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return QIdentityProxyModel::flags(index);
}

QString SuggestionColumn::key(int row) const
{
    const Article& a = m_rows.article(row);
    return a.number + QChar(0x1f) + a.description;
}

QVariant SuggestionColumn::data(const QModelIndex& index, int role) const
{
    if (index.column() != column())
        return QIdentityProxyModel::data(index, role);
    if (role != Qt::DisplayRole || index.row() >= m_rows.rowCount() ||
        !m_rows.article(index.row()).state.isEmpty())
        return {};
    const auto found = m_found.constFind(key(index.row()));
    if (found != m_found.cend())
        return *found;
    if (!m_failed && !m_waiting.contains(index.row())) {
        m_waiting << index.row();
        m_timer.start();
    }
    return {};
}

QVariant SuggestionColumn::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section == column())
        return role == Qt::DisplayRole ? QVariant(QStringLiteral("Sugerencia")) : QVariant();
    return QIdentityProxyModel::headerData(section, orientation, role);
}

void SuggestionColumn::work()
{
    QElapsedTimer turn;
    turn.start();
    while (!m_waiting.isEmpty() && turn.elapsed() < TurnMilliseconds) {
        const int row = m_waiting.takeFirst();
        if (row >= m_rows.rowCount())
            continue;
        try {
            const QList<ArticleSuggestion> found =
                m_suggestions.suggest(m_rows.article(row).number, m_rows.article(row).description);
            m_found.insert(key(row), found.isEmpty() ? QString() : found.first().position);
        } catch (const AppError& error) {
            // Told once; the list stays usable without the column.
            m_failed = true;
            m_waiting.clear();
            m_ws.dialogs().message(MessageIcon::Critical, error.description());
            return;
        }
        const QModelIndex cell = index(row, column());
        Q_EMIT dataChanged(cell, cell, {Qt::DisplayRole});
    }
    if (!m_waiting.isEmpty())
        m_timer.start();
}
