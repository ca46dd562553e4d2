// SPDX-License-Identifier: Apache-2.0
#include "cli/Commands.h"

#include "components/OperatorText.h"
#include "review/RecordEditor.h"

namespace Cli {

namespace {

/** The fields the command line sets, by option. */
const QStringList FieldOptions = {
    QStringLiteral("--ncm"), QStringLiteral("--suf"), QStringLiteral("--dun"),
    QStringLiteral("--eca"), QStringLiteral("--sca"), QStringLiteral("--esm"),
    QStringLiteral("--ori"),
};

/** Writes the options into the editor's fields; the refusal's text, or nothing. */
std::optional<QString> apply(RecordEditor& editor, const Arguments& options)
{
    EditorFields& f = editor.fields();
    const std::pair<const char*, QString*> texts[] = {{"--ncm", &f.position},
                                                      {"--suf", &f.suffixes},
                                                      {"--dun", &f.declaredUnit},
                                                      {"--eca", &f.statisticalQuantity},
                                                      {"--esm", &f.goodsCondition}};
    for (const auto& [option, field] : texts) {
        if (options.has(QLatin1String(option)))
            *field = options.value(QLatin1String(option));
    }
    if (options.has(QStringLiteral("--sca"))) {
        if (!editor.hasSpecificDuty())
            return QStringLiteral("El registro no tiene derecho específico.");
        f.specificDutyQuantity = options.value(QStringLiteral("--sca"));
    }
    if (options.has(QStringLiteral("--ori"))) {
        const QString ori = options.value(QStringLiteral("--ori"));
        f.country = int(editor.countries().codes.indexOf(ori));
        if (f.country < 0)
            return QStringLiteral("País de origen desconocido: ") + OperatorText::shown(ori);
    }
    return std::nullopt;
}

} // namespace

int edit(Context& context)
{
    const Arguments options = splitArguments(context.args, {}, FieldOptions);
    const auto [interno, line] = internoLine(options.positional);
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
