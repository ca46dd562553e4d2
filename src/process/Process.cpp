// SPDX-License-Identifier: Apache-2.0
#include "process/Process.h"

#include "components/SuffixValidator.h"
#include "components/TestSeam.h"
#include "data/HistoryStore.h"
#include "data/InvoiceTotalStore.h"
#include "data/Nomenclator.h"
#include "import/ArticleLoading.h"
#include "import/DocumentImport.h"
#include "process/ProcessRun.h"
#include "workspace/Workspace.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <future>
#include <optional>
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
        : m_nomenclator(nomenclator)
    {}

    /** Reads the marks of the positions not read yet, in a few selects. */
    void readAhead(const QStringList& positions)
    {
        QVariantList keys;
        for (const QString& position : positions) {
            const std::pair key = keyOf(position);
            if (m_flags.contains(key))
                continue;
            m_flags.insert(key, QStringLiteral("N"));
            keys << key.first << key.second;
        }
        // A position with several nomenclator rows takes its first one's mark.
        QSet<std::pair<QString, QString>> seen;
        m_nomenclator.selectByKeys(
            QStringLiteral("with k(a, b) as (values %1) select k.a, k.b, ncm.[059] as lapi from "
                           "k join ncm on ncm.[001] = k.a and ncm.[002] = k.b"),
            2, keys, [&](const RecordSet& marks, qsizetype, qsizetype) {
                for (qsizetype r = 0; r < marks.RecordCount(); ++r) {
                    const QVector<QVariant>& row = marks.row(r);
                    const std::pair key{row.at(0).toString(), row.at(1).toString()};
                    if (!seen.contains(key)) {
                        seen.insert(key);
                        if (FormatService().EsNull(row.at(2)) == QLatin1String("*"))
                            m_flags[key] = QStringLiteral("S");
                    }
                }
            });
    }

    /** "S" when the position's [059] is "*"; "N" for any other mark or no nomenclator row. */
    QString flag(const QString& position)
    {
        readAhead({position});
        return m_flags.value(keyOf(position));
    }

private:
    static std::pair<QString, QString> keyOf(const QString& position)
    {
        return {Nomenclator::positionDigits(position), Nomenclator::statisticalOpening(position)};
    }

    DataSession& m_nomenclator;
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

    const QStringList articles = run.articles.articleNumbers(run.interno);
    progress.setProgressMaximum(int(articles.size()));

    // The catalog rows of a chunk of article numbers come in one select; the numbers are then
    // classified one by one in their order, as the operator sees them counted.
    enum Column { Number, Position, Lapi, Suffixes, StatisticalUnit, Condition, DutyUnit };
    const QString select =
        QStringLiteral("select idarticulo, ncm, lapi, sufijos, estadistica, estadomerc, deresp "
                       "from catarticulos where idcatalogo = ? and idarticulo in (%1)");
    LapiMarks lapiMarks(ws.nomenclator());
    const FormatService& format = ws.formatter();

    QVariantList keys;
    for (const QString& article : articles)
        keys << article;
    // The hits of each chunk go to the store as they are found, and into the rows together
    // once the catalog has been read.
    const auto classifyChunk = [&](const RecordSet& hits, qsizetype start, qsizetype count) {
        // A catalog without its key could hold a number twice: its first row counts.
        QHash<QString, qsizetype> hitOf;
        QStringList unmarked;
        for (qsizetype r = hits.RecordCount(); r-- > 0;) {
            const QVector<QVariant>& row = hits.row(r);
            hitOf.insert(row.at(Number).toString(), r);
            if (format.EsNull(row.at(Lapi)).trimmed().isEmpty())
                unmarked << format.EsNull(row.at(Position));
        }
        lapiMarks.readAhead(unmarked);

        QList<CatalogHit> classified;
        for (qsizetype i = start; i < start + count; ++i) {
            const auto hit = hitOf.constFind(articles.at(i));
            if (hit != hitOf.constEnd()) {
                const QVector<QVariant>& row = hits.row(*hit);
                CatalogClassification found;
                found.position = format.EsNull(row.at(Position));
                found.lapi = format.EsNull(row.at(Lapi));
                if (found.lapi.trimmed().isEmpty())
                    found.lapi = lapiMarks.flag(found.position);
                found.suffixes = format.EsNull(row.at(Suffixes));
                found.statisticalUnit = format.EsNull(row.at(StatisticalUnit));
                // An empty condition takes the default; a NULL one is written empty and
                // receives the default in stage 3.
                const QVariant& condition = row.at(Condition);
                found.goodsCondition = format.EsNull(condition);
                if (!condition.isNull() && found.goodsCondition.isEmpty())
                    found.goodsCondition = ws.settings().goodsCondition();
                found.specificDutyUnit = format.EsNull(row.at(DutyUnit));
                classified.append({articles.at(i), found});
            }
            progress.setProgressValue(int(i + 1));
        }
        run.articles.addHits(classified);
    };
    ws.declaration().selectByKeys(select, 1, keys, classifyChunk, {ws.settings().catalog()});
    run.articles.classifyAll(run.interno);
}

/** Stage 3: rows without a goods condition get the default one. */
void ActualizarDatosComunes(ProcessRun& run)
{
    run.ws.progress().setMessage(
        QStringLiteral("Procesando... Etapa 3 de 4: Actualizando datos comunes"));
    run.articles.fillGoodsCondition(run.interno, run.ws.settings().goodsCondition());
}

/** What a document read for the interno puts in place of its rows and stated total. */
struct Replacement {
    QList<Article> rows;
    std::optional<StatedTotal> statedTotal;
    /** The import's entry in the row history: the document and the rows read from it. */
    std::shared_future<QString> summary;
};

