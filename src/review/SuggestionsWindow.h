// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "controls/KeyPreviewDialog.h"
#include "review/ArticleSuggestions.h"

#include <optional>

class QLineEdit;
class QTreeWidget;
class Workspace;

/**
 * The suggestions for the record editor's article ("Sugerencias"): the article, then one line
 * per suggestion, best first: the position, its description in the nomenclator, the score and
 * the basis. Enter hands the highlighted suggestion back; Escape and the close box hand back
 * nothing.
 */
class SuggestionsWindow : public KeyPreviewDialog {
    Q_OBJECT
public:
    SuggestionsWindow(Workspace& ws, const QString& number, const QString& description,
                      QWidget* parent = nullptr);

    /** Shows the suggestions modally; the one chosen, or nothing. */
    static std::optional<ArticleSuggestion> choose(Workspace& ws, const QString& number,
                                                   const QString& description, QWidget* parent);

protected:
    bool previewKey(QObject* target, QKeyEvent* event) override;

private:
    QList<ArticleSuggestion> m_suggestions;
    std::optional<ArticleSuggestion> m_chosen;

    QLineEdit* txtArticle = nullptr;
    QTreeWidget* lstSuggestions = nullptr;
};
