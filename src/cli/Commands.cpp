#include "cli/Commands.h"

#include "data/DemoData.h"
#include "data/WorkDatabase.h"

namespace Cli {

Session::Session(Context& context)
    : m_dialogs(context.out, context.err)
    , m_workspace(context.home, m_dialogs, m_progress)
{
    m_workspace.open();
}

int init(Context& context)
{
    bool demo = false;
    for (const QString& arg : std::as_const(context.args)) {
        if (arg == QLatin1String("--demo"))
            demo = true;
        else
            throw Usage{QStringLiteral("Argumento desconocido: ") + arg};
    }
    if (!WorkDatabase::create(context.home))
        context.err << "La base de datos de trabajo ya existe: " << WorkDatabase::path(context.home)
                    << Qt::endl;
    if (demo)
        DemoData::write(context.home);
    return Done;
}

} // namespace Cli
