#include "support/ScriptedDialogs.h"

#include <QTest>

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
}

bool ScriptedDialogs::question(const QString& text, DefaultAnswer byDefault)
{
    questions << text;
    questionDefaults << byDefault;
    return next(questionAnswers, "question", text);
}

std::optional<QString> ScriptedDialogs::textInput(const QString& prompt, const QString& title,
                                                  const QString& defaultText)
{
    inputs << title + QLatin1Char('|') + prompt + QLatin1Char('|') + defaultText;
    return next(textAnswers, "text input", prompt);
}

std::optional<QString> ScriptedDialogs::chooseOption(const QStringList& lines, int preselected)
{
    QStringList shown = lines;
    if (preselected >= 0 && preselected < shown.size())
        shown[preselected].prepend(QLatin1Char('>'));
    choices << shown;
    return next(optionAnswers, "option", lines.join(QLatin1Char('|')));
}

std::optional<OriginRelation> ScriptedDialogs::originRelation(const QString& countryText)
{
    originTexts << countryText;
    return next(originAnswers, "origin relation", countryText);
}

std::optional<QString> ScriptedDialogs::chooseFile(const QString& title, const QString&,
                                                   const QString&)
{
    return next(fileAnswers, "file", title);
}

QStringList ScriptedDialogs::messageTexts() const
{
    QStringList texts;
    for (const Shown& shown : messages)
        texts << shown.text;
    return texts;
}
