// SPDX-License-Identifier: Apache-2.0
#include "cli/Commands.h"
#include "wizard/Internos.h"

namespace Cli {

namespace {

int add(Context& context, const QStringList& args)
{
    if (args.isEmpty() || args.size() > 2)
        throw Usage{QStringLiteral("interno add requiere NUMERO y, opcionalmente, DESCRIPCION.")};
    Session session(context);
    QString descripcion = args.value(1);
    const Internos::Alta alta =
        Internos::NuevoInterno(session.workspace(), args.at(0), descripcion);
    return alta == Internos::Alta::Creada ? Done : Failed;
}

int list(Context& context, const QStringList& args)
{
    if (!args.isEmpty())
        throw Usage{QStringLiteral("interno list no lleva argumentos.")};
    Session session(context);
    const QList<InternoRow> internos = Internos::FRAM1_CargarInternos(session.workspace());
    if (session.dialogs().failed())
        return Failed;
    for (const InternoRow& row : internos)
        context.out << row.numero << '\t' << row.descripcion << '\n';
    context.out.flush();
    return Done;
}

int remove(Context& context, const QStringList& args)
{
    if (args.size() != 1)
        throw Usage{QStringLiteral("interno delete requiere NUMERO.")};
    const QString interno = internoNumber(args.at(0));
    Session session(context);
    session.dialogs().setQuestionAnswer(true);
    if (Internos::FRAM1_EliminarInterno(session.workspace(), interno))
        return Done;
    if (!session.dialogs().failed())
        context.err << noSuchInterno(interno) << Qt::endl;
    return Failed;
}

} // namespace

int interno(Context& context)
{
    const QString action = context.args.value(0);
    const QStringList args = splitArguments(context.args.mid(1), {}).positional;
    if (action == QLatin1String("add"))
        return add(context, args);
    if (action == QLatin1String("list"))
        return list(context, args);
    if (action == QLatin1String("delete"))
        return remove(context, args);
    throw Usage{QStringLiteral("interno requiere add, list o delete.")};
}

} // namespace Cli
