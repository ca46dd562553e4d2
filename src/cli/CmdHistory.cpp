// SPDX-License-Identifier: Apache-2.0
#include "cli/Commands.h"

#include "data/HistoryStore.h"
#include "transfer/Transfer.h"

namespace Cli {

namespace {

QVariant orNull(const QString& text)
{
    return text.isNull() ? QVariant() : QVariant(text);
}

/** An entry as one JSON object. */
QString jsonLine(const HistoryEntry& e)
{
    const std::pair<const char*, QVariant> keys[] = {
        {"time", e.time},
        {"user", e.user},
        {"host", e.host},
        {"frontend", e.frontEnd},
        {"interno", e.interno},
        {"line", e.line ? QVariant(*e.line) : QVariant()},
        {"action", e.action},
        {"field", orNull(e.field)},
        {"old", orNull(e.oldValue)},
        {"new", orNull(e.newValue)},
        {"detail", orNull(e.detail)},
    };
    QString line = QStringLiteral("{");
    for (const auto& [key, value] : keys)
        line += QLatin1Char('"') + QLatin1String(key) + QStringLiteral("\":") + jsonValue(value) +
                QLatin1Char(',');
    return line + QStringLiteral("\"deleted\":") +
           (e.deleted ? QStringLiteral("true}") : QStringLiteral("false}"));
}

/** A value as the text form shows it: NULL for none. */
QString shown(const QString& value)
{
    return value.isNull() ? QStringLiteral("NULL") : value;
}

/**
 * An entry as a text line: time, user@host, front end, action, interno, line (empty for a
 * run), then "FIELD: old -> new" or the run's summary; "(eliminado)" after an entry of a
 * deleted interno.
 */
QString textLine(const HistoryEntry& e)
{
    QStringList columns{e.time,     e.user + QLatin1Char('@') + e.host,
                        e.frontEnd, e.action,
                        e.interno,  e.line ? QString::number(*e.line) : QString()};
    columns << (e.field.isNull() ? e.detail
                                 : e.field + QStringLiteral(": ") + shown(e.oldValue) +
                                       QStringLiteral(" -> ") + shown(e.newValue));
    if (e.deleted)
        columns << QStringLiteral("(eliminado)");
    return columns.join(QLatin1Char('\t'));
}

} // namespace

int printHistory(Context& context, const QList<HistoryEntry>& entries, bool json,
                 const QString& none)
{
    if (entries.isEmpty()) {
        context.err << none << Qt::endl;
        return Failed;
    }
    for (const HistoryEntry& entry : entries)
        context.out << (json ? jsonLine(entry) : textLine(entry)) << '\n';
    context.out.flush();
    return Done;
}

int history(Context& context)
{
    const Arguments args = splitArguments(context.args, {QStringLiteral("--json")});
    if (args.positional.isEmpty() || args.positional.first().isEmpty())
        throw Usage{QStringLiteral("Falta el número de interno.")};
    const auto [interno, line] =
        args.positional.size() == 1
            ? std::pair<QString, std::optional<qint64>>{internoNumber(args.positional.first()),
                                                        std::nullopt}
            : internoLine(args.positional);
    Session session(context);
    Workspace& ws = session.workspace();
    // A transfer or revert stopped midway is first settled by the declaration database; when
    // that cannot be read, its run is shown pending.
    try {
        settleCatalogJournal(ws);
    } catch (const AppError&) {
        // Shown pending; settled when the declaration database can be read.
    }
    return printHistory(context, HistoryStore(ws.work(), ws.historyAuthor()).entries(interno, line),
                        args.has(QStringLiteral("--json")),
                        QStringLiteral("No hay historial del interno %1.").arg(interno));
}

} // namespace Cli
