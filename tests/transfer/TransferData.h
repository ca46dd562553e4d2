#pragma once

#include "components/DataSession.h"

#include <QList>
#include <QStringList>

/**
 * The interno "100" of the transfer tests: three clean lines written out of order, the
 * article A-1 on lines 1 and 3, B-2 already in the catalog CAT1; A-1 is also known to
 * another catalog, which the transfer must leave alone. Interno "200" has a line to correct.
 */
namespace TransferData {

inline QString workRows()
{
    // INTNRO, ARTORD, ARTNRO, ARTDSC, ARTCAN, ARTUNI, ARTTOT, ARTORG, PRCDUN, PRCNCM, PRCLAP,
    // PRCSUF, PRCEUN, PRCECA, PRCSUN, PRCSCA, PRCESM, PRCORI, PRCEST, PRCCRC
    return QStringLiteral(
        "insert into INTN values ('100', 'Interno de prueba');\n"
        "insert into INTN values ('200', 'Interno con errores');\n"
        "insert into ART values ('100', 3, 'A-1', 'TORNILLO LARGO', 4, 3, 12, '212', '02', "
        "'7318.15.00.200B', 'S', 'AB(LARGO)-', '01', 7, '', 0, '2', '212', 'M', 'OK');\n"
        "insert into ART values ('100', 1, 'A-1', 'TORNILLO O''HARA', 10.5, 2.25, 23.625, '212', "
        "'01', '7318.15.00.100A', 'N', 'AA(X)-', '01', 10.5, NULL, NULL, '1', NULL, 'A', 'OK');\n"
        "insert into ART values ('100', 2, 'B-2', 'ARANDELA', 100, 0.1, 10, '203', ' 07 ', "
        "'7318.22.00.000C', 'N', 'SIN SUFIJOS', '07', 100, '10', 3.5, '1', '203', 'A', 'OK');\n"
        "insert into ART values ('200', 1, 'C-3', 'TUERCA', 1, 1, 1, '212', '01', NULL, NULL, "
        "NULL, NULL, NULL, NULL, NULL, '1', NULL, NULL, NULL);\n");
}

inline QString catalogRows()
{
    return QStringLiteral(
        "insert into catarticulos values ('CAT1', 'B-2', 'VIEJA', '999', 5, 1, "
        "'0000.00.00.000A', 'S', 'XX(1)-', '05', '05', 9, '2', 'U', 9);\n"
        "insert into catarticulos values ('CAT2', 'A-1', 'OTRO CATALOGO', '999', 5, 1, "
        "'0000.00.00.000A', 'S', 'XX(1)-', '05', '05', 9, '2', 'U', 9);\n");
}

/** The rows a query returns, each field as text, NULL as "<NULL>". */
inline QList<QStringList> rows(DataSession& session, const QString& sql)
{
    session.Sql(sql);
    RecordSet rs;
    session.CrearRs(rs);
    QList<QStringList> out;
    for (; !rs.Eof(); rs.MoveNext()) {
        QStringList fields;
        for (const QString& column : rs.columns()) {
            const QVariant value = rs.Fields(column);
            fields << (value.isNull() ? QStringLiteral("<NULL>") : value.toString());
        }
        out << fields;
    }
    return out;
}

/** Every row of the tables the transfer writes, for before/after comparisons. */
inline QList<QStringList> dump(DataSession& declaration)
{
    QList<QStringList> all;
    for (const QString& sql :
         {QStringLiteral("select * from caratula order by interno"),
          QStringLiteral("select * from subitems order by idsubitem"),
          QStringLiteral("select * from facturas order by interno, nrofactura"),
          QStringLiteral("select * from catarticulos order by idcatalogo, idarticulo")}) {
        all << QStringList{sql};
        all << rows(declaration, sql);
    }
    return all;
}

/** The items of interno 100 as a first transfer writes them (without idsubitem). */
inline QList<QStringList> expectedItems()
{
    return {
        {QStringLiteral("A-1"),
         QStringLiteral("CAT1"),
         QStringLiteral("TORNILLO O'HARA"),
         QStringLiteral("100"),
         QStringLiteral("7318.15.00.100A"),
         QStringLiteral("01"),
         QStringLiteral("10.5"),
         QStringLiteral("2.25"),
         QStringLiteral("212"),
         QStringLiteral("10.5"),
         QStringLiteral("23.625"),
         QStringLiteral("1"),
         QStringLiteral("01"),
         QStringLiteral("10.5"),
         QStringLiteral("AA(X)-"),
         QStringLiteral("N"),
         QStringLiteral("0"),
         QStringLiteral("0"),
         QStringLiteral("N"),
         QStringLiteral("")},
        {QStringLiteral("B-2"),
         QStringLiteral("CAT1"),
         QStringLiteral("ARANDELA"),
         QStringLiteral("100"),
         QStringLiteral("7318.22.00.000C"),
         QStringLiteral(" 07 "),
         QStringLiteral("100"),
         QStringLiteral("0.1"),
         QStringLiteral("203"),
         QStringLiteral("0"),
         QStringLiteral("10"),
         QStringLiteral("1"),
         QStringLiteral("07"),
         QStringLiteral("100"),
         QStringLiteral("SIN SUFIJOS"),
         QStringLiteral("N"),
         QStringLiteral("3.5"),
         QStringLiteral("0"),
         QStringLiteral("N"),
         QStringLiteral("10")},
        {QStringLiteral("A-1"),
         QStringLiteral("CAT1"),
         QStringLiteral("TORNILLO LARGO"),
         QStringLiteral("100"),
         QStringLiteral("7318.15.00.200B"),
         QStringLiteral("02"),
         QStringLiteral("4"),
         QStringLiteral("3"),
         QStringLiteral("212"),
         QStringLiteral("0"),
         QStringLiteral("12"),
         QStringLiteral("2"),
         QStringLiteral("01"),
         QStringLiteral("0"),
         QStringLiteral("AB(LARGO)-"),
         QStringLiteral("S"),
         QStringLiteral("0"),
         QStringLiteral("0"),
         QStringLiteral("N"),
         QStringLiteral("")},
    };
}

inline const QString ItemColumns = QStringLiteral(
    "idarticulo, idcatalogo, descripcion, interno, ncm, idunidad, cantidad, preciounitario, "
    "idpais, kgneto, fob, estadomerc, estadistica, valorrelacionestadistica, sufijos, lapi, "
    "valorderesp, kgbruto, biendeuso, deresp");

} // namespace TransferData