/**
 * The import's summary: the document's name and SHA-256 (when it can be read) and the rows.
 * The digest is worked out on a thread of its own while the rows are processed.
 */
std::shared_future<QString> importSummary(const QString& documentPath, qsizetype rows)
{
    return std::async(std::launch::async, [documentPath, rows] {
        QString summary = QStringLiteral("archivo ") + QFileInfo(documentPath).fileName();
        QFile document(documentPath);
        QCryptographicHash sha(QCryptographicHash::Sha256);
        if (document.open(QIODevice::ReadOnly) && sha.addData(&document))
            summary += QStringLiteral(", SHA-256 ") + QString::fromLatin1(sha.result().toHex());
        return summary + QStringLiteral(", filas leídas: ") + QString::number(rows);
    });
}

/** The process's summary: the six counters of the interno. */
QString processSummary(ArticleStore& articles, const QString& interno)
{
    QStringList parts;
    for (const auto& [name, count] : articles.counters(interno).named())
        parts << name + QStringLiteral(": ") + QString::number(count);
    return parts.join(QStringLiteral(", "));
}

/**
 * Stages 2 to 4 and the closing update in one transaction on the work database; when
 * `replacement` is given, the interno's rows and stated total are first replaced by it in the
 * same transaction, so that the import and the classification take effect together or not at
 * all.
 */
bool classify(Workspace& ws, const QString& interno, const SuffixCheck& validate,
              SuffixValidator* validator, Replacement* replacement)
{
    ProgressSink& progress = ws.progress();
    progress.setProgressVisible(true);
    ProcessRun run{ws, interno, ArticleStore(ws.work()), {}};
    if (validator)
        run.readAhead = [validator](const QStringList& positions) {
            validator->prefetch(positions);
        };
    try {
        TransactionGuard transaction(ws.work());
        // The catalog and the nomenclator are only read: each in one transaction for the run.
        const ReadTransaction declarationReads(ws.declaration());
        const ReadTransaction nomenclatorReads(ws.nomenclator());
        if (replacement) {
            run.articles.replaceRows(interno, replacement->rows);
            replacement->rows = {}; // written: the stages read the rows from the database
            InvoiceTotalStore(ws.work()).replace(interno, replacement->statedTotal);
            TestSeam::reach("process:imported");
        }
        BuscarEnCatalogo(run);
        ActualizarDatosComunes(run);
        ValidarArticulos(run, validate);
        // Closing update: validated rows declared in their statistical unit get its quantity.
        run.articles.setStatisticalQuantities(run.interno);
        // One history entry a run, whatever the number of rows, in the run's transaction.
        HistoryStore history(ws.work(), ws.historyAuthor());
        if (replacement)
            history.recordRun(interno, QStringLiteral("import"), replacement->summary.get());
        history.recordRun(interno, QStringLiteral("process"),
                          processSummary(run.articles, interno));
        TestSeam::reach("process:recorded");
        transaction.commit();
    } catch (const AppError& error) {
        reportFailure(ws, error, run.articles.lastUpdate());
        return false;
    }
    progress.setMessage(QStringLiteral("Fin de Proceso"));
    progress.setProgressVisible(false);
    return true;
}

/** The suffix validator as the check of the rows. */
SuffixCheck checkWith(SuffixValidator& validator)
{
    return [&validator](const QString& position, const QString& suffixes) {
        return validator.ValidarSufijos(position, suffixes);
    };
}

} // namespace

bool ClasificarArticulos(Workspace& ws, const QString& interno, const SuffixCheck& validate)
{
    return classify(ws, interno, validate, nullptr, nullptr);
}

bool ClasificarArticulos(Workspace& ws, const QString& interno, SuffixValidator& validator)
{
    return classify(ws, interno, checkWith(validator), &validator, nullptr);
}

bool FRAM2_GuardarDatosToBase(Workspace& ws, const QString& interno, const QString& documentPath)
{
    BusyCursor busy(ws.progress());
    ws.progress().setProgressVisible(true);
    SuffixValidator validator;
    Replacement replacement;
    std::optional<ReadTransaction> validatorReads;
    try {
        validator.ConexionString(ws.directory());
        PreparedImport prepared = ImportarDocumento(ws, documentPath, interno);
        if (prepared.outcome != ImportOutcome::Loaded) {
            // Nothing was read: the footer goes back to rest before the operator is told.
            ws.progress().setMessage(QString());
            ws.progress().setProgressVisible(false);
        }
        switch (prepared.outcome) {
        case ImportOutcome::Loaded:
            break;
        case ImportOutcome::NoText:
            ws.dialogs().message(MessageIcon::Exclamation,
                                 QStringLiteral("El documento no contiene texto."));
            return false;
        case ImportOutcome::NoArticles:
            ws.dialogs().message(MessageIcon::Exclamation,
                                 QStringLiteral("El documento no contiene artículos."));
            return false;
        case ImportOutcome::Kept:
        case ImportOutcome::Failed:
            return false;
        }
        // Units and origins first: a relation the operator saves stays whatever follows.
        std::optional<QList<Article>> loaded = CargarArticulos(ws, std::move(prepared.lines));
        if (!loaded)
            return false;
        std::shared_future<QString> summary = importSummary(documentPath, loaded->size());
        replacement = {std::move(*loaded), prepared.statedTotal, std::move(summary)};
        // The validator reads the nomenclator on a connection of its own: one transaction for
        // the classification too, begun only now that no question to the operator is left.
        validatorReads.emplace(validator.nomenclator());
    } catch (const AppError& error) {
        reportFailure(ws, error, {});
        return false;
    }
    return classify(ws, interno, checkWith(validator), &validator, &replacement);
}
