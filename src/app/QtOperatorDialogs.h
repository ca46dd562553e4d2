// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "workspace/OperatorDialogs.h"

class QWidget;
class Workspace;

/**
 * The operator's dialogs as Qt message boxes, prompts and choosers, and the origin relation
 * entry window.
 */
class QtOperatorDialogs : public OperatorDialogs {
public:
    /**
     * The window that owns the dialogs when no window of the program is active, and the
     * workspace the origin relation entry uses.
     */
    void attach(QWidget& window, Workspace& ws)
    {
        m_parent = &window;
        m_ws = &ws;
    }

    void message(MessageIcon icon, const QString& text) override;
    bool question(const QString& text, DefaultAnswer byDefault) override;
    std::optional<QString> textInput(const QString& prompt, const QString& title,
                                     const QString& defaultText) override;
    std::optional<QString> chooseOption(const QStringList& lines, int preselected) override;
    std::optional<OriginRelation> originRelation(const QString& countryText) override;
    std::optional<QString> chooseFile(const QString& title, const QString& filter,
                                      const QString& folder) override;
    std::optional<QString> chooseSaveFile(const SaveChoice& choice) override;

private:
    /** The window a dialog opens over, centred on it: the one that is active. */
    QWidget* owner() const;

    QWidget* m_parent = nullptr;
    Workspace* m_ws = nullptr;
};
