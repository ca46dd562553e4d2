// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "controls/KeyPreviewDialog.h"
#include "review/PositionSearch.h"

#include <optional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class Workspace;

/**
 * The position search ("Buscar Posición"): Enter in the number field lists the positions that
 * begin so (each "." any run of characters), Enter in the words field those whose descriptions
 * hold every word; the arrow keys in the list show the highlighted position's descriptions and
 * suffixes; Enter in the list hands its position back and closes. Escape, Ctrl+C and the close
 * box leave without handing anything back.
 */
class FrmPosicion : public KeyPreviewDialog {
    Q_OBJECT
public:
    FrmPosicion(Workspace& ws, const QString& searchText, QWidget* parent = nullptr);

    /**
     * Shows the search modally with its number field preset to the text; the position chosen
     * (the empty text when Enter was pressed on an empty list), or nothing.
     */
    static std::optional<QString> choose(Workspace& ws, const QString& searchText, QWidget* parent);

    const std::optional<QString>& chosen() const { return m_chosen; }

protected:
    bool previewKey(QObject* target, QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    /** The width the list needs to show the lines whole. */
    int listWidth(const QStringList& lines) const;
    /**
     * Lists the lines found, the window widened for the longest; the first is selected and
     * the list has the focus.
     */
    void list(const QList<PositionLine>& lines, bool withDescriptions);
    /** Empties the descriptions and the suffixes: a new search starts. */
    void clearDetails();
    /** The descriptions and suffixes of the highlighted line. */
    void MostrarDatos();

    PositionSearch m_search;
    std::optional<QString> m_chosen;

    QLineEdit* TxtNCMF = nullptr;
    QListWidget* LstNCM = nullptr;
    QListWidget* LstSufijos = nullptr;
    QPlainTextEdit* LbDescripcion = nullptr;
    QLabel* lbWords = nullptr;
    QLineEdit* txtWords = nullptr;
};
