#include "settings_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace blok::qt {

QString DefaultSettingsPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Blokfall/Blokfall.conf");
}

Settings LoadSettings(const QString& path) {
    if (!QFileInfo(path).isFile()) return Settings{};
    const QSettings file(path, QSettings::IniFormat);
    if (file.status() != QSettings::NoError) return Settings{};
    SettingValues values;
    for (const QString& key : file.allKeys()) {
        values[key.toStdString()] = file.value(key).toString().toStdString();
    }
    return SettingsFromValues(values);
}

bool SaveSettings(const QString& path, const Settings& settings) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    {
        const QSettings existing(path, QSettings::IniFormat);
        if (existing.status() == QSettings::FormatError) {
            const QString aside = path + QStringLiteral(".damaged");
            QFile::remove(aside);
            QFile::rename(path, aside);
        }
    }
    QSettings file(path, QSettings::IniFormat);
    for (const auto& [key, value] : ValuesOfSettings(settings)) {
        file.setValue(QString::fromStdString(key), QString::fromStdString(value));
    }
    file.sync();
    return file.status() == QSettings::NoError;
}

}  // namespace blok::qt
