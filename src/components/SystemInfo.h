// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QFileInfo>
#include <QString>

/** File system tests. */
class SystemInfo {
public:
    /** True when the path names an existing file. */
    bool ExisteArchivo(const QString& path) const
    {
        const QFileInfo info(path);
        return info.exists() && info.isFile();
    }
};
