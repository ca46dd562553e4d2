// SPDX-License-Identifier: Apache-2.0
#include "config/CatalogCheck.h"

#include "components/OperatorText.h"
#include "workspace/Workspace.h"

#include <QHash>
#include <QPainter>

#include <algorithm>
#include <array>

namespace {

/** The reasons' names in their order. */
constexpr std::array<const char*, 6> Reasons = {
    "posición inexistente",         "letra de control errónea", "falta un grupo de sufijos",
    "grupo de sufijos desconocido", "valor mal formado",        "sufijos no requeridos",
};

/** The place of a failure's reason in Reasons: a group given twice is a malformed value. */
std::size_t reasonOf(SuffixFault fault)
{
    switch (fault) {
    case SuffixFault::None:
    case SuffixFault::PositionMissing:
        return 0;
    case SuffixFault::CheckLetterWrong:
        return 1;
    case SuffixFault::GroupMissing:
        return 2;
    case SuffixFault::GroupUnknown:
        return 3;
    case SuffixFault::ValueMalformed:
    case SuffixFault::GroupRepeated:
        return 4;
    case SuffixFault::NotRequired:
        return 5;
    }
    return 0;
}

// The report's layout in twips (see ControlReport).
constexpr int TitleTop = 71;
constexpr int CaptionTop = 355;
constexpr int HeaderHeight = 640;
constexpr int DetailHeight = 240;
using Box = ControlReport::Box;
const std::array<Box, 4> Columns = {{
    {71, CaptionTop, 2200, Qt::AlignLeft},
    {2341, CaptionTop, 1300, Qt::AlignLeft},
    {3711, CaptionTop, 3330, Qt::AlignLeft},
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
    std::array<qsizetype, Reasons.size()> count{};
    for (const CatalogFailure& f : failures)
        ++count.at(reasonOf(f.verdict.fault));
    QList<std::pair<QString, qsizetype>> result;
    for (std::size_t r = 0; r < Reasons.size(); ++r)
        result.append({QString::fromUtf8(Reasons.at(r)), count.at(r)});
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
        throw AppError(
            -1, QStringLiteral("El catálogo \"%1\" no existe.").arg(OperatorText::shown(catalog)),
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
