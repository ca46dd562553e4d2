#include "workspace/Settings.h"

#include <QSettings>

namespace {
const QString Group = QStringLiteral("CONFIG");
const QString CatalogKey = QStringLiteral("INTCAT");
const QString GoodsConditionKey = QStringLiteral("PRCESM");
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

void Settings::saveCatalog(const QString& catalog)
{
    m_catalog = catalog;
    QSettings settings(m_path, QSettings::IniFormat);
    settings.beginGroup(Group);
    settings.setValue(CatalogKey, catalog);
    settings.sync();
}

QString Settings::storedCatalog() const
{
    return value(CatalogKey);
}
