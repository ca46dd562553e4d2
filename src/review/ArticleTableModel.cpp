// SPDX-License-Identifier: Apache-2.0
#include "review/ArticleTableModel.h"

#include "components/FormatService.h"

#include <QColor>

#include <array>

namespace {

struct Column {
    const char* caption; ///< UTF-8
    int twips;
};

const std::array<Column, 10> Columns = {{
    {"Orden", 650},
    {"Articulo", 1800},
    {"Descripción", 3500},
    {"Origen", 600},
    {"Cantidad", 1440},
    {"Unitario", 1440},
    {"Total", 1440},
    {"Posición", 1600},
    {"Estado", 800},
    {"CRC", 1440},
}};

QString number(const std::optional<double>& value)
{
    return value ? FormatService().generalNumber(*value) : QString();
}

} // namespace

ArticleTableModel::ArticleTableModel(QObject* parent)
    : QAbstractTableModel(parent)
{}

ArticleStore::Selection ArticleTableModel::selection(List list)
{
    return list == List::WithErrors ? ArticleStore::Selection::WithErrors
                                    : ArticleStore::Selection::Clean;
}

void ArticleTableModel::load(ArticleStore& store, const QString& interno, List list)
{
    QList<Article> rows = store.rows(interno, selection(list));
    beginResetModel();
    m_rows = std::move(rows);
    m_list = list;
    endResetModel();
}

int ArticleTableModel::columnTwips(int column)
{
    return Columns.at(std::size_t(column)).twips;
}

int ArticleTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ArticleTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(Columns.size());
}

QString ArticleTableModel::text(int row, int column) const
{
    const Article& a = m_rows.at(row);
    switch (column) {
    case 0:
        return QStringLiteral("%1").arg(a.line, 4, 10, QLatin1Char('0'));
    case 1:
        return a.number;
    case 2:
        return a.description;
    case 3:
        return a.origin;
    case 4:
        return number(a.quantity);
    case 5:
        return number(a.unitPrice);
    case 6:
        return number(a.total);
    case 7:
        return a.position;
    case 8:
        return a.state;
    default:
        return a.check;
    }
}

QVariant ArticleTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    if (role == Qt::DisplayRole)
        return text(index.row(), index.column());
    if (role == Qt::ForegroundRole) {
        const QString& state = m_rows.at(index.row()).state;
        if (m_list == List::WithErrors)
            return state.isEmpty() ? QColor(128, 0, 0) : QColor(0, 0, 128);
        if (state == QLatin1String("M"))
            return QColor(0, 128, 128);
    }
    return {};
}

QVariant ArticleTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= int(Columns.size()))
        return {};
    return QString::fromUtf8(Columns.at(std::size_t(section)).caption);
}
