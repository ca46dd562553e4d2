// SPDX-License-Identifier: Apache-2.0
#include "components/RecordSet.h"

#include "components/AppError.h"

RecordSet::RecordSet(QStringList columns, QVector<QVector<QVariant>> rows)
    : m_columns(std::move(columns))
    , m_rows(std::move(rows))
{
    for (int i = 0; i < m_columns.size(); ++i)
        m_index.insert(m_columns.at(i).toLower(), i);
}

QVariant RecordSet::Fields(const QString& name) const
{
    const auto it = m_index.constFind(name.toLower());
    if (it == m_index.constEnd())
        throw AppError(3265,
                       QStringLiteral("No se encuentra el campo '%1' en el resultado.").arg(name),
                       QStringLiteral("RecordSet"));
    if (Eof())
        throw AppError(3021, QStringLiteral("No hay un registro actual."),
                       QStringLiteral("RecordSet"));
    return m_rows.at(m_pos).at(*it);
}
