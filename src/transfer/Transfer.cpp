#include "transfer/Transfer.h"

#include "app/Workspace.h"

#include <QDateTime>

#include <limits>

namespace {

const QString NothingTransferred = QStringLiteral("No se transfirió ningún registro.");

const QString ItemInsert = QStringLiteral(
    "insert into subitems (idarticulo,idcatalogo,descripcion,interno,ncm,IdUnidad,Cantidad,"
    "Preciounitario,IdPais,KGNETO,fob,EstadoMerc,estadistica,valorrelacionestadistica,sufijos,"
    "LAPI,valorderesp,kgbruto,biendeuso,deresp) "
    "values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");

const QString CatalogSelect =
    QStringLiteral("select idarticulo from catarticulos where idcatalogo = ? and idarticulo = ?");

const QString CatalogUpdate = QStringLiteral(
    "update CATARTICULOS set descripcion = ?,idpais = ?,cantidad = 0,Preciounitario = ?,"
    "ncm = ?,lapi = ?,sufijos = ?,idunidad = ?,estadistica = ?,valorrelacionestadistica = ?,"
    "EstadoMerc = ?,deresp = ?,valorderesp = ? where idcatalogo = ? and idarticulo = ?");

const QString CatalogInsert = QStringLiteral(
    "insert into CATARTICULOS (idcatalogo, idarticulo, descripcion, idpais, cantidad, "
    "Preciounitario, ncm, lapi, sufijos, idunidad, estadistica, valorrelacionestadistica, "
    "estadomerc, deresp, valorderesp) values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");

/** A text column as the declaration database receives it: a NULL is the empty text. */
QString textOf(const RecordSet& rs, const QString& column)
{
    return FormatService().EsNull(rs.Fields(column));
}

/** A number the item cannot do without: a NULL stops the transfer with a clear error. */
double requiredNumber(const RecordSet& rs, const QString& column, const QString& meaning)
{
    const QVariant value = rs.Fields(column);
    if (value.isNull())
        throw AppError(94,
                       QStringLiteral("La línea %1 (artículo %2) no tiene %3.")
                           .arg(rs.Fields(QStringLiteral("ARTORD")).toString(),
                                rs.Fields(QStringLiteral("ARTNRO")).toString(), meaning),
                       QStringLiteral("Aduplan"));
    return value.toDouble();
}

/** The twenty values of an item, in the order of the insert. */
QVariantList itemValues(const RecordSet& art, const Workspace& ws, const FormatService& format)
{
    const double quantity =
        requiredNumber(art, QStringLiteral("ARTCAN"), QStringLiteral("cantidad"));
    const double unitPrice =
        requiredNumber(art, QStringLiteral("ARTUNI"), QStringLiteral("precio unitario"));
    const double total = requiredNumber(art, QStringLiteral("ARTTOT"), QStringLiteral("total"));
    const QString declaredUnit = textOf(art, QStringLiteral("PRCDUN"));
    const QString statisticalUnit = textOf(art, QStringLiteral("PRCEUN"));
    const double netKilograms = declaredUnit.trimmed() == QLatin1String("01") ? quantity : 0.0;
    const double statisticalQuantity =
        statisticalUnit.trimmed() == declaredUnit.trimmed() ? quantity : 0.0;
    return {textOf(art, QStringLiteral("ARTNRO")),
            format.EsNull(ws.INTCAT),
            textOf(art, QStringLiteral("ARTDSC")),
            format.EsNull(ws.currentInterno),
            textOf(art, QStringLiteral("PRCNCM")),
            declaredUnit,
            quantity,
            unitPrice,
            textOf(art, QStringLiteral("ARTORG")),
            netKilograms,
            total,
            textOf(art, QStringLiteral("PRCESM")),
            statisticalUnit,
            statisticalQuantity,
            textOf(art, QStringLiteral("PRCSUF")),
            textOf(art, QStringLiteral("PRCLAP")),
            format.EsNumero(art.Fields(QStringLiteral("PRCSCA"))),
            0.0,
            QStringLiteral("N"),
            textOf(art, QStringLiteral("PRCSUN"))};
}

/**
 * What the catalog learns of an article, in the order of the update: everything but the
 * key and the quantity (always 0).
 */
QVariantList catalogContent(const RecordSet& art, const FormatService& format)
{
    return {textOf(art, QStringLiteral("ARTDSC")),
            textOf(art, QStringLiteral("PRCORI")),
            format.EsNumero(art.Fields(QStringLiteral("ARTUNI"))),
            textOf(art, QStringLiteral("PRCNCM")),
            textOf(art, QStringLiteral("PRCLAP")),
            textOf(art, QStringLiteral("PRCSUF")),
            textOf(art, QStringLiteral("PRCDUN")),
            textOf(art, QStringLiteral("PRCEUN")),
            format.EsNumero(art.Fields(QStringLiteral("PRCECA"))),
            textOf(art, QStringLiteral("PRCESM")),
            textOf(art, QStringLiteral("PRCSUN")),
            format.EsNumero(art.Fields(QStringLiteral("PRCSCA")))};
}

/** The values of the catalog update: the content, then the key. */
QVariantList catalogUpdateValues(const RecordSet& art, const Workspace& ws,
                                 const FormatService& format)
{
    return catalogContent(art, format) +
           QVariantList{format.EsNull(ws.INTCAT), textOf(art, QStringLiteral("ARTNRO"))};
}

/** The fifteen values of a new catalog entry: key, description, origin, quantity 0, the rest. */
QVariantList catalogInsertValues(const RecordSet& art, const Workspace& ws,
                                 const FormatService& format)
{
    QVariantList values =
        QVariantList{format.EsNull(ws.INTCAT), textOf(art, QStringLiteral("ARTNRO"))} +
        catalogContent(art, format);
    values.insert(4, 0.0);
    return values;
}

int progressCount(qsizetype count)
{
    return static_cast<int>(qMin<qsizetype>(count, std::numeric_limits<int>::max()));
}

} // namespace

