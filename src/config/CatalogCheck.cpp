#include "config/CatalogCheck.h"

#include "workspace/Workspace.h"

#include <QHash>
#include <QPainter>

#include <algorithm>
#include <array>

namespace {

/** The reasons in their order, each with the faults it counts. */
struct Reason {
    const char* name; ///< UTF-8
    std::array<SuffixFault, 2> faults;
};
const std::array<Reason, 6> Reasons = {{
    {"posición inexistente", {SuffixFault::PositionMissing, SuffixFault::PositionMissing}},
    {"letra de control errónea", {SuffixFault::CheckLetterWrong, SuffixFault::CheckLetterWrong}},
    {"falta un grupo de sufijos", {SuffixFault::GroupMissing, SuffixFault::GroupMissing}},
    {"grupo de sufijos desconocido", {SuffixFault::GroupUnknown, SuffixFault::GroupUnknown}},
    {"valor mal formado", {SuffixFault::ValueMalformed, SuffixFault::GroupRepeated}},
    {"sufijos no requeridos", {SuffixFault::NotRequired, SuffixFault::NotRequired}},
}};

// The report's layout in twips (see ControlReport).
constexpr int TitleTop = 71;
constexpr int CaptionTop = 355;
constexpr int HeaderHeight = 640;
constexpr int DetailHeight = 240;
using Box = ControlReport::Box;
const std::array<Box, 4> Columns = {{
    {71, CaptionTop, 1630, Qt::AlignLeft},
    {1771, CaptionTop, 1300, Qt::AlignLeft},
    {3141, CaptionTop, 3900, Qt::AlignLeft},
    {7111, CaptionTop, 4016, Qt::AlignLeft},
}};
const std::array<const char*, 4> Captions = {"Artículo", "Posición", "Sufijos", "Motivo"};
const Box Title{71, TitleTop, 11056, Qt::AlignLeft};
const Box SummaryName{71, 0, 3000, Qt::AlignLeft};
const Box SummaryCount{3141, 0, 800, Qt::AlignRight};

/** A band's box: the column's place at the band's top. */
Box inBand(const Box& column)
{
    return {column.left, 0, column.width, column.alignment};
}

} // namespace

QList<std::pair<QString, qsizetype>> CatalogCheckResult::counts() const
{
    QList<std::pair<QString, qsizetype>> result;
    for (const Reason& r : Reasons) {
        const auto n = std::count_if(failures.cbegin(), failures.cend(), [&r](const auto& f) {
            return std::find(r.faults.cbegin(), r.faults.cend(), f.verdict.fault) !=
                   r.faults.cend();
        });
        result.append({QString::fromUtf8(r.name), qsizetype(n)});
    }
    return result;
}

namespace CatalogCheck {

QString reason(const SuffixVerdict& verdict)
{
    const QString& subject = verdict.subject;
    switch (verdict.fault) {
    case SuffixFault::None:
        return {};
    case SuffixFault::PositionMissing:
        return QStringLiteral("posición inexistente");
    case SuffixFault::CheckLetterWrong:
        return QStringLiteral("letra de control errónea (el nomenclador tiene %1)").arg(subject);
    case SuffixFault::GroupMissing:
        return QStringLiteral("falta el grupo de sufijos ") + subject;
    case SuffixFault::GroupUnknown:
        return QStringLiteral("grupo de sufijos desconocido ") + subject;
    case SuffixFault::ValueMalformed:
        return QStringLiteral("valor mal formado: ") + subject;
    case SuffixFault::GroupRepeated:
        return QStringLiteral("valor mal formado: %1 repite el grupo %2")
            .arg(subject, subject.left(2));
    case SuffixFault::NotRequired:
        return QStringLiteral("sufijos no requeridos: la posición no lleva sufijos");
    }
    return {};
}

CatalogCheckResult run(Workspace& ws, const QString& catalog)
{
    const BusyCursor busy(ws.progress());
    if (!CatalogStore::exists(ws.declaration(), catalog))
        throw AppError(-1, QStringLiteral("El catálogo \"%1\" no existe.").arg(catalog),
                       QStringLiteral("CatalogCheck"));
    CatalogCheckResult result;
    result.catalog = catalog;
    const QList<CatalogEntry> entries = CatalogStore::entries(ws.declaration(), catalog);
    result.checked = entries.size();

    // Each distinct position and suffixes is judged once, in position order, so that the
    // validator reads each position once.
    using Key = std::pair<QString, QString>;
    QHash<Key, SuffixVerdict> verdicts;
    for (const CatalogEntry& entry : entries)
        verdicts.insert({entry.position, entry.suffixes}, {});
    QList<Key> keys = verdicts.keys();
    std::sort(keys.begin(), keys.end());

    ProgressSink& progress = ws.progress();
    progress.setMessage(QStringLiteral("Verificando catálogo ") + catalog + QStringLiteral("..."));
    progress.setProgressVisible(true);
    progress.setProgressMaximum(int(keys.size()));
    SuffixValidator validator;
    validator.ConexionString(ws.directory());
    {
        const ReadTransaction reads(validator.nomenclator());
        for (qsizetype i = 0; i < keys.size(); ++i) {
            verdicts[keys.at(i)] = validator.diagnose(keys.at(i).first, keys.at(i).second);
            progress.setProgressValue(int(i + 1));
        }
    }
    progress.setProgressVisible(false);
    progress.setMessage(QString());

    for (const CatalogEntry& entry : entries) {
        const SuffixVerdict& verdict = verdicts.value({entry.position, entry.suffixes});
        if (verdict.fault != SuffixFault::None)
            result.failures.append({entry, verdict});
    }
    return result;
}

ControlReport::Bands report(const CatalogCheckResult& result)
{
    // The failures, a blank band, the reasons' counts and the totals.
    QList<std::pair<QString, qsizetype>> summary = result.counts();
    summary.append({QStringLiteral("artículos verificados"), result.checked});
    summary.append({QStringLiteral("artículos con errores"), result.failures.size()});
    const QList<CatalogFailure> failures = result.failures;

    ControlReport::Bands bands;
    bands.rows = failures.size() + 1 + summary.size();
    bands.headerHeight = HeaderHeight;
    bands.detailHeight = DetailHeight;
    bands.header = [catalog = result.catalog](QPainter& painter) {
        ControlReport::draw(painter, Title, 0,
                            QStringLiteral("Verificación del catálogo ") + catalog);
        for (std::size_t c = 0; c < Columns.size(); ++c)
            ControlReport::caption(painter, Columns.at(c), QString::fromUtf8(Captions.at(c)));
    };
    bands.detail = [failures, summary](QPainter& painter, qsizetype row, int top) {
        if (row < failures.size()) {
            const CatalogFailure& f = failures.at(row);
            const std::array<QString, 4> texts = {f.entry.number, f.entry.position,
                                                  f.entry.suffixes, reason(f.verdict)};
            for (std::size_t c = 0; c < Columns.size(); ++c)
                ControlReport::draw(painter, inBand(Columns.at(c)), top, texts.at(c));
        } else if (row > failures.size()) {
            const auto& [name, count] = summary.at(row - failures.size() - 1);
            ControlReport::draw(painter, SummaryName, top, name);
            ControlReport::draw(painter, SummaryCount, top, QString::number(count));
        }
    };
    return bands;
}

} // namespace CatalogCheck
