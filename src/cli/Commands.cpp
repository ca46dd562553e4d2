#include "cli/Commands.h"

#include "data/DemoData.h"
#include "data/WorkDatabase.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace Cli {

/** A field as a JSON value: NULL as null, numbers as numbers, anything else as text. */
QString jsonValue(const QVariant& value)
{
    QJsonValue json;
    if (value.isNull())
        json = QJsonValue(QJsonValue::Null);
    else if (value.typeId() == QMetaType::Double)
        json = value.toDouble();
    else if (value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int)
        json = value.toLongLong();
    else
        json = value.toString();
    const QByteArray wrapped = QJsonDocument(QJsonArray{json}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(wrapped.mid(1, wrapped.size() - 2));
}

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
