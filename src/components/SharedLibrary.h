// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QLibrary>
#include <QString>

/**
 * A C library opened at run time, the first time one of its functions is needed, rather than
 * linked: linked, it and what it needs would load into every run of the programs. A library
 * that cannot be opened, or lacks a function, raises an AppError that names it.
 */
class SharedLibrary {
public:
    /**
     * The library `name` (a bare name such as "pq" with its major `version`, or a path with
     * `version` -1); `what` says to the operator what it is for ("de PostgreSQL").
     */
    SharedLibrary(const QString& name, int version, QString what);

    /** Sets `function` to the library's function `symbol`, or raises. */
    template <typename Function> void take(Function& function, const char* symbol)
    {
        function = reinterpret_cast<Function>(resolve(symbol));
    }

private:
    QFunctionPointer resolve(const char* symbol);

    QLibrary m_library;
    QString m_what;
};
