// SPDX-License-Identifier: Apache-2.0
#include "workspace/Settings.h"

#include <QSettings>

namespace {
const QString Group = QStringLiteral("CONFIG");
const QString CatalogKey = QStringLiteral("INTCAT");
const QString GoodsConditionKey = QStringLiteral("PRCESM");
const QString DocumentFolderKey = QStringLiteral("DocumentFolder");
const QString SaveFolderKey = QStringLiteral("SaveFolder");
const QString WindowsGroup = QStringLiteral("Windows");
} // namespace

Settings::Settings(QString path)
    : m_path(std::move(path))
{}

QString Settings::value(const QString& key) const
{
    QSettings settings(m_path, QSettings::IniFormat);
    settings.beginGroup(Group);
    const QString text = settings.value(key).toString();
    // The empty text, never a null one: the settings are bound as values.
    return text.isNull() ? QStringLiteral("") : text;
}

void Settings::load()
{
    m_catalog = value(CatalogKey);
    m_goodsCondition = value(GoodsConditionKey);
}

void Settings::setValue(const QString& key, const QString& value)
{
    QSettings settings(m_path, QSettings::IniFormat);
    settings.beginGroup(Group);
    settings.setValue(key, value);
    settings.sync();
}

void Settings::saveCatalog(const QString& catalog)
{
    m_catalog = catalog;
    setValue(CatalogKey, catalog);
}

QString Settings::documentFolder() const
{
    return value(DocumentFolderKey);
}

void Settings::saveDocumentFolder(const QString& folder)
{
    setValue(DocumentFolderKey, folder);
}

QString Settings::saveFolder() const
{
    return value(SaveFolderKey);
}

void Settings::rememberSaveFolder(const QString& folder)
{
    setValue(SaveFolderKey, folder);
}

QByteArray Settings::windowGeometry(const QString& window) const
{
    QSettings settings(m_path, QSettings::IniFormat);
    settings.beginGroup(WindowsGroup);
    return settings.value(window).toByteArray();
}

void Settings::saveWindowGeometry(const QString& window, const QByteArray& geometry)
{
    QSettings settings(m_path, QSettings::IniFormat);
    settings.beginGroup(WindowsGroup);
    settings.setValue(window, geometry);
    settings.sync();
}

QString Settings::storedCatalog() const
{
    return value(CatalogKey);
}
