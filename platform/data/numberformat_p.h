#pragma once

#include <string>

namespace qv {

// |value| rounded half away from zero at a number of decimals, as decimal
// digits: value = 0.digits × 10^intDigits. No digits means zero.
struct RoundedDecimal
{
    std::string digits;
    int intDigits = 0;
    bool negative = false;

    bool isZero() const { return digits.empty(); }
    std::string integerDigits() const;           // without leading zeros; empty for 0
    std::string fractionDigits(int count) const; // exactly count digits
};

RoundedDecimal roundDecimal(double value, int decimals);

} // namespace qv
