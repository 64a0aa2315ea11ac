#include "preferences.h"

#include <QSettings>

SettingsPreferences::SettingsPreferences()
    : settings_(std::make_unique<QSettings>())
{
}

SettingsPreferences::SettingsPreferences(std::unique_ptr<QSettings> settings)
    : settings_(std::move(settings))
{
}

SettingsPreferences::~SettingsPreferences() = default;

std::unique_ptr<SettingsPreferences> SettingsPreferences::inFile(const QString& path)
{
    return std::make_unique<SettingsPreferences>(std::make_unique<QSettings>(path, QSettings::IniFormat));
}

std::optional<QString> SettingsPreferences::stringForKey(const QString& key) const
{
    if (!settings_->contains(key))
        return std::nullopt;
    const QVariant value = settings_->value(key);
    if (value.metaType().id() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

void SettingsPreferences::setString(const QString& key, const QString& value)
{
    settings_->setValue(key, value);
}

bool SettingsPreferences::synchronize()
{
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}
