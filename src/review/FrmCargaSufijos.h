// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "controls/KeyPreviewDialog.h"

#include <QStringList>

#include <optional>

class QGroupBox;
class QListWidget;

/**
 * The option chooser of the suffix verification ("Carga de Sufijos"): Enter or a double click
 * on a line chooses it and closes; the close box and Escape leave without a choice.
 */
class FrmCargaSufijos : public KeyPreviewDialog {
    Q_OBJECT
public:
    /** The lines to choose from; `preselected` is the line to start on, -1 for none. */
    FrmCargaSufijos(const QStringList& lines, int preselected, QWidget* parent = nullptr);

    /** Shows the chooser modally; the chosen line, or nothing. */
    static std::optional<QString> choose(const QStringList& lines, int preselected,
                                         QWidget* parent);

    const std::optional<QString>& chosen() const { return m_chosen; }

protected:
    bool previewKey(QObject* target, QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void chooseCurrent();

    std::optional<QString> m_chosen;
    QGroupBox* FrmList = nullptr;
    QListWidget* LstOpcion = nullptr;
};
