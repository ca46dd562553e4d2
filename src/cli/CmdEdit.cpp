#include "cli/Commands.h"

#include "review/RecordEditor.h"
#include "wizard/Internos.h"

#include <QHash>

namespace Cli {

namespace {

/** The fields the command line sets, by option. */
const QStringList FieldOptions = {
    QStringLiteral("--ncm"), QStringLiteral("--suf"), QStringLiteral("--dun"),
    QStringLiteral("--eca"), QStringLiteral("--sca"), QStringLiteral("--esm"),
    QStringLiteral("--ori"),
};

/** Writes the options into the editor's fields; the refusal's text, or nothing. */
std::optional<QString> apply(RecordEditor& editor, const QHash<QString, QString>& options)
{
    EditorFields& f = editor.fields();
    const std::pair<const char*, QString*> texts[] = {{"--ncm", &f.position},
                                                      {"--suf", &f.suffixes},
                                                      {"--dun", &f.declaredUnit},
                                                      {"--eca", &f.statisticalQuantity},
                                                      {"--esm", &f.goodsCondition}};
    for (const auto& [option, field] : texts) {
        const auto given = options.constFind(QLatin1String(option));
        if (given != options.constEnd())
            *field = *given;
    }
    if (const auto sca = options.constFind(QStringLiteral("--sca")); sca != options.constEnd()) {
        if (!editor.hasSpecificDuty())
            return QStringLiteral("El registro no tiene derecho específico.");
        f.specificDutyQuantity = *sca;
    }
    if (const auto ori = options.constFind(QStringLiteral("--ori")); ori != options.constEnd()) {
        f.country = int(editor.countries().codes.indexOf(*ori));
        if (f.country < 0)
            return QStringLiteral("País de origen desconocido: ") + *ori;
    }
    return std::nullopt;
}

} // namespace

int edit(Context& context)
{
    QStringList positional;
    QHash<QString, QString> options;
    for (qsizetype i = 0; i < context.args.size(); ++i) {
        const QString& arg = context.args.at(i);
        if (!arg.startsWith(QLatin1String("--"))) {
            positional << arg;
            continue;
        }
        if (!FieldOptions.contains(arg))
            throw Usage{QStringLiteral("Argumento desconocido: ") + arg};
        if (++i == context.args.size())
            throw Usage{QStringLiteral("Falta el valor de ") + arg};
        options.insert(arg, context.args.at(i));
    }
    if (positional.isEmpty())
        throw Usage{QStringLiteral("Falta el número de interno.")};
    if (positional.size() < 2)
        throw Usage{QStringLiteral("Falta el número de línea (ARTORD).")};
    if (positional.size() > 2)
        throw Usage{QStringLiteral("Argumento desconocido: ") + positional.at(2)};
    bool ok = false;
    const qint64 line = positional.at(1).toLongLong(&ok);
    if (!ok)
        throw Usage{QStringLiteral("Número de línea inválido: ") + positional.at(1)};

    const QString interno = Internos::textoGuardado(positional.at(0));
    Session session(context);
    RecordEditor editor(session.workspace());
    if (!editor.CargarDatos(interno, line)) {
        if (!session.dialogs().failed())
            context.err << "El interno " << interno << " no tiene la línea " << line << '.'
                        << Qt::endl;
        return Failed;
    }
    if (const std::optional<QString> refusal = apply(editor, options)) {
        context.err << *refusal << Qt::endl;
        return Failed;
    }
    // The position is confirmed as Enter on it does, the suffixes kept as given.
    const QString position = editor.fields().position;
    if (!editor.ProcesarNCM(position, RecordEditor::SuffixEntry::Keep))
        return Failed;
    return editor.GrabarDatos() ? Done : Failed;
}

} // namespace Cli
