#include "marshal.h"

#include "errors.h"
#include "wirejson.h"

#include <simdjson.h>

#include <limits>
#include <map>
#include <mutex>

namespace qv::wire {

Record::~Record() = default;
RecordListBase::~RecordListBase() = default;

void RecordListBase::appendRecord(std::unique_ptr<Record> r)
{
    if (&r->recordClass() != &elementClass())
        throw Error("Internal: Type " + r->recordClass().qualifiedName()
                    + " cannot be an element of an array of " + elementClass().qualifiedName());
    m_items.push_back(std::move(r));
}

namespace {

struct Registry
{
    std::mutex mutex;
    std::map<std::string, const RecordClass *, std::less<>> classes;
};

Registry &registry()
{
    static Registry r;
    return r;
}

void writeRecord(const Record &record, std::string &out, int &nextId)
{
    Record &r = const_cast<Record &>(record); // field addresses are only read here
    const RecordClass &cls = record.recordClass();
    out += "{\"type\":";
    appendJsonString(out, cls.qualifiedName());
    out += ",\"id\":";
    appendJsonInt(out, nextId++);
    out += ",\"fields\":{";
    bool first = true;
    for (const FieldInfo &f : cls.fields()) {
        if (!first)
            out.push_back(',');
        first = false;
        appendJsonString(out, f.name);
        out.push_back(':');
        void *p = f.ref(r);
        switch (f.kind) {
        case FieldKind::String:
            appendJsonString(out, *static_cast<QString *>(p));
            break;
        case FieldKind::Integer:
            appendJsonInt(out, *static_cast<std::int32_t *>(p));
            break;
        case FieldKind::Double:
            appendJsonDouble(out, *static_cast<double *>(p));
            break;
        case FieldKind::Boolean:
            out += *static_cast<bool *>(p) ? "true" : "false";
            break;
        case FieldKind::RecordArray: {
            const auto &list = *static_cast<RecordListBase *>(p);
            out.push_back('[');
            for (std::size_t i = 0; i < list.size(); ++i) {
                if (i)
                    out.push_back(',');
                writeRecord(list.recordAt(i), out, nextId);
            }
            out.push_back(']');
            break;
        }
        }
    }
    out += "}}";
}

[[noreturn]] void fieldTypeError(const FieldInfo &f,
                                 const RecordClass &cls,
                                 const char *expected,
                                 simdjson::dom::element got)
{
    throw Error("Internal: Field " + f.name + " of type " + cls.qualifiedName() + " expects "
                + expected + ", got " + jsonTypeName(got));
}

std::unique_ptr<Record> readRecord(simdjson::dom::element e)
{
    if (e.is_null())
        return nullptr;
    if (!e.is_object())
        throw Error(std::string("Internal: A record must be a JSON object or null, got ")
                    + jsonTypeName(e));
    std::string_view typeName;
    if (e["type"].get_string().get(typeName))
        throw Error("Internal: A record object has no \"type\" string");
    const RecordClass *cls = RecordClass::find(typeName);
    if (!cls)
        throw Error("Internal: Cannot instantiate type " + std::string(typeName));
    simdjson::dom::object fields;
    if (e["fields"].get_object().get(fields))
        throw Error("Internal: The object of type " + cls->qualifiedName()
                    + " has no \"fields\" object");

    std::unique_ptr<Record> record = cls->create();
    for (auto [key, value] : fields) {
        const FieldInfo *f = cls->findField(key);
        if (!f)
            throw Error("Internal: Field " + std::string(key) + " cannot be found in type "
                        + cls->qualifiedName());
        void *p = f->ref(*record);
        switch (f->kind) {
        case FieldKind::String: {
            std::string_view s;
            if (value.get_string().get(s))
                fieldTypeError(*f, *cls, "a string", value);
            *static_cast<QString *>(p) = QString::fromUtf8(s.data(), qsizetype(s.size()));
            break;
        }
        case FieldKind::Integer: {
            std::int64_t v = 0;
            if (value.get_int64().get(v))
                fieldTypeError(*f, *cls, "an integer", value);
            if (v < std::numeric_limits<std::int32_t>::min()
                || v > std::numeric_limits<std::int32_t>::max())
                throw Error("Internal: Field " + f->name + " of type " + cls->qualifiedName()
                            + " is out of the 32-bit range: " + std::to_string(v));
            *static_cast<std::int32_t *>(p) = std::int32_t(v);
            break;
        }
        case FieldKind::Double: {
            if (!value.is_number())
                fieldTypeError(*f, *cls, "a number", value);
            *static_cast<double *>(p) = value.get_double().value_unsafe();
            break;
        }
        case FieldKind::Boolean: {
            bool b = false;
            if (value.get_bool().get(b))
                fieldTypeError(*f, *cls, "true or false", value);
            *static_cast<bool *>(p) = b;
            break;
        }
        case FieldKind::RecordArray: {
            simdjson::dom::array items;
            if (value.get_array().get(items))
                fieldTypeError(*f, *cls, "an array of records", value);
            auto &list = *static_cast<RecordListBase *>(p);
            list.clear();
            for (simdjson::dom::element item : items) {
                auto element = readRecord(item);
                if (!element)
                    throw Error("Internal: Field " + f->name + " of type " + cls->qualifiedName()
                                + " holds a null record");
                list.appendRecord(std::move(element));
            }
            break;
        }
        }
    }
    return record;
}

} // namespace

RecordClass::RecordClass(std::string unit,
                         std::string name,
                         std::function<std::unique_ptr<Record>()> create,
                         std::vector<FieldInfo> fields)
    : m_qualified(std::move(unit) + "." + std::move(name))
    , m_create(std::move(create))
    , m_fields(std::move(fields))
{
    Registry &reg = registry();
    std::lock_guard lock(reg.mutex);
    reg.classes[m_qualified] = this;
}

const FieldInfo *RecordClass::findField(std::string_view name) const
{
    for (const FieldInfo &f : m_fields)
        if (f.name == name)
            return &f;
    return nullptr;
}

const RecordClass *RecordClass::find(std::string_view qualifiedName)
{
    Registry &reg = registry();
    std::lock_guard lock(reg.mutex);
    auto it = reg.classes.find(qualifiedName);
    return it == reg.classes.end() ? nullptr : it->second;
}

void marshal(const Record *record, std::string &out)
{
    if (!record) {
        out += "null";
        return;
    }
    int nextId = 1;
    writeRecord(*record, out, nextId);
}

std::string marshal(const Record *record)
{
    std::string out;
    marshal(record, out);
    return out;
}

std::unique_ptr<Record> unmarshal(std::string_view json)
{
    simdjson::dom::parser parser;
    simdjson::dom::element doc;
    if (auto err = parser.parse(json.data(), json.size(), true).get(doc))
        throw Error(std::string("Internal: The object is not valid JSON: ")
                    + simdjson::error_message(err));
    return readRecord(doc);
}

void throwWrongRecordType(const Record &got, const RecordClass &expected)
{
    throw Error("Internal: Type " + got.recordClass().qualifiedName() + " is not of type "
                + expected.qualifiedName());
}

} // namespace qv::wire
