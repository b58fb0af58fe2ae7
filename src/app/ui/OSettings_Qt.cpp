#include "app/ui/OSettings_Qt.h"

#include "platform/SettingsValue.h"

namespace {

QString Key(std::string_view section, std::string_view name) {
    return QString::fromUtf8(section.data(), static_cast<int>(section.size())) + "/" +
           QString::fromUtf8(name.data(), static_cast<int>(name.size()));
}

}  // namespace

OSettings_Qt::OSettings_Qt(QSettings::Scope scope, const QString& organisation,
                           const QString& application)
    : m_settings(
          std::make_unique<QSettings>(QSettings::IniFormat, scope, organisation, application)) {}

OSettings_Qt::OSettings_Qt(const QString& iniFile)
    : m_settings(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

int OSettings_Qt::iGetInt(std::string_view section, std::string_view name, int defaultValue) const {
    std::lock_guard lock(m_mutex);
    const QVariant v = m_settings->value(Key(section, name));
    if (!v.isValid()) return defaultValue;
    return ParseSettingsInt(v.toString().toStdString()).value_or(defaultValue);
}

std::string OSettings_Qt::GetText(std::string_view section, std::string_view name,
                                  std::string_view defaultValue) const {
    std::lock_guard lock(m_mutex);
    const QVariant v = m_settings->value(Key(section, name));
    return v.isValid() ? v.toString().toStdString() : std::string(defaultValue);
}

void OSettings_Qt::SetInt(std::string_view section, std::string_view name, int value) {
    std::lock_guard lock(m_mutex);
    m_settings->setValue(Key(section, name), QString::fromStdString(FormatSettingsInt(value)));
}

void OSettings_Qt::SetText(std::string_view section, std::string_view name,
                           std::string_view value) {
    std::lock_guard lock(m_mutex);
    m_settings->setValue(Key(section, name),
                         QString::fromUtf8(value.data(), static_cast<int>(value.size())));
}

bool OSettings_Qt::bHasValue(std::string_view section, std::string_view name) const {
    std::lock_guard lock(m_mutex);
    return m_settings->contains(Key(section, name));
}

void OSettings_Qt::RemoveValue(std::string_view section, std::string_view name) {
    std::lock_guard lock(m_mutex);
    m_settings->remove(Key(section, name));
}

bool OSettings_Qt::bFlush() {
    std::lock_guard lock(m_mutex);
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

QString OSettings_Qt::FileName() const {
    std::lock_guard lock(m_mutex);
    return m_settings->fileName();
}
