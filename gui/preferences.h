#pragma once

#include <QString>

#include <memory>
#include <optional>

class QSettings;

// The user's preferences: string values under string keys.
class Preferences {
public:
    virtual ~Preferences() = default;
    // Nothing when the key is absent or holds no string.
    virtual std::optional<QString> stringForKey(const QString& key) const = 0;
    virtual void setString(const QString& key, const QString& value) = 0;
    // Writes the store to disk now; says whether that worked.
    virtual bool synchronize() = 0;
};

// Preferences kept by QSettings: by default the user's own file of the program,
// or any settings object a caller hands over.
class SettingsPreferences : public Preferences {
public:
    SettingsPreferences();
    explicit SettingsPreferences(std::unique_ptr<QSettings> settings);
    // Preferences kept in the INI file at `path` instead of the user's own.
    static std::unique_ptr<SettingsPreferences> inFile(const QString& path);
    ~SettingsPreferences() override;

    std::optional<QString> stringForKey(const QString& key) const override;
    void setString(const QString& key, const QString& value) override;
    bool synchronize() override;

private:
    std::unique_ptr<QSettings> settings_;
};
