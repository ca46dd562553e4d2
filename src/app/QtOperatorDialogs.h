#pragma once

#include "app/OperatorDialogs.h"

#include <functional>

class QWidget;
class Workspace;

/** The operator's dialogs as Qt message boxes, prompts and choosers. */
class QtOperatorDialogs : public OperatorDialogs {
public:
    void setParent(QWidget* parent) { m_parent = parent; }
    /** The origin relation entry window, once the workspace is open. */
    void setOriginEntry(std::function<std::optional<OriginRelation>(const QString&)> entry)
    {
        m_originEntry = std::move(entry);
    }

    void message(MessageIcon icon, const QString& text) override;
    bool question(const QString& text) override;
    std::optional<QString> textInput(const QString& prompt, const QString& title,
                                     const QString& defaultText) override;
    std::optional<QString> chooseOption(const QStringList& lines, int preselected) override;
    std::optional<OriginRelation> originRelation(const QString& countryText) override;
    std::optional<QString> chooseFile(const QString& title, const QString& filter) override;

private:
    QWidget* m_parent = nullptr;
    std::function<std::optional<OriginRelation>(const QString&)> m_originEntry;
};
