// SPDX-License-Identifier: Apache-2.0
#include "cli/Commands.h"

#include "process/Statistics.h"
#include "review/ControlReport.h"
#include "review/InvoiceArithmetic.h"
#include "review/ResultsExport.h"

namespace Cli {

namespace {

/** The single INTERNO of a command with options. */
QString internoOf(const Arguments& arguments)
{
    if (arguments.positional.size() > 1)
        throw Usage{QStringLiteral("Argumento desconocido: ") + arguments.positional.at(1)};
    if (arguments.positional.isEmpty() || arguments.positional.first().isEmpty())
        throw Usage{QStringLiteral("Falta el número de interno.")};
    return internoNumber(arguments.positional.first());
}

} // namespace

int exportRows(Context& context)
{
    const Arguments arguments =
        splitArguments(context.args, {}, {QStringLiteral("--order"), QStringLiteral("--out")});
    const QString interno = internoOf(arguments);
    const ExportOrder* order = exportOrder(arguments.required(QStringLiteral("--order")));
    if (!order)
        throw Usage{QStringLiteral("Orden desconocido (use ARTORD, ARTNRO o ARTDSC).")};
    const QString path = withXlsExtension(arguments.required(QStringLiteral("--out")));

    Session session(context);
    switch (GuardarEXCEL(session.workspace(), interno, *order, [&] { return path; })) {
    case ExportOutcome::Written:
        return Done;
    case ExportOutcome::Empty:
        context.err << "El interno no tiene artículos: no se escribió ningún archivo." << Qt::endl;
        break;
    case ExportOutcome::Cancelled:
    case ExportOutcome::Failed:
        break;
    }
    return Failed;
}

int report(Context& context)
{
    const Arguments arguments =
        splitArguments(context.args, {QStringLiteral("--errors"), QStringLiteral("--ok")},
                       {QStringLiteral("--pdf")});
    const QString interno = internoOf(arguments);
    const bool errors = arguments.has(QStringLiteral("--errors"));
    if (errors == arguments.has(QStringLiteral("--ok")))
        throw Usage{QStringLiteral("Indique --errors o --ok.")};
    const QString path = arguments.required(QStringLiteral("--pdf"));

    Session session(context);
    const ControlReport::Contents contents = ControlReport::read(
        session.workspace().work(), interno,
        errors ? ArticleTableModel::List::WithErrors : ArticleTableModel::List::Clean);
    if (contents.rows.isEmpty()) {
        context.err << ControlReport::nothingToShow() << Qt::endl;
        return Failed;
    }
    ControlReport::writePdf(ControlReport::bands(contents), path);
    return Done;
}

int check(Context& context)
{
    const QString interno = internoOf(splitArguments(context.args, {}));
    Session session(context);
    requireInterno(session.workspace(), interno);
    const InvoiceArithmetic::Review review =
        InvoiceArithmetic::review(session.workspace().work(), interno);
    const QLocale invoiceForm = QLocale::c();
    for (const InvoiceArithmetic::WrongLine& wrong : review.lines)
        context.out << QStringLiteral("Línea %1, artículo %2: esperado %3, encontrado %4\n")
                           .arg(formatCounter(wrong.line), wrong.article,
                                InvoiceArithmetic::amount(wrong.expected, invoiceForm),
                                InvoiceArithmetic::amount(wrong.found, invoiceForm));
    context.out << InvoiceArithmetic::statedComparison(review, invoiceForm) << '\n';
    return review.count() > 0 ? Failed : Done;
}

} // namespace Cli
