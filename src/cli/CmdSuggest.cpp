// SPDX-License-Identifier: Apache-2.0
#include "cli/Commands.h"

#include "data/ArticleStore.h"
#include "data/CatalogStore.h"
#include "review/ArticleSuggestions.h"

namespace Cli {

namespace {

QString percent(qint64 part, qint64 whole)
{
    return QString::number(whole == 0 ? 0.0 : 100.0 * double(part) / double(whole), 'f', 1) +
           QStringLiteral(" %");
}

int evaluate(Context& context, const Arguments& arguments)
{
    Session session(context);
    Workspace& ws = session.workspace();
    const QString catalog = arguments.has(QStringLiteral("--catalog"))
                                ? arguments.value(QStringLiteral("--catalog"))
                                : ws.settings().catalog();
    if (!CatalogStore::exists(ws.declaration(), catalog)) {
        context.err << "El catálogo \"" << catalog << "\" no existe." << Qt::endl;
        return Failed;
    }
    const SuggestionEvaluation e = ArticleSuggestions(ws).evaluate(catalog);
    context.out << "articulos: " << e.articles << '\n'
                << "fuera del nomenclador: " << e.outside << '\n'
                << "top1: " << percent(e.firstRight, e.articles) << '\n'
                << "top3: " << percent(e.topThreeRight, e.articles) << '\n'
                << "sufijos_validos: " << percent(e.suffixesValid, e.articles) << '\n';
    context.out.flush();
    return Done;
}

} // namespace

int suggest(Context& context)
{
    const QString article = QStringLiteral("--article");
    const QString description = QStringLiteral("--description");
    const QString evaluation = QStringLiteral("--evaluate");
    const Arguments arguments = splitArguments(context.args, {evaluation},
                                               {article, description, QStringLiteral("--catalog")});
    const bool byText = arguments.has(article) || arguments.has(description);
    if (arguments.has(evaluation)) {
        if (byText || !arguments.positional.isEmpty())
            throw Usage{QStringLiteral("--evaluate no lleva artículo.")};
        return evaluate(context, arguments);
    }
    if (arguments.has(QStringLiteral("--catalog")))
        throw Usage{QStringLiteral("--catalog va con --evaluate.")};

    QString number;
    QString text;
    std::optional<Session> session;
    if (byText) {
        if (!arguments.positional.isEmpty())
            throw Usage{QStringLiteral("Argumento desconocido: ") + arguments.positional.first()};
        number = arguments.value(article);
        text = arguments.value(description);
        if (number.trimmed().isEmpty() && text.trimmed().isEmpty())
            throw Usage{QStringLiteral("Falta el artículo o su descripción.")};
        session.emplace(context);
    } else {
        const auto [interno, line] = internoLine(arguments.positional);
        session.emplace(context);
        const std::optional<Article> row =
            ArticleStore(session->workspace().work()).row(interno, line);
        if (!row) {
            context.err << "El interno " << interno << " no tiene la línea " << line << '.'
                        << Qt::endl;
            return Failed;
        }
        number = row->number;
        text = row->description;
    }
    const QList<ArticleSuggestion> found =
        ArticleSuggestions(session->workspace()).suggest(number, text);
    for (const ArticleSuggestion& s : found)
        context.out << s.position << '\t' << s.suffixes << '\t' << QString::number(s.score, 'f', 2)
                    << '\t' << s.basis << '\n';
    context.out.flush();
    return found.isEmpty() ? Failed : Done;
}

} // namespace Cli
