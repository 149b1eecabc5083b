#pragma once

// What DevDatabase keeps behind its pointer; shared by its source files.

#include "database.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace qv {

struct DevDatabase::Impl
{
    std::uint64_t serial = 0;
    std::mutex mutex;
    std::vector<QString> names; // every connection made for this database

    // Generated stock pictures; few items of a catalogue are ever looked at.
    std::mutex pictureMutex;
    std::unordered_map<int, QByteArray> pictures;
};

} // namespace qv
