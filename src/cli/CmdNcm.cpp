// SPDX-License-Identifier: Apache-2.0
#include "cli/Commands.h"

#include "components/OperatorText.h"
#include "data/PositionWordIndex.h"
#include "review/PositionSearch.h"

#include <QRegularExpression>

namespace Cli {

namespace {

/** One position a line: the position, a tab, its description. */
int print(Context& context, const QList<PositionLine>& lines)
{
    for (const PositionLine& line : lines)
        context.out << line.position << '\t' << line.description << '\n';
    context.out.flush();
    return lines.isEmpty() ? Failed : Done;
}

int show(Context& context, const QString& position)
{
    static const QRegularExpression positionText(
        QStringLiteral("^\\d{4}\\.\\d{2}\\.\\d{2}\\.\\d{3}\\p{L}$"));
    if (!positionText.match(position).hasMatch()) {
        context.err << "\"" << OperatorText::shown(position)
                    << "\" no es una posición: se escribe como 8252.00.00.000B." << Qt::endl;
        return Failed;
    }
    Session session(context);
    const PositionDetailsView view = PositionSearch(session.workspace()).MostrarDatos(position);
    if (view.failed)
        return Failed;
    if (!view.position) {
        context.err << PositionSearch::NotFound << Qt::endl;
        return Failed;
    }
    const PositionDetails& p = *view.position;
    context.out << "posición: " << position << '\n'
                << "descripción: " << p.description << '\n'
                << "descripción 2: " << p.secondDescription << '\n'
                << "unidad estadística: " << p.statisticalUnit << '\n'
                << "LAPI: " << (p.lapi.trimmed() == QLatin1String("*") ? "sí" : "no") << '\n'
                << "sufijos:" << (view.suffixes.isEmpty() ? " ninguno" : "") << '\n';
    for (const SuffixCode& suffix : view.suffixes)
        context.out << "  " << PositionSearch::suffixLine(suffix) << '\n';
    context.out.flush();
    return Done;
}

} // namespace

int ncm(Context& context)
{
    const Arguments arguments = splitArguments(context.args, {});
    const QStringList& positional = arguments.positional;
    if (positional.isEmpty())
        throw Usage{QStringLiteral("Falta la orden: search, find o show.")};
    const QString& command = positional.first();
    const QString text = positional.mid(1).join(u' ');
    if (text.trimmed().isEmpty())
        throw Usage{command == QLatin1String("show") ? QStringLiteral("Falta la posición.")
                                                     : QStringLiteral("Falta el texto a buscar.")};
    if (command == QLatin1String("search")) {
        if (text.size() > PositionSearch::NumberLength)
            throw Usage{QStringLiteral("El texto a buscar tiene más de 10 caracteres.")};
        Session session(context);
        return print(context, PositionSearch(session.workspace()).search(text));
    }
    if (command == QLatin1String("find")) {
        if (PositionWordIndex::words(text).isEmpty()) {
            context.err << "El texto a buscar \"" << OperatorText::shown(text)
                        << "\" no tiene ninguna palabra (letras o números)." << Qt::endl;
            return Failed;
        }
        Session session(context);
        return print(context, PositionSearch(session.workspace()).findWords(text));
    }
    if (command == QLatin1String("show")) {
        if (positional.size() > 2)
            throw Usage{QStringLiteral("Argumento desconocido: ") + positional.at(2)};
        return show(context, text.trimmed());
    }
    throw Usage{QStringLiteral("Orden desconocida: ") + command};
}

} // namespace Cli
