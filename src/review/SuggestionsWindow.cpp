// SPDX-License-Identifier: Apache-2.0
#include "review/SuggestionsWindow.h"

#include "controls/WindowGeometry.h"
#include "workspace/Workspace.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QTreeWidget>

using WindowGeometry::place;
using WindowGeometry::twips;

SuggestionsWindow::SuggestionsWindow(Workspace& ws, const QString& number,
                                     const QString& description, QWidget* parent)
    : KeyPreviewDialog(parent)
{
    setObjectName(QStringLiteral("SuggestionsWindow"));
    setWindowTitle(QStringLiteral("Sugerencias"));
    WindowGeometry::makeFixedDialog(this, 10200, 3900);

    txtArticle = place(new QLineEdit(this), "txtArticle", twips(60, 60, 10080, 315));
    txtArticle->setReadOnly(true);
    txtArticle->setFocusPolicy(Qt::NoFocus);
    txtArticle->setText(number.trimmed() + QStringLiteral("  ") + description.trimmed());
    lstSuggestions = place(new QTreeWidget(this), "lstSuggestions", twips(60, 480, 10080, 3360));
    lstSuggestions->setRootIsDecorated(false);
    lstSuggestions->setHeaderLabels({QStringLiteral("Posición"), QStringLiteral("Descripción"),
                                     QStringLiteral("Puntaje"), QStringLiteral("Base")});

    try {
        const BusyCursor busy(ws.progress());
        m_suggestions = ArticleSuggestions(ws).suggest(number, description);
    } catch (const AppError& error) {
        ws.dialogs().message(MessageIcon::Critical, error.description());
    }
    for (const ArticleSuggestion& s : std::as_const(m_suggestions))
        lstSuggestions->addTopLevelItem(new QTreeWidgetItem(
            {s.position, s.positionDescription, QLocale().toString(s.score, 'f', 2), s.basis}));
    lstSuggestions->header()->resizeSections(QHeaderView::ResizeToContents);
    if (lstSuggestions->topLevelItemCount() > 0)
        lstSuggestions->setCurrentItem(lstSuggestions->topLevelItem(0));
    lstSuggestions->setFocus();
    enableKeyPreview();
}

std::optional<ArticleSuggestion> SuggestionsWindow::choose(Workspace& ws, const QString& number,
                                                           const QString& description,
                                                           QWidget* parent)
{
    SuggestionsWindow window(ws, number, description, parent);
    window.exec();
    return window.m_chosen;
}

bool SuggestionsWindow::previewKey(QObject* /*target*/, QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        reject();
        return true;
    }
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    const int row = lstSuggestions->indexOfTopLevelItem(lstSuggestions->currentItem());
    if (row >= 0) {
        m_chosen = m_suggestions.at(row);
        accept();
    }
    return true;
}
