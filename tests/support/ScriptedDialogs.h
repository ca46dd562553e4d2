// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "workspace/OperatorDialogs.h"
#include "workspace/ProgressSink.h"

#include <QQueue>
#include <QStringList>

/**
 * Answers the operator's dialogs from a script, in turn, and records every text shown.
 * A dialog without a scripted answer fails the test.
 */
class ScriptedDialogs : public OperatorDialogs {
public:
    struct Shown {
        MessageIcon icon;
        QString text;
    };

    QQueue<bool> questionAnswers;
    QQueue<std::optional<QString>> textAnswers;
    QQueue<std::optional<QString>> optionAnswers;
    QQueue<std::optional<OriginRelation>> originAnswers;
    /** Answers to the open and the save dialogs, in turn. */
    QQueue<std::optional<QString>> fileAnswers;

    QList<Shown> messages;
    /**
     * Every dialog in the order shown: "message N: text" (N the icon's number), "question: text",
     * "input: title|prompt|default", "choose: lines", "origin: text", "file: title".
     */
    QStringList journal;
    QStringList questions;
    /** The answer each question gave to a plain Enter. */
    QList<DefaultAnswer> questionDefaults;
    QStringList originTexts;
    /** Each text input as "title|prompt|default". */
    QStringList inputs;
    /** Each chooser's lines, the preselected one marked with a leading ">". */
    QList<QStringList> choices;
    /** Each save dialog as "title|filters joined by ;;|proposed file". */
    QStringList saves;

    void message(MessageIcon icon, const QString& text) override;
    bool question(const QString& text, DefaultAnswer byDefault) override;
    std::optional<QString> textInput(const QString& prompt, const QString& title,
                                     const QString& defaultText) override;
    std::optional<QString> chooseOption(const QStringList& lines, int preselected) override;
    std::optional<OriginRelation> originRelation(const QString& countryText) override;
    std::optional<QString> chooseFile(const QString& title, const QString& filter,
                                      const QString& folder) override;
    std::optional<QString> chooseSaveFile(const SaveChoice& choice) override;

    QStringList messageTexts() const;
    /** The journal's lines, each ended by a line feed, and the journal emptied. */
    QString takeJournal();
};

/** Records what a long operation showed. */
class RecordingProgress : public ProgressSink {
public:
    QStringList messages;
    bool visible = false;
    int maximum = 0;
    int value = 0;
    int busyDepth = 0;

    void setMessage(const QString& text) override { messages << text; }
    void setProgressVisible(bool v) override { visible = v; }
    void setProgressMaximum(int m) override { maximum = m; }
    void setProgressValue(int v) override { value = v; }
    void setBusy(bool busy) override { busyDepth += busy ? 1 : -1; }
};
