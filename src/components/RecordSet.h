// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QHash>
#include <QString>
#include <QVariant>
#include <QVector>

/**
 * The rows a query returned, held in memory. A NULL field is a null QVariant, kept apart
 * from the empty text. The cursor starts on the first row.
 */
class RecordSet {
public:
    RecordSet() = default;
    RecordSet(QStringList columns, QVector<QVector<QVariant>> rows);

    /** Value of the named column (case-insensitive) in the current row. */
    QVariant Fields(const QString& name) const;
    /** True when the cursor stands past the last row (or there is none). */
    bool Eof() const { return m_pos >= m_rows.size(); }
    void MoveNext() { ++m_pos; }
    qsizetype RecordCount() const { return m_rows.size(); }
    /** 1-based position of the current row. */
    qsizetype AbsolutePosition() const { return m_pos + 1; }

    const QStringList& columns() const { return m_columns; }
    const QVector<QVariant>& row(qsizetype index) const { return m_rows.at(index); }

private:
    QStringList m_columns;
    QHash<QString, int> m_index;
    QVector<QVector<QVariant>> m_rows;
    qsizetype m_pos = 0;
};
