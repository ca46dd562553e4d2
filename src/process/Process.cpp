#include "process/Process.h"

#include "app/Workspace.h"
#include "components/SuffixValidator.h"
#include "data/Nomenclator.h"
#include "import/DocumentImport.h"
#include "process/ProcessRun.h"

#include <QHash>

#include <utility>

namespace {

const QString Section = QStringLiteral(" - seccion [Aduplan.frmMain.FRAM2_GuardarDatosToBase]::");

/** The failure message of the run: the error, its section and source, and the update. */
void reportFailure(Workspace& ws, const AppError& error, const QString& statement)
{
    ws.dialogs().message(MessageIcon::Critical, errorText(error, Section + error.source()) +
                                                    QStringLiteral("\n\nSQL:\n") + statement);
}

/** The LAPI mark of a position in the nomenclator, read once per position in a run. */
class LapiMarks {
public:
    explicit LapiMarks(DataSession& nomenclator)
        : m_query(nomenclator,
                  QStringLiteral("select [059] as lapi from ncm where  [001] = ? and [002] = ?"))
    {}

    /** "S" when the position's [059] is "*"; "N" for any other mark or no nomenclator row. */
    QString flag(const QString& position)
    {
        const std::pair key{Nomenclator::positionDigits(position),
                            Nomenclator::statisticalOpening(position)};
        auto it = m_flags.constFind(key);
        if (it == m_flags.constEnd()) {
            RecordSet mark;
            const bool subject =
                m_query.CrearRs(mark, {key.first, key.second}) &&
                FormatService().EsNull(mark.Fields(QStringLiteral("lapi"))) == QLatin1String("*");
            it = m_flags.insert(key, subject ? QStringLiteral("S") : QStringLiteral("N"));
        }
        return *it;
    }

private:
    DataSession::Statement m_query;
    QHash<std::pair<QString, QString>, QString> m_flags;
};

/**
 * Stage 2: every distinct article number of the interno is looked up in the catalog; a hit
 * classifies all the interno's rows with that number (state "A").
 */
void BuscarEnCatalogo(ProcessRun& run)
{
    Workspace& ws = run.ws;
    ProgressSink& progress = ws.progress();
    progress.setMessage(
        QStringLiteral("Procesando... Etapa 2 de 4: Buscando articulos en catalogo"));

    RecordSet articles;
    ws.work().Sql(
        QStringLiteral("select DISTINCT ARTNRO from ART where INTNRO = ? order by ARTNRO"),
        {run.interno});
    ws.work().CrearRs(articles);
    progress.setProgressMaximum(int(articles.RecordCount()));

    DataSession::Statement catalog(
        ws.declaration(),
        QStringLiteral("select ncm, lapi, sufijos, idunidad, estadistica, estadomerc, deresp, "
                       "preciounitario from catarticulos where idcatalogo = ? and idarticulo = ?"));
    LapiMarks lapiMarks(ws.nomenclator());
    const QString updateText = QStringLiteral(
        "update ART set PRCNCM = ?,PRCLAP = ?,PRCSUF = ?,PRCEUN = ?,PRCESM = ?,PRCSUN = ?,"
        "PRCEST = 'A' WHERE INTNRO = ?  and ARTNRO = ?");
    DataSession::Statement update(ws.work(), updateText);

    RecordSet hit;
    for (; !articles.Eof(); articles.MoveNext()) {
        const QVariant article = articles.Fields(QStringLiteral("ARTNRO"));
        if (catalog.CrearRs(hit, {ws.formatter().EsNull(ws.INTCAT), article})) {
            const QString position = ws.formatter().EsNull(hit.Fields(QStringLiteral("ncm")));
            QString lapi = ws.formatter().EsNull(hit.Fields(QStringLiteral("lapi")));
            if (lapi.trimmed().isEmpty())
                lapi = lapiMarks.flag(position);
            // An empty condition takes the default; a NULL one is written empty and
            // receives the default in stage 3.
            const QVariant condition = hit.Fields(QStringLiteral("estadomerc"));
            QString goodsCondition = ws.formatter().EsNull(condition);
            if (!condition.isNull() && goodsCondition.isEmpty())
                goodsCondition = ws.formatter().EsNull(ws.PRCESM);
            const QVariantList values = {
                position,
                lapi,
                ws.formatter().EsNull(hit.Fields(QStringLiteral("sufijos"))),
                ws.formatter().EsNull(hit.Fields(QStringLiteral("estadistica"))),
                goodsCondition,
                ws.formatter().EsNull(hit.Fields(QStringLiteral("deresp"))),
                run.interno,
                article};
            run.record(updateText, values);
            update.ejecutar(values);
        }
        progress.setProgressValue(int(articles.AbsolutePosition()));
    }
}

/** Stage 3: rows without a goods condition get the default one. */
void ActualizarDatosComunes(ProcessRun& run)
{
    run.ws.progress().setMessage(
        QStringLiteral("Procesando... Etapa 3 de 4: Actualizando datos comunes"));
    const QString text = QStringLiteral("update ART set PRCESM = ? where INTNRO = ? and "
                                        "(PRCESM is null or PRCESM = '')");
    const QVariantList values = {run.ws.formatter().EsNull(run.ws.PRCESM), run.interno};
    run.record(text, values);
    run.ws.work().Sql(text, values);
    run.ws.work().ejecutar();
}

/** Closing update: validated rows declared in their statistical unit get its quantity. */
void ActualizarCantidadesEstadisticas(ProcessRun& run)
{
    const QString text = QStringLiteral("update ART set PRCECA = ARTCAN where INTNRO = ? and "
                                        "PRCDUN = PRCEUN and PRCCRC = 'OK' ");
    const QVariantList values = {run.interno};
    run.record(text, values);
    run.ws.work().Sql(text, values);
    run.ws.work().ejecutar();
}

} // namespace

