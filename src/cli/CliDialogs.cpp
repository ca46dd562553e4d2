// SPDX-License-Identifier: Apache-2.0
#include "cli/CliDialogs.h"

void CliDialogs::message(MessageIcon icon, const QString& text)
{
    if (icon == MessageIcon::Critical || icon == MessageIcon::Exclamation)
        m_failed = true;
    (icon == MessageIcon::Information ? m_out : m_err) << text << Qt::endl;
}

bool CliDialogs::question(const QString& text, DefaultAnswer)
{
    if (!m_questionAnswer)
        m_err << text << Qt::endl;
    return m_questionAnswer;
}

std::optional<QString> CliDialogs::textInput(const QString& prompt, const QString&, const QString&)
{
    m_err << prompt << Qt::endl;
    return std::nullopt;
}

std::optional<QString> CliDialogs::chooseOption(const QStringList&, int)
{
    return std::nullopt;
}

std::optional<OriginRelation> CliDialogs::originRelation(const QString& countryText)
{
    if (!m_originEntry)
        return std::nullopt;
    return m_originEntry(countryText);
}

std::optional<QString> CliDialogs::chooseFile(const QString&, const QString&, const QString&)
{
    return std::nullopt;
}

std::optional<QString> CliDialogs::chooseSaveFile(const SaveChoice&)
{
    return std::nullopt;
}
