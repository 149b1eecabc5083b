#include "wirevalue.h"

namespace qv::wire {

const char *wireTypeName(WireType t)
{
    switch (t) {
    case WireType::None:
        return "none";
    case WireType::Integer:
        return "Integer";
    case WireType::Int64:
        return "Int64";
    case WireType::Double:
        return "Double";
    case WireType::Boolean:
        return "Boolean";
    case WireType::String:
        return "string";
    case WireType::Object:
        return "object";
    case WireType::DataPacket:
        return "data packet";
    case WireType::Reader:
        return "reader";
    case WireType::Stream:
        return "stream";
    }
    return "unknown";
}

} // namespace qv::wire
