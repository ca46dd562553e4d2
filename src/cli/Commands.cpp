#include "cli/Commands.h"

#include "data/DemoData.h"
#include "data/WorkDatabase.h"
#include "wizard/Internos.h"

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

bool Arguments::has(const QString& flag) const
{
    return std::any_of(options.cbegin(), options.cend(),
                       [&flag](const auto& option) { return option.first == flag; });
}

QStringList Arguments::values(const QString& option) const
{
    QStringList result;
    for (const auto& [name, value] : options) {
        if (name == option)
            result << value;
    }
    return result;
}

QString Arguments::required(const QString& option) const
{
    const QStringList given = values(option);
    if (given.isEmpty() || given.last().isEmpty())
        throw Usage{QStringLiteral("Falta ") + option + QLatin1Char('.')};
    return given.last();
}

Arguments splitArguments(const QStringList& args, const QStringList& flags,
                         const QStringList& valued)
{
    Arguments result;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (arg == QLatin1String("--")) {
            result.positional << args.mid(i + 1);
            break;
        }
        if (!arg.startsWith(QLatin1String("--"))) {
            result.positional << arg;
        } else if (flags.contains(arg)) {
            result.options.append({arg, QString()});
        } else if (valued.contains(arg)) {
            if (++i >= args.size())
                throw Usage{QStringLiteral("Falta el valor de ") + arg + QLatin1Char('.')};
            result.options.append({arg, args.at(i)});
        } else {
            throw Usage{QStringLiteral("Argumento desconocido: ") + arg};
        }
    }
    return result;
}

QString internoNumber(const QString& argument)
{
    return Internos::textoGuardado(argument);
}

Session::Session(Context& context)
    : m_dialogs(context.out, context.err)
    , m_workspace(context.home, m_dialogs, m_progress)
{
    m_workspace.open();
}

int init(Context& context)
{
    const Arguments args = splitArguments(context.args, {QStringLiteral("--demo")});
    if (!args.positional.isEmpty())
        throw Usage{QStringLiteral("Argumento desconocido: ") + args.positional.first()};
    const bool demo = args.has(QStringLiteral("--demo"));
    if (!WorkDatabase::create(context.home))
        context.err << "La base de datos de trabajo ya existe: " << WorkDatabase::path(context.home)
                    << Qt::endl;
    if (demo)
        DemoData::write(context.home);
    return Done;
}

} // namespace Cli
