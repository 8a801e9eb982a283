#include "settings_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QUtf8StringView>

namespace blok::qt {

QString DefaultSettingsPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Blokfall/Blokfall.conf");
}

namespace {

// A settings file is short UTF-8 text; anything else was not written by us or got broken.
constexpr qint64 kMaxSettingsBytes = 1 << 20;

bool IsSettingsText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxSettingsBytes) return false;
    const QByteArray text = file.readAll();
    return !text.contains('\0') && QUtf8StringView(text).isValidUtf8();
}

}  // namespace

Settings LoadSettings(const QString& path, bool* damaged) {
    if (damaged) *damaged = false;
    if (!QFileInfo(path).isFile()) return Settings{};
    if (!QFileInfo(path).isReadable()) return Settings{};
    const QSettings file(path, QSettings::IniFormat);
    if (file.status() != QSettings::NoError || !IsSettingsText(path)) {
        if (damaged) *damaged = true;
        return Settings{};
    }
    SettingValues values;
    for (const QString& key : file.allKeys()) {
        values[key.toStdString()] = file.value(key).toString().toStdString();
    }
    return SettingsFromValues(values);
}

bool SaveSettings(const QString& path, const Settings& settings, bool setDamagedAside) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (setDamagedAside) {
        const QString aside = path + QStringLiteral(".damaged");
        QFile::remove(aside);
        QFile::rename(path, aside);
    }
    QSettings file(path, QSettings::IniFormat);
    for (const auto& [key, value] : ValuesOfSettings(settings)) {
        file.setValue(QString::fromStdString(key), QString::fromStdString(value));
    }
    file.sync();
    return file.status() == QSettings::NoError;
}

}  // namespace blok::qt
