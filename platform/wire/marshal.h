#pragma once

// Records that travel as JSON objects:
//   {"type":"<unit>.<Class>","id":N,"fields":{"FName":value,...}}
// with the fields in declaration order. The outermost object has id 1 and
// nested objects (elements of array-of-records fields) are numbered on in the
// order they are written. An absent record is null.
//
// Each record class describes its storage fields once, in declaration order,
// in a RecordClass; marshalling and unmarshalling work from that list alone,
// so a new record is its fields plus one describing table.
//
// Reading: "type" selects the class from the registry, the record is created
// with its defaults and every member of "fields" is assigned by name. Members
// missing from "fields" are tolerated and keep their defaults (an older or
// newer server may send fewer fields); unknown members, unknown types and
// values of the wrong JSON type fail with qv::Error.

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qv::wire {

class RecordClass;

// Root of all transfer records.
class Record
{
public:
    virtual ~Record();
    virtual const RecordClass &recordClass() const = 0;

protected:
    Record() = default;
    Record(const Record &) = default;
    Record &operator=(const Record &) = default;
};

enum class FieldKind : std::uint8_t { String, Integer, Double, Boolean, RecordArray };

// Storage of an array-of-records field; elements are owned.
class RecordListBase
{
public:
    virtual ~RecordListBase();
    virtual const RecordClass &elementClass() const = 0;

    std::size_t size() const { return m_items.size(); }
    bool empty() const { return m_items.empty(); }
    void clear() { m_items.clear(); }
    Record &recordAt(std::size_t i) const { return *m_items.at(i); }
    // Throws qv::Error when r is not of the element class.
    void appendRecord(std::unique_ptr<Record> r);

protected:
    std::vector<std::unique_ptr<Record>> m_items;
};

template<class T>
class RecordList final : public RecordListBase
{
public:
    const RecordClass &elementClass() const override { return T::staticClass(); }
    T &operator[](std::size_t i) const { return static_cast<T &>(*m_items.at(i)); }
    T &append()
    {
        m_items.push_back(std::make_unique<T>());
        return static_cast<T &>(*m_items.back());
    }
    void append(std::unique_ptr<T> r) { m_items.push_back(std::move(r)); }
};

struct FieldInfo
{
    std::string name; // the storage field's name, F included
    FieldKind kind;
    // Address of the field inside a record of the class: QString*,
    // std::int32_t*, double*, bool* or RecordListBase*, by kind.
    std::function<void *(Record &)> ref;
};

template<class C>
FieldInfo field(std::string name, QString C::*m)
{
    return {std::move(name), FieldKind::String, [m](Record &r) -> void * {
                return &(static_cast<C &>(r).*m);
            }};
}
template<class C>
FieldInfo field(std::string name, std::int32_t C::*m)
{
    return {std::move(name), FieldKind::Integer, [m](Record &r) -> void * {
                return &(static_cast<C &>(r).*m);
            }};
}
template<class C>
FieldInfo field(std::string name, double C::*m)
{
    return {std::move(name), FieldKind::Double, [m](Record &r) -> void * {
                return &(static_cast<C &>(r).*m);
            }};
}
template<class C>
FieldInfo field(std::string name, bool C::*m)
{
    return {std::move(name), FieldKind::Boolean, [m](Record &r) -> void * {
                return &(static_cast<C &>(r).*m);
            }};
}
template<class C, class E>
FieldInfo field(std::string name, RecordList<E> C::*m)
{
    return {std::move(name), FieldKind::RecordArray, [m](Record &r) -> void * {
                return static_cast<RecordListBase *>(&(static_cast<C &>(r).*m));
            }};
}

// The description of one record class; registers itself by qualified name
// on construction (keep it in a function-local static of the class).
class RecordClass
{
public:
    RecordClass(std::string unit,
                std::string name,
                std::function<std::unique_ptr<Record>()> create,
                std::vector<FieldInfo> fields);
    RecordClass(const RecordClass &) = delete;
    RecordClass &operator=(const RecordClass &) = delete;

    const std::string &qualifiedName() const { return m_qualified; } // "baglantiu.TSonucBilgisi"
    const std::vector<FieldInfo> &fields() const { return m_fields; }
    const FieldInfo *findField(std::string_view name) const;
    std::unique_ptr<Record> create() const { return m_create(); }

    // nullptr when no class of that name was registered.
    static const RecordClass *find(std::string_view qualifiedName);

private:
    std::string m_qualified;
    std::function<std::unique_ptr<Record>()> m_create;
    std::vector<FieldInfo> m_fields;
};

// The JSON object form of r; "null" for nullptr.
std::string marshal(const Record *record);
void marshal(const Record *record, std::string &out);

// nullptr for JSON null. Throws qv::Error ("Internal: Cannot instantiate type
// %s", "Internal: Field %s cannot be found in type %s", ...).
std::unique_ptr<Record> unmarshal(std::string_view json);

[[noreturn]] void throwWrongRecordType(const Record &got, const RecordClass &expected);

// As unmarshal, and the record must be a T.
template<class T>
std::unique_ptr<T> unmarshalAs(std::string_view json)
{
    T::staticClass(); // registered even if nothing else touched the class yet
    std::unique_ptr<Record> r = unmarshal(json);
    if (!r)
        return nullptr;
    if (auto *t = dynamic_cast<T *>(r.get())) {
        r.release();
        return std::unique_ptr<T>(t);
    }
    throwWrongRecordType(*r, T::staticClass());
}

} // namespace qv::wire
