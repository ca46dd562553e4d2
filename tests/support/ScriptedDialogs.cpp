// SPDX-License-Identifier: Apache-2.0
#include "support/ScriptedDialogs.h"

#include <QTest>

#include <utility>

namespace {

template <typename T> T next(QQueue<T>& queue, const char* what, const QString& context)
{
    if (queue.isEmpty()) {
        QTest::qFail(
            qPrintable(
                QStringLiteral("no scripted answer for %1: %2").arg(QLatin1String(what), context)),
            __FILE__, __LINE__);
        return T{};
    }
    return queue.dequeue();
}

} // namespace

void ScriptedDialogs::message(MessageIcon icon, const QString& text)
{
    messages << Shown{icon, text};
    journal << QStringLiteral("message %1: ").arg(int(icon)) + text;
}

bool ScriptedDialogs::question(const QString& text, DefaultAnswer byDefault)
{
    questions << text;
    questionDefaults << byDefault;
    journal << (byDefault == DefaultAnswer::No ? QStringLiteral("question (default No): ")
                                               : QStringLiteral("question: ")) +
                   text;
    return next(questionAnswers, "question", text);
}

std::optional<QString> ScriptedDialogs::textInput(const QString& prompt, const QString& title,
                                                  const QString& defaultText)
{
    inputs << title + QLatin1Char('|') + prompt + QLatin1Char('|') + defaultText;
    journal << QStringLiteral("input: ") + inputs.last();
    return next(textAnswers, "text input", prompt);
}

std::optional<QString> ScriptedDialogs::chooseOption(const QStringList& lines, int preselected)
{
    QStringList shown = lines;
    if (preselected >= 0 && preselected < shown.size())
        shown[preselected].prepend(QLatin1Char('>'));
    choices << shown;
    journal << QStringLiteral("choose: ") + shown.join(QLatin1Char('|'));
    return next(optionAnswers, "option", lines.join(QLatin1Char('|')));
}

std::optional<OriginRelation> ScriptedDialogs::originRelation(const QString& countryText)
{
    originTexts << countryText;
    journal << QStringLiteral("origin: ") + countryText;
    return next(originAnswers, "origin relation", countryText);
}

std::optional<QString> ScriptedDialogs::chooseFile(const QString& title, const QString&,
                                                   const QString&)
{
    journal << QStringLiteral("file: ") + title;
    return next(fileAnswers, "file", title);
}

std::optional<QString> ScriptedDialogs::chooseSaveFile(const SaveChoice& choice)
{
    saves << choice.title + QLatin1Char('|') + choice.filters.join(QStringLiteral(";;")) +
                 QLatin1Char('|') + choice.proposed;
    return next(fileAnswers, "save file", choice.title);
}

QString ScriptedDialogs::takeJournal()
{
    QString lines;
    for (const QString& line : std::exchange(journal, {}))
        lines += line + QLatin1Char('\n');
    return lines;
}

QStringList ScriptedDialogs::messageTexts() const
{
    QStringList texts;
    for (const Shown& shown : messages)
        texts << shown.text;
    return texts;
}
