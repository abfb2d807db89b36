// An amount of money in exact cents, the one type every amount of the program has: the
// incomes, the planned amounts of the categories, the sheet's figures. Amounts.h reads them.
#pragma once

#include <cstdint>

#include <QString>

namespace quill::model {

// An amount of money in exact cents: from 0 to 999,999,999,999.99.
class Amount {
  public:
    static constexpr std::int64_t kMaxCents = 99'999'999'999'999;

    constexpr Amount() = default;
    // Throws std::out_of_range for cents outside 0 to kMaxCents.
    static Amount FromCents(std::int64_t cents);

    std::int64_t Cents() const { return cents_; }
    // The number a sheet cell holds: the double nearest to the amount (whole amounts and
    // every amount in cents below 2^53 / 100 map to the same double as their decimal text).
    double Number() const;
    // "$" and the amount in the plain form, with a point whatever the locale, and cents
    // only when there are any: "$3000", "$1234.56", "$0.50". It reads back as the same
    // amount under every locale.
    QString Text() const;
    // The same without the "$": "3000", "1234.56", "0.50". Files hold amounts so.
    QString Decimal() const;

    friend bool operator==(const Amount&, const Amount&) = default;

  private:
    explicit constexpr Amount(std::int64_t cents) : cents_(cents) {}
    std::int64_t cents_ = 0;
};

// Any non-negative number of cents written as Amount::Text() writes an amount; a sum of
// many amounts may pass the largest single one.
QString CentsText(std::int64_t cents);

}  // namespace quill::model
