// SPDX-License-Identifier: Apache-2.0
#include "components/SharedLibrary.h"

#include "components/AppError.h"

SharedLibrary::SharedLibrary(const QString& name, int version, QString what)
    : m_library(name, version)
    , m_what(std::move(what))
{}

QFunctionPointer SharedLibrary::resolve(const char* symbol)
{
    const QFunctionPointer function = m_library.resolve(symbol);
    if (!function)
        throw AppError(2,
                       QStringLiteral("No se pudo usar la biblioteca %1 (%2): %3")
                           .arg(m_what, m_library.fileName(), m_library.errorString()),
                       QStringLiteral("Aduplan"));
    return function;
}
