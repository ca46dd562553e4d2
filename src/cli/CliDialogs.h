// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "workspace/OperatorDialogs.h"
#include "workspace/ProgressSink.h"

#include <QHash>
#include <QTextStream>

#include <functional>

/**
 * The operator's dialogs without interaction: information messages go to stdout, every other
 * message to stderr; a question or choice that has no preset answer is refused (the caller
 * then stops as if the operator declined).
 */
class CliDialogs : public OperatorDialogs {
public:
    CliDialogs(QTextStream& out, QTextStream& err)
        : m_out(out)
        , m_err(err)
    {}

    /** Answers to Yes/No questions, in turn; without one a question is answered No. */
    void setQuestionAnswer(bool answer) { m_questionAnswer = answer; }
    /** How an origin text is related to a country code (stores the relation). */
    void setOriginEntry(std::function<std::optional<OriginRelation>(const QString&)> entry)
    {
        m_originEntry = std::move(entry);
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

    /** True when a message with the critical or exclamation icon was shown. */
    bool failed() const { return m_failed; }

private:
    QTextStream& m_out;
    QTextStream& m_err;
    bool m_questionAnswer = false;
    bool m_failed = false;
    std::function<std::optional<OriginRelation>(const QString&)> m_originEntry;
};
