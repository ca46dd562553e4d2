// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "cli/CliDialogs.h"
#include "workspace/Workspace.h"

#include <QStringList>
#include <QTextStream>

#include <algorithm>

struct HistoryEntry;

namespace Cli {

enum ExitCode { Done = 0, Failed = 1, UsageError = 2 };

/** A wrong use of the command line. */
struct Usage {
    QString text;
};

/** A command's arguments: its positional values and its options, in order. */
struct Arguments {
    QStringList positional;
    QList<std::pair<QString, QString>> options;

    bool has(const QString& flag) const;
    /** The values given to an option, in order. */
    QStringList values(const QString& option) const;
    /** The value given last to an option (null when it was not given). */
    QString value(const QString& option) const;
    /** The value given last to an option; a usage error when it has none. */
    QString required(const QString& option) const;
};

/**
 * Splits a command's arguments. `flags` take no value, `valued` options take the next
 * argument; any other argument that starts with "--" is a usage error, and "--" ends the
 * options: what follows it is positional, whatever it looks like.
 */
Arguments splitArguments(const QStringList& args, const QStringList& flags,
                         const QStringList& valued = {});

/** The interno of a command as it is stored (see Internos::textoGuardado). */
QString internoNumber(const QString& argument);
/** "No existe el interno X.", the interno shown as typed (control characters escaped). */
QString noSuchInterno(const QString& interno);
/** Refuses (raises noSuchInterno) an interno that the work database does not hold. */
void requireInterno(Workspace& ws, const QString& interno);

/** INTERNO ARTORD as the only positional arguments: the interno as stored and the line. */
std::pair<QString, qint64> internoLine(const QStringList& positional);

struct Context {
    QString home;
    QStringList args;
    QTextStream& out;
    QTextStream& err;
};

/** A workspace opened on the home, with the command line's dialogs. */
class Session {
public:
    explicit Session(Context& context);
    Workspace& workspace() { return m_workspace; }
    CliDialogs& dialogs() { return m_dialogs; }

private:
    CliDialogs m_dialogs;
    NoProgress m_progress;
    Workspace m_workspace;
};

/**
 * A field as a JSON value: NULL as null, numbers as numbers, anything else as text. Written
 * directly, as QJsonDocument writes a value.
 */
QString jsonValue(const QVariant& value);
/** Writes the characters of a literal at out, without its terminating zero; their end. */
template <std::size_t N> char* writeLiteral(char* out, const char (&literal)[N])
{
    return std::copy_n(literal, N - 1, out);
}
/** The most bytes writeJson writes for a text of that many UTF-16 units (six for a control). */
constexpr qsizetype jsonRoom(qsizetype units)
{
    return 6 * units + 2;
}
/** Writes a text as a JSON string in UTF-8 at out, escaped as QJsonDocument escapes it; its end. */
char* writeJson(char* out, QStringView text);
/** The most bytes writeJson writes for a number. */
constexpr qsizetype JsonNumberRoom = 32;
/**
 * Writes a number as QJsonDocument writes it at out: whole numbers up to 2^53 without exponent,
 * an infinite or undefined number as null; its end.
 */
char* writeJson(char* out, double number);

int init(Context& context);
/** interno add NUMBER [DESCRIPTION] | list | delete NUMBER */
int interno(Context& context);
int transfer(Context& context);
/** Prints the invoice line records of a document, one JSON object a line. */
int parse(Context& context);

/** process INTERNO FILE [--origin TEXT=CODE]...: the automatic process, then the counters. */
int process(Context& context);
/** stats INTERNO: the six counters of the interno. */
int stats(Context& context);
/** rows INTERNO: the interno's article rows as JSON, one a line, by ARTORD. */
int rows(Context& context);
/**
 * edit INTERNO ARTORD [--ncm P] [--suf S] [--dun U] [--eca Q] [--sca Q] [--esm C] [--ori ID]:
 * the record editor's load, position check (suffixes kept), verification and save.
 */
int edit(Context& context);
/** export INTERNO --order ARTORD|ARTNRO|ARTDSC --out FILE: the results export. */
int exportRows(Context& context);
/** report INTERNO --errors|--ok --pdf FILE: the control report as a PDF. */
int report(Context& context);
/**
 * check INTERNO: each line whose total is wrong, then the stated total against the lines' sum;
 * fails when any amount is to be reviewed.
 */
int check(Context& context);
/**
 * ncm search TEXT | find WORDS... | show POSITION: the position search by number and by
 * words, one position a line with its description; the details of a position.
 */
int ncm(Context& context);
/**
 * catalog history ARTICLE [--catalog ID] [--json]: what transfers wrote into the article's
 * catalog entry, oldest first, as history prints it.
 * catalog revert INTERNO: puts back the catalog values the interno's last transfer replaced
 * and removes the entries it inserted, or refuses with the conflicts (exit 1).
 * catalog check [--catalog ID]: the failing articles of the catalog (by default the one in
 * use) with their reasons, the count of each reason and the totals. Exit 1 when any fails,
 * 2 when the check cannot run.
 */
int catalog(Context& context);
/**
 * suggest INTERNO ARTORD | --article NUMBER --description TEXT | --evaluate [--catalog ID]:
 * classification suggestions for an article, one a line (position, suffixes, score, basis);
 * or the leave-one-out accuracy over a catalog (by default the one in use).
 */
int suggest(Context& context);
/** history INTERNO [ARTORD] [--json]: the row history, oldest first, one entry a line. */
int history(Context& context);
/**
 * Prints entries of the row history or the catalog journal, one a line: tab-separated, or with
 * `json` one JSON object. Without entries, tells `none` and fails.
 */
int printHistory(Context& context, const QList<HistoryEntry>& entries, bool json,
                 const QString& none);

} // namespace Cli
