#pragma once

// A store of named property values that a host keeps for a control (header
// only, Qt Core only, so that a host can use it without linking the control).

#include <QList>
#include <QMetaType>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <utility>

namespace notiko {

class PropertyBag
{
public:
    PropertyBag() = default;
    PropertyBag(const PropertyBag&) = delete;
    PropertyBag& operator=(const PropertyBag&) = delete;
    virtual ~PropertyBag() = default;

    virtual QStringList keys() const = 0;
    virtual QVariant value(const QString& key) const = 0;
    virtual void setValue(const QString& key, const QVariant& value) = 0;
    virtual void remove(const QString& key) = 0;

    // The stored key that matches name without regard to case, or an empty string.
    QString findKey(const QString& name) const
    {
        const QStringList all = keys();
        for (const QString& key : all) {
            if (key.compare(name, Qt::CaseInsensitive) == 0)
                return key;
        }
        return {};
    }

    // The value stored under name (any case), or defaultValue when there is none.
    QVariant readProperty(const QString& name, const QVariant& defaultValue) const
    {
        const QString key = findKey(name);
        return key.isEmpty() ? defaultValue : value(key);
    }

    // Stores value under name, keeping the case of a key already there. A value
    // equal to its default is not stored, and an older value under that name is
    // dropped so that reading gives the default again.
    void writeProperty(const QString& name, const QVariant& value, const QVariant& defaultValue)
    {
        const QString key = findKey(name);
        if (value == defaultValue) {
            if (!key.isEmpty())
                remove(key);
            return;
        }
        setValue(key.isEmpty() ? name : key, value);
    }
};

// Keeps the values in memory, in the order they were first stored.
class MemoryPropertyBag final : public PropertyBag
{
public:
    QStringList keys() const override
    {
        QStringList result;
        for (const auto& entry : m_entries)
            result.append(entry.first);
        return result;
    }
    QVariant value(const QString& key) const override
    {
        for (const auto& entry : m_entries) {
            if (entry.first == key)
                return entry.second;
        }
        return {};
    }
    void setValue(const QString& key, const QVariant& value) override
    {
        for (auto& entry : m_entries) {
            if (entry.first == key) {
                entry.second = value;
                return;
            }
        }
        m_entries.append({key, value});
    }
    void remove(const QString& key) override
    {
        m_entries.removeIf([&key](const auto& entry) { return entry.first == key; });
    }

private:
    QList<std::pair<QString, QVariant>> m_entries;
};

// Keeps the values in one group of a QSettings store.
class SettingsPropertyBag final : public PropertyBag
{
public:
    SettingsPropertyBag(QSettings& settings, QString group)
        : m_settings(settings), m_group(std::move(group))
    {}

    QStringList keys() const override
    {
        m_settings.beginGroup(m_group);
        const QStringList result = m_settings.childKeys();
        m_settings.endGroup();
        return result;
    }
    QVariant value(const QString& key) const override { return m_settings.value(path(key)); }
    void setValue(const QString& key, const QVariant& value) override
    {
        m_settings.setValue(path(key), value);
    }
    void remove(const QString& key) override { m_settings.remove(path(key)); }

private:
    QString path(const QString& key) const { return m_group + QLatin1Char('/') + key; }

    QSettings& m_settings;
    QString m_group;
};

} // namespace notiko

Q_DECLARE_METATYPE(notiko::PropertyBag*)
