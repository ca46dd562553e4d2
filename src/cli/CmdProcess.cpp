// SPDX-License-Identifier: Apache-2.0
#include "cli/Commands.h"

#include "components/OperatorText.h"
#include "data/ArticleStore.h"
#include "data/OriginRelations.h"
#include "process/Process.h"
#include "process/Statistics.h"
#include "wizard/Internos.h"

#include <QHash>

namespace Cli {

namespace {

/** The single INTERNO argument of a command. */
QString internoArgument(const Context& context)
{
    const QStringList args = splitArguments(context.args, {}).positional;
    if (args.size() != 1)
        throw Usage{QStringLiteral("Indique el número de interno.")};
    return internoNumber(args.first());
}

void printCounters(Context& context, const ArticleCounters& counters)
{
    for (const auto& [name, count] : counters.named())
        context.out << name << ": " << count << '\n';
    context.out.flush();
}

} // namespace

int process(Context& context)
{
    const Arguments args =
        splitArguments(context.args, {QStringLiteral("--replace")}, {QStringLiteral("--origin")});
    QHash<QString, QString> origins;
    for (const QString& relation : args.values(QStringLiteral("--origin"))) {
        const qsizetype eq = relation.lastIndexOf(QLatin1Char('='));
        if (eq <= 0 || eq == relation.size() - 1)
            throw Usage{QStringLiteral("Relación de origen inválida (use TEXTO=CODIGO): ") +
                        relation};
        origins.insert(relation.left(eq), relation.mid(eq + 1));
    }
    const QStringList& positional = args.positional;
    if (positional.size() != 2)
        throw Usage{QStringLiteral("Indique el número de interno y el archivo de la factura.")};

    Session session(context);
    Workspace& ws = session.workspace();
    // A relation is kept for good: its code must be a country before anything is stored.
    for (auto it = origins.cbegin(); it != origins.cend(); ++it) {
        if (!OriginRelations::countryExists(ws.work(), it.value())) {
            const QString code = OperatorText::shown(it.value());
            context.err << "El código de país \"" << code << "\" de --origin \""
                        << OperatorText::shown(it.key()) << '=' << code
                        << "\" no existe en la tabla de países (PAIS)." << Qt::endl;
            return Failed;
        }
    }
    const QString interno = internoNumber(positional.at(0));
    if (!Internos::existe(ws, interno)) {
        QString descripcion;
        if (Internos::NuevoInterno(ws, interno, descripcion) != Internos::Alta::Creada)
            return Failed;
    }

    session.dialogs().setOriginEntry([&](const QString& text) -> std::optional<OriginRelation> {
        const auto it = origins.constFind(text);
        if (it == origins.constEnd()) {
            const QString shown = OperatorText::shown(text);
            context.err << "Origen sin relación: \"" << shown << "\" (indíquela con --origin \""
                        << shown << "=CODIGO\")." << Qt::endl;
            return std::nullopt;
        }
        OriginRelations::add(ws.work(), it.key(), it.value());
        return OriginRelation{it.key(), it.value()};
    });

    const bool replace = args.has(QStringLiteral("--replace"));
    session.dialogs().setQuestionAnswer(replace);
    if (!FRAM2_GuardarDatosToBase(ws, interno, positional.at(1))) {
        if (!replace && !session.dialogs().failed())
            context.err << "No se leyó la factura. Use --replace para reemplazar los registros "
                           "corregidos."
                        << Qt::endl;
        return Failed;
    }
    printCounters(context, FRAM3_CargarEstadisticas(ws, interno));
    return Done;
}

int stats(Context& context)
{
    const QString interno = internoArgument(context);
    Session session(context);
    printCounters(context, FRAM3_CargarEstadisticas(session.workspace(), interno));
    return Done;
}

int rows(Context& context)
{
    const QString interno = internoArgument(context);
    Session session(context);
    const QStringList& columns = ArticleStore::columns();
    const QList<Article> articles =
        ArticleStore(session.workspace().work()).rows(interno, ArticleStore::Selection::All);
    for (const Article& article : articles) {
        const QVariantList values = article.values();
        QString line = QStringLiteral("{");
        for (qsizetype i = 0; i < columns.size(); ++i) {
            if (i > 0)
                line += QLatin1Char(',');
            line += jsonValue(columns.at(i)) + QLatin1Char(':') + jsonValue(values.at(i));
        }
        context.out << line << "}\n";
    }
    context.out.flush();
    return Done;
}

} // namespace Cli