Transfer::Transfer(Workspace& ws)
    : m_ws(ws)
{}

Transfer::~Transfer() = default;

void Transfer::abandon()
{
    m_transaction.reset();
}

void Transfer::reportEmpty()
{
    abandon();
    m_outcome = TransferOutcome::Empty;
    m_ws.dialogs().message(MessageIcon::Exclamation,
                           QStringLiteral("El interno ") + m_ws.currentInterno +
                               QStringLiteral(" no tiene artículos para transferir.\n\n") +
                               NothingTransferred);
}

void Transfer::reportFailure(MessageIcon icon, const AppError& error, const QString& section)
{
    abandon();
    m_outcome = TransferOutcome::Failed;
    m_ws.dialogs().message(icon,
                           errorText(error, section) + QStringLiteral("\n\n") + NothingTransferred);
}

TransferOutcome Transfer::FRM3_Tranferir()
{
    ProgressSink& progress = m_ws.progress();
    BusyCursor busy(progress);

    progress.setMessage(QStringLiteral("Validando datos..."));
    if (!FRAM3_Transfer_A_Validar())
        return m_outcome;

    progress.setMessage(QStringLiteral("Transfiriendo al Dectra Windows..."));
    progress.setProgressVisible(true);
    if (!FRAM3_Transfer_B_Pasaje())
        return m_outcome;

    progress.setMessage(QStringLiteral("Actualizando catalogo..."));
    if (!FRAM3_Transfer_C_ActualCAT())
        return m_outcome;

    const QString section = QStringLiteral(" - seccion [Aduplan.FRAM3_Transferir]");
    try {
        m_transaction->commit();
        m_transaction.reset();
    } catch (const AppError& error) {
        reportFailure(MessageIcon::None, error, section);
        return m_outcome;
    }

    m_outcome = TransferOutcome::Transferred;
    try {
        DataSession& declaration = m_ws.declaration();
        declaration.Sql(
            QStringLiteral("select count(interno) as Total from subitems where interno = ?"),
            {m_ws.currentInterno});
        RecordSet rs;
        if (declaration.CrearRs(rs)) {
            const QVariant total = rs.Fields(QStringLiteral("Total"));
            if (m_ws.formatter().EsNumero(total) > 0) {
                m_ws.dialogs().message(MessageIcon::Information,
                                       QStringLiteral("Se transfirio ") + total.toString() +
                                           QStringLiteral(" articulos en el interno ") +
                                           m_ws.currentInterno);
            } else {
                m_outcome = TransferOutcome::Failed;
                m_ws.dialogs().message(
                    MessageIcon::Exclamation,
                    QStringLiteral("ERROR: No se transfirio los articulos en el interno ") +
                        m_ws.currentInterno);
            }
        }
    } catch (const AppError& error) {
        // The transfer is committed by now: only the count could not be read.
        m_ws.dialogs().message(MessageIcon::None, errorText(error, section));
    }
    progress.setMessage(QStringLiteral("Fin de proceso"));
    progress.setProgressVisible(false);
    return m_outcome;
}

bool Transfer::FRAM3_Transfer_A_Validar()
{
    try {
        DataSession& work = m_ws.work();
        work.Sql(QStringLiteral("select count(INTNRO) as Cant from ART where INTNRO = ? and "
                                "(PRCCRC <> 'OK' or PRCCRC is null)"),
                 {m_ws.currentInterno});
        RecordSet rs;
        if (work.CrearRs(rs) && m_ws.formatter().EsNumero(rs.Fields(QStringLiteral("Cant"))) == 0)
            return true;
        m_outcome = TransferOutcome::Refused;
        m_ws.dialogs().message(MessageIcon::Exclamation,
                               QStringLiteral("Hay registros para depurar.\n\n"
                                              "Haga click en el boton \"DATOS CON ERRORES\""));
    } catch (const AppError& error) {
        m_outcome = TransferOutcome::Failed;
        m_ws.dialogs().message(
            MessageIcon::Critical,
            errorText(error,
                      QStringLiteral(" - seccion [Aduplan.frmMain_FRAM3_Transfer_A_Validar]")));
    }
    return false;
}

