#include "automation/variant.h"

QString Variant::toString() const
{
    const auto* value = std::get_if<QString>(&m_value);
    return value ? *value : QString();
}

int32_t Variant::toInt() const
{
    const auto* value = std::get_if<int32_t>(&m_value);
    return value ? *value : 0;
}

bool Variant::toBool() const
{
    const auto* value = std::get_if<bool>(&m_value);
    return value && *value;
}

float Variant::toSingle() const
{
    const auto* value = std::get_if<float>(&m_value);
    return value ? *value : 0.0f;
}

QList<int32_t> Variant::toIntArray() const
{
    const auto* value = std::get_if<QList<int32_t>>(&m_value);
    return value ? *value : QList<int32_t>();
}

std::shared_ptr<Dispatch> Variant::toObject() const
{
    const auto* value = std::get_if<std::shared_ptr<Dispatch>>(&m_value);
    return value ? *value : nullptr;
}

QString Variant::describe() const
{
    switch (type()) {
    case Type::Empty:
        return QStringLiteral("empty");
    case Type::String:
        return QLatin1Char('"') + toString() + QLatin1Char('"');
    case Type::Int:
        return QString::number(toInt());
    case Type::Bool:
        return toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case Type::Single:
        return QString::number(double(toSingle()));
    case Type::IntArray: {
        QStringList items;
        for (int32_t item : toIntArray())
            items << QString::number(item);
        return QLatin1Char('[') + items.join(QLatin1Char(',')) + QLatin1Char(']');
    }
    case Type::Object:
        return toObject() ? QStringLiteral("object") : QStringLiteral("null object");
    }
    return {};
}
