#include "cli/Commands.h"

#include "review/ControlReport.h"
#include "review/ResultsExport.h"
#include "wizard/Internos.h"

#include <QHash>

namespace Cli {

namespace {

/** The INTERNO argument and the options of a command: those in `valued` take a value. */
struct Arguments {
    QString interno;
    QHash<QString, QString> options;

    Arguments(const Context& context, const QStringList& valued, const QStringList& flags)
    {
        for (qsizetype i = 0; i < context.args.size(); ++i) {
            const QString& arg = context.args.at(i);
            if (valued.contains(arg)) {
                if (++i >= context.args.size())
                    throw Usage{QStringLiteral("Falta el valor de ") + arg};
                options.insert(arg, context.args.at(i));
            } else if (flags.contains(arg)) {
                options.insert(arg, {});
            } else if (arg.startsWith(QLatin1String("--")) || !interno.isNull()) {
                throw Usage{QStringLiteral("Argumento desconocido: ") + arg};
            } else {
                interno = Internos::textoGuardado(arg);
            }
        }
        if (interno.isEmpty())
            throw Usage{QStringLiteral("Falta el número de interno.")};
    }

    QString required(const QString& option) const
    {
        const QString value = options.value(option);
        if (value.isEmpty())
            throw Usage{QStringLiteral("Falta ") + option};
        return value;
    }
};

} // namespace

int exportRows(Context& context)
{
    const Arguments arguments(context, {QStringLiteral("--order"), QStringLiteral("--out")}, {});
    const ExportOrder* order = exportOrder(arguments.required(QStringLiteral("--order")));
    if (!order)
        throw Usage{QStringLiteral("Orden desconocido (use ARTORD, ARTNRO o ARTDSC).")};
    const QString path = withXlsExtension(arguments.required(QStringLiteral("--out")));

    Session session(context);
    switch (GuardarEXCEL(session.workspace(), arguments.interno, *order, [&] { return path; })) {
    case ExportOutcome::Written:
        return Done;
    case ExportOutcome::Empty:
        context.err << "El interno no tiene articulos: no se escribio ningun archivo." << Qt::endl;
        break;
    case ExportOutcome::Cancelled:
    case ExportOutcome::Failed:
        break;
    }
    return Failed;
}

int report(Context& context)
{
    const Arguments arguments(context, {QStringLiteral("--pdf")},
                              {QStringLiteral("--errors"), QStringLiteral("--ok")});
    const bool errors = arguments.options.contains(QStringLiteral("--errors"));
    if (errors == arguments.options.contains(QStringLiteral("--ok")))
        throw Usage{QStringLiteral("Indique --errors o --ok.")};
    const QString path = arguments.required(QStringLiteral("--pdf"));

    Session session(context);
    ArticleStore store(session.workspace().work());
    const QList<Article> rows = ControlReport::rows(store, arguments.interno,
                                                    errors ? ArticleTableModel::List::WithErrors
                                                           : ArticleTableModel::List::Clean);
    if (rows.isEmpty()) {
        context.err << ControlReport::nothingToShow() << Qt::endl;
        return Failed;
    }
    ControlReport::writePdf(rows, path);
    return Done;
}

} // namespace Cli
