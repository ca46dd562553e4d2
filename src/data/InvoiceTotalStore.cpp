// SPDX-License-Identifier: Apache-2.0
#include "data/InvoiceTotalStore.h"

#include "data/DatabaseFile.h"

namespace {

const QString Table = QStringLiteral("INVOICE_TOTAL");

} // namespace

InvoiceTotalStore::InvoiceTotalStore(DataSession& work)
    : m_work(work)
{}

QStringList InvoiceTotalStore::schema()
{
    return {QStringLiteral("create table INVOICE_TOTAL (INTNRO text not null primary key, "
                           "DOCLINE integer not null, LINETEXT text not null, AMOUNT double "
                           "precision not null)")};
}

void InvoiceTotalStore::createWhenMissing(DataSession& work)
{
    DatabaseFile::createWhenMissing(work, Table, schema());
}

std::optional<StatedTotal> InvoiceTotalStore::read(const QString& interno)
{
    RecordSet rs;
    m_work.Sql(
        QStringLiteral("select DOCLINE, LINETEXT, AMOUNT from INVOICE_TOTAL where INTNRO = ?"),
        {interno});
    if (!m_work.CrearRs(rs))
        return std::nullopt;
    const QVector<QVariant>& row = rs.row(0);
    return StatedTotal{row.at(0).toLongLong(), row.at(1).toString(), row.at(2).toDouble()};
}

void InvoiceTotalStore::replace(const QString& interno, const std::optional<StatedTotal>& total)
{
    remove(interno);
    if (!total)
        return;
    m_work.Sql(QStringLiteral("insert into INVOICE_TOTAL (INTNRO, DOCLINE, LINETEXT, AMOUNT) "
                              "values (?, ?, ?, ?)"),
               {interno, total->documentLine, total->text, total->amount});
    m_work.ejecutar();
}

void InvoiceTotalStore::remove(const QString& interno)
{
    m_work.Sql(QStringLiteral("delete from INVOICE_TOTAL where INTNRO = ?"), {interno});
    m_work.ejecutar();
}
