// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

#include <exception>

/**
 * The one failure type of the program: a number, a description and the source that raised
 * it. Procedures with an error trap catch it at their boundary and show it to the operator.
 */
class AppError : public std::exception {
public:
    AppError(long number, QString description, QString source = {})
        : m_number(number)
        , m_description(std::move(description))
        , m_source(std::move(source))
        , m_what(m_description.toUtf8())
    {}

    long number() const { return m_number; }
    const QString& description() const { return m_description; }
    const QString& source() const { return m_source; }
    const char* what() const noexcept override { return m_what.constData(); }

private:
    long m_number;
    QString m_description;
    QString m_source;
    QByteArray m_what;
};
