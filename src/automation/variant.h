#pragma once

#include <QList>
#include <QString>
#include <cstdint>
#include <memory>
#include <variant>

class Dispatch;

// One value of an automation call: empty, a string, a 32-bit integer, a boolean, a
// single-precision number, an array of 32-bit integers or an object.
class Variant final {
public:
    enum class Type { Empty, String, Int, Bool, Single, IntArray, Object };

    Variant() = default;
    Variant(const QString& value) : m_value(value) {}
    Variant(const char* value) : m_value(QString::fromUtf8(value)) {}
    Variant(int32_t value) : m_value(value) {}
    Variant(bool value) : m_value(value) {}
    Variant(float value) : m_value(value) {}
    Variant(const QList<int32_t>& value) : m_value(value) {}
    Variant(std::shared_ptr<Dispatch> value) : m_value(std::move(value)) {}

    Type type() const { return Type(m_value.index()); }
    bool isEmpty() const { return type() == Type::Empty; }

    // The value read as the given kind; a value of another kind reads as empty, 0 or false:
    // no conversions, the engine and the client send the types the contract names.
    QString toString() const;
    int32_t toInt() const;
    bool toBool() const;
    float toSingle() const;
    QList<int32_t> toIntArray() const;
    std::shared_ptr<Dispatch> toObject() const;

    bool operator==(const Variant& other) const = default;

    // A short readable form for logs and test records, such as 42, "text", true, [1,2].
    QString describe() const;

private:
    std::variant<std::monostate, QString, int32_t, bool, float, QList<int32_t>,
                 std::shared_ptr<Dispatch>>
        m_value;
};
