// SPDX-License-Identifier: Apache-2.0
#include "cli/Commands.h"

#include "config/CatalogCheck.h"
#include "data/HistoryStore.h"
#include "transfer/CatalogRevert.h"
#include "transfer/Transfer.h"

namespace Cli {

namespace {

/** The one argument of "catalog history" or "catalog revert"; `missing` tells its absence. */
const QString& subject(const Arguments& arguments, const QString& missing)
{
    const QStringList& positional = arguments.positional;
    if (positional.size() < 2 || positional.at(1).isEmpty())
        throw Usage{missing};
    if (positional.size() > 2)
        throw Usage{QStringLiteral("Argumento desconocido: ") + positional.at(2)};
    return positional.at(1);
}

/** catalog history ARTICLE: the catalog journal's entries of the article, settled first. */
int catalogHistory(Context& context, const Arguments& arguments)
{
    const QString& article = subject(arguments, QStringLiteral("Falta el número de artículo."));
    Session session(context);
    Workspace& ws = session.workspace();
    const QString id = arguments.has(QStringLiteral("--catalog"))
                           ? arguments.value(QStringLiteral("--catalog"))
                           : ws.settings().catalog();
    settleCatalogJournal(ws);
    return printHistory(
        context, CatalogJournal(ws.work()).entries(id, article),
        arguments.has(QStringLiteral("--json")),
        QStringLiteral("No hay historial del artículo %1 en el catálogo %2.").arg(article, id));
}

/**
 * catalog revert INTERNO: undoes the catalog changes of the interno's last transfer; the
 * command is the operator's answer to the question.
 */
int catalogRevert(Context& context, const Arguments& arguments)
{
    const QString interno =
        internoNumber(subject(arguments, QStringLiteral("Falta el número de interno.")));
    for (const char* option : {"--json", "--catalog"}) {
        if (arguments.has(QLatin1String(option)))
            throw Usage{QStringLiteral("Argumento desconocido: ") + QLatin1String(option)};
    }
    Session session(context);
    session.dialogs().setQuestionAnswer(true);
    return revertTransferCatalog(session.workspace(), interno) == RevertOutcome::Reverted ? Done
                                                                                          : Failed;
}

} // namespace

int catalog(Context& context)
{
    const Arguments arguments =
        splitArguments(context.args, {QStringLiteral("--json")}, {QStringLiteral("--catalog")});
    const QStringList& positional = arguments.positional;
    if (positional.isEmpty())
        throw Usage{QStringLiteral("Falta la orden: check, history o revert.")};
    if (positional.first() == QLatin1String("history"))
        return catalogHistory(context, arguments);
    if (positional.first() == QLatin1String("revert"))
        return catalogRevert(context, arguments);
    if (positional.first() != QLatin1String("check"))
        throw Usage{QStringLiteral("Orden desconocida: ") + positional.first()};
    if (positional.size() > 1)
        throw Usage{QStringLiteral("Argumento desconocido: ") + positional.at(1)};
    if (arguments.has(QStringLiteral("--json")))
        throw Usage{QStringLiteral("Argumento desconocido: --json")};

    CatalogCheckResult result;
    try {
        Session session(context);
        Workspace& ws = session.workspace();
        const QString id = arguments.has(QStringLiteral("--catalog"))
                               ? arguments.value(QStringLiteral("--catalog"))
                               : ws.settings().catalog();
        result = CatalogCheck::run(ws, id);
    } catch (const AppError& error) {
        // Exit 1 tells of failing articles: a check that could not run is told apart.
        context.err << error.description() << Qt::endl;
        return UsageError;
    }
    for (const CatalogFailure& f : std::as_const(result.failures))
        context.out << f.entry.number << '\t' << f.entry.position << '\t' << f.entry.suffixes
                    << '\t' << CatalogCheck::reason(f.verdict) << '\n';
    for (const auto& [name, count] : result.counts())
        context.out << name << ": " << count << '\n';
    context.out << "verificados: " << result.checked << '\n'
                << "con_errores: " << result.failures.size() << '\n';
    context.out.flush();
    return result.failures.isEmpty() ? Done : Failed;
}

} // namespace Cli
