// SPDX-License-Identifier: Apache-2.0
#include "review/PositionSearch.h"

#include "data/Nomenclator.h"
#include "workspace/Workspace.h"

const QString PositionSearch::NotFound = QStringLiteral("Posición no encontrada.");

PositionSearch::PositionSearch(Workspace& ws)
    : m_ws(ws)
{}

QString PositionSearch::pattern(const QString& text)
{
    QString like;
    for (const QChar c : text) {
        if (c == u'.') {
            like += u'%';
            continue;
        }
        if (c == u'%' || c == u'_' || c == u'!')
            like += u'!';
        like += c;
    }
    return like + u'%';
}

QString PositionSearch::positionOf(const QString& line)
{
    return line.section(u' ', 0, 0);
}

QString PositionSearch::descriptionText(const PositionDetails& details)
{
    return details.description + QStringLiteral("\n\n") + details.secondDescription;
}

QString PositionSearch::suffixLine(const SuffixCode& suffix)
{
    return suffix.code.trimmed().leftJustified(5) + suffix.detail.trimmed();
}

QList<PositionLine> PositionSearch::run(const std::function<QList<PositionLine>()>& read)
{
    const BusyCursor busy(m_ws.progress());
    try {
        QList<PositionLine> lines = read();
        if (lines.isEmpty())
            m_ws.dialogs().message(MessageIcon::Exclamation, NotFound);
        return lines;
    } catch (const AppError& error) {
        // The description leads, as in every failure message; the number follows.
        m_ws.dialogs().message(MessageIcon::None, error.description() + QStringLiteral("\n\n") +
                                                      QString::number(error.number()) +
                                                      QStringLiteral(" - Sección []"));
        return {};
    }
}

QList<PositionLine> PositionSearch::search(const QString& text)
{
    if (text.trimmed().isEmpty())
        return {};
    return run([&] { return NomenclatorTables(m_ws.nomenclator()).positionsLike(pattern(text)); });
}

QList<PositionLine> PositionSearch::findWords(const QString& text)
{
    if (PositionWordIndex::words(text).isEmpty())
        return {};
    return run([&] { return m_ws.positionWords().find(text); });
}

PositionDetailsView PositionSearch::MostrarDatos(const QString& position)
{
    const BusyCursor busy(m_ws.progress());
    PositionDetailsView view;
    try {
        NomenclatorTables tables(m_ws.nomenclator());
        view.position = tables.details(Nomenclator::positionDigits(position),
                                       Nomenclator::statisticalOpening(position),
                                       Nomenclator::checkLetter(position));
        view.suffixes = tables.suffixes(Nomenclator::levelKeys(position));
    } catch (const AppError& error) {
        m_ws.dialogs().message(MessageIcon::None, error.description());
        view.failed = true;
    }
    return view;
}
