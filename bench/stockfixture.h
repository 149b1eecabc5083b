#pragma once

// A realistic stock search result for benchmarks: the 34 columns of the stock
// list in their order, filled deterministically (the same seed always gives
// the same table, on every machine).

#include "dataset.h"

#include <cstdint>
#include <vector>

namespace qvbench {

std::vector<qv::FieldDef> stockListFields();

qv::TableData makeStockTable(std::size_t rows, std::uint64_t seed = 1);

} // namespace qvbench