bool Transfer::FRAM3_Transfer_B_Pasaje()
{
    const QString& interno = m_ws.currentInterno;
    ProgressSink& progress = m_ws.progress();
    try {
        DataSession& declaration = m_ws.declaration();
        RecordSet rs;
        declaration.Sql(QStringLiteral("select interno from caratula where interno = ?"),
                        {interno});
        const bool exists = declaration.CrearRs(rs);
        // The question comes before the transaction opens: nothing stays locked while it is up.
        if (exists &&
            !m_ws.dialogs().question(QStringLiteral("El interno [ ") + interno +
                                     QStringLiteral(" ] ya existe.\n\nDesea reemplazarlo?"))) {
            m_outcome = TransferOutcome::Declined;
            return false;
        }
        m_transaction.emplace(declaration);
        if (exists) {
            for (const QString& statement :
                 {QStringLiteral("delete from caratula where interno = ?"),
                  QStringLiteral("delete from subitems where interno = ?"),
                  QStringLiteral("delete from facturas where interno = ?")}) {
                declaration.Sql(statement, {interno});
                declaration.ejecutar();
            }
        }

        progress.setProgressValue(1);
        progress.setProgressMaximum(100);
        declaration.Sql(QStringLiteral("insert into caratula (interno, fechaalta) values (?,?)"),
                        {interno, m_ws.directory().getDateFormatbyEntity(
                                      QStringLiteral("INTERNOS"), QDateTime::currentDateTime())});
        declaration.ejecutar();

        DataSession& work = m_ws.work();
        work.Sql(
            QStringLiteral("select * from ART where INTNRO = ? and PRCCRC = 'OK' order by ARTORD"),
            {interno});
        RecordSet art;
        if (!work.CrearRs(art)) {
            reportEmpty();
            return false;
        }
        progress.setProgressMaximum(progressCount(art.RecordCount()));

        DataSession::Statement insert(declaration, ItemInsert);
        for (; !art.Eof(); art.MoveNext()) {
            if (insert.ejecutar(itemValues(art, m_ws, m_ws.formatter())) == 0)
                throw AppError(
                    1,
                    QStringLiteral(
                        "Error Grabando registro en Dectra Windows: 0 Registros agregados"),
                    QStringLiteral("Aduplan"));
            progress.setProgressValue(progressCount(art.AbsolutePosition()));
        }
        return true;
    } catch (const AppError& error) {
        reportFailure(MessageIcon::Critical, error,
                      QStringLiteral(" - seccion [Aduplan.frmMain.FRAM3_Transfer_B_pasaje]"));
    }
    return false;
}

bool Transfer::FRAM3_Transfer_C_ActualCAT()
{
    ProgressSink& progress = m_ws.progress();
    try {
        progress.setProgressValue(1);
        progress.setProgressMaximum(100);
        DataSession& work = m_ws.work();
        work.Sql(QStringLiteral("select * from ART where INTNRO = ? order by ARTORD"),
                 {m_ws.currentInterno});
        RecordSet art;
        if (!work.CrearRs(art)) {
            reportEmpty();
            return false;
        }
        progress.setProgressMaximum(progressCount(art.RecordCount()));

        DataSession& declaration = m_ws.declaration();
        DataSession::Statement select(declaration, CatalogSelect);
        DataSession::Statement update(declaration, CatalogUpdate);
        DataSession::Statement insert(declaration, CatalogInsert);
        const FormatService& format = m_ws.formatter();
        RecordSet entry;
        for (; !art.Eof(); art.MoveNext()) {
            // Each line is looked up on its own: an article on several lines ends with the
            // values of its last line.
            if (select.CrearRs(entry, {m_ws.formatter().EsNull(m_ws.INTCAT),
                                       textOf(art, QStringLiteral("ARTNRO"))}))
                update.ejecutar(catalogUpdateValues(art, m_ws, format));
            else
                insert.ejecutar(catalogInsertValues(art, m_ws, format));
            progress.setProgressValue(progressCount(art.AbsolutePosition()));
        }
        return true;
    } catch (const AppError& error) {
        reportFailure(MessageIcon::None, error,
                      QStringLiteral(" - seccion [Aduplan.frmMain_FRAM3_Transfer_C_ActualCAT]"));
    }
    return false;
}

TransferOutcome FRM3_Tranferir(Workspace& ws)
{
    return Transfer(ws).FRM3_Tranferir();
}
