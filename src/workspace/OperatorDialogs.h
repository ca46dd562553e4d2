// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "components/AppError.h"
#include "data/OriginRelations.h"

#include <QString>
#include <QStringList>

#include <optional>

enum class MessageIcon { None, Critical, Exclamation, Information, Question };

/** What a save dialog offers. */
struct SaveChoice {
    QString title;
    /** The file types, as "Hojas de cálculo (*.xlsx)"; the first is chosen. */
    QStringList filters;
    /** The file proposed: its folder and name. */
    QString proposed;
    /** Whether replacing an existing file asks first. */
    bool confirmReplace = true;
};

/** The answer a question gives when the operator just presses Enter. */
enum class DefaultAnswer { Yes, No };

/**
 * Everything the rules ask or tell the operator goes through here: messages, questions,
 * input boxes and choosers. The desktop program shows Qt dialogs; tests answer from a script;
 * the command line answers from its options. Windows of their own are opened by the front
 * ends, never by the rules.
 */
class OperatorDialogs {
public:
    virtual ~OperatorDialogs() = default;

    virtual void message(MessageIcon icon, const QString& text) = 0;
    /**
     * A Yes/No question with the question icon; true for Yes. A question whose Yes throws work
     * away defaults to No, so that an Enter too many keeps the work.
     */
    virtual bool question(const QString& text, DefaultAnswer byDefault) = 0;
    /** A text prompt; nothing when the operator cancels. */
    virtual std::optional<QString> textInput(const QString& prompt, const QString& title,
                                             const QString& defaultText) = 0;
    /** A choice among lines; nothing when the operator leaves without choosing. */
    virtual std::optional<QString> chooseOption(const QStringList& lines, int preselected) = 0;
    /**
     * The origin relation entry for an invoice origin that has none: the operator picks the
     * country and saves (the relation is stored by then). Nothing when left without saving.
     */
    virtual std::optional<OriginRelation> originRelation(const QString& countryText) = 0;
    /** An existing file to open, starting in the folder; nothing when cancelled. */
    virtual std::optional<QString> chooseFile(const QString& title, const QString& filter,
                                              const QString& folder) = 0;
    /**
     * A file to save; a name typed without an extension takes the chosen type's. Nothing when
     * cancelled.
     */
    virtual std::optional<QString> chooseSaveFile(const SaveChoice& choice) = 0;
};

/**
 * The line a chooser starts on when it searches for a text: the first line that begins with
 * it, ignoring case; -1 when none does.
 */
inline int firstLineStartingWith(const QStringList& lines, const QString& text)
{
    for (int i = 0; i < lines.size(); ++i) {
        if (lines.at(i).startsWith(text, Qt::CaseInsensitive))
            return i;
    }
    return -1;
}

/**
 * The common error report: the description, two line breaks, the number and the section
 * label, as in "Campo requerido\n\n3265 - seccion [Aduplan.frmMain.FRAM1_CargarInternos]".
 */
inline QString errorText(const AppError& error, const QString& section)
{
    return error.description() + QStringLiteral("\n\n") + QString::number(error.number()) + section;
}