void ProcessRun::record(const QString& text, const QVariantList& values)
{
    statement.clear();
    qsizetype next = 0;
    for (const QChar c : text) {
        if (c != QLatin1Char('?') || next >= values.size()) {
            statement += c;
            continue;
        }
        const QVariant& value = values.at(next++);
        if (value.isNull())
            statement += QStringLiteral("NULL");
        else if (value.typeId() == QMetaType::QString)
            statement += QLatin1Char('\'') +
                         value.toString().replace(QLatin1Char('\''), QStringLiteral("''")) +
                         QLatin1Char('\'');
        else
            statement += value.toString();
    }
}

bool ClasificarArticulos(Workspace& ws, const SuffixCheck& validate)
{
    ProgressSink& progress = ws.progress();
    progress.setProgressVisible(true);
    ProcessRun run{ws, ws.currentInterno, {}};
    try {
        TransactionGuard transaction(ws.work());
        BuscarEnCatalogo(run);
        ActualizarDatosComunes(run);
        ValidarArticulos(run, validate);
        ActualizarCantidadesEstadisticas(run);
        transaction.commit();
    } catch (const AppError& error) {
        reportFailure(ws, error, run.statement);
        return false;
    }
    progress.setMessage(QStringLiteral("Fin de Proceso"));
    progress.setProgressVisible(false);
    return true;
}

bool FRAM2_GuardarDatosToBase(Workspace& ws, const QString& documentPath)
{
    BusyCursor busy(ws.progress());
    ws.progress().setProgressVisible(true);
    SuffixValidator validator;
    try {
        validator.ConexionString(ws.directory());
        switch (ImportarDocumento(ws, documentPath, ws.currentInterno)) {
        case ImportOutcome::Loaded:
            break;
        case ImportOutcome::NoText:
            ws.dialogs().message(MessageIcon::Exclamation,
                                 QStringLiteral("El documento no contiene texto."));
            return false;
        case ImportOutcome::Failed:
            return false;
        }
    } catch (const AppError& error) {
        reportFailure(ws, error, {});
        return false;
    }
    return ClasificarArticulos(ws, [&validator](const QString& position, const QString& suffixes) {
        return validator.ValidarSufijos(position, suffixes);
    });
}
