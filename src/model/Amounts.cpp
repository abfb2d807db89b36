#include "model/Amounts.h"

#include <algorithm>
#include <limits>

#include <QLocale>

namespace quill::Options {

std::int32_t DigitsValue(const QString& text) {
    constexpr std::int64_t kLargest = std::numeric_limits<std::int32_t>::max();
    std::int64_t value = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) continue;
        // Once past the largest amount the value stays there; it cannot overflow.
        value = std::min(kLargest, value * 10 + (c.unicode() - u'0'));
    }
    return static_cast<std::int32_t>(value);
}

std::int32_t IncomeAmount(const IncomeTexts& incomes, int index) {
    return DigitsValue(incomes.at(static_cast<std::size_t>(index)));
}

std::array<std::int32_t, 4> AllIncomeAmounts(const IncomeTexts& incomes) {
    std::array<std::int32_t, 4> amounts{};
    for (std::size_t i = 0; i < amounts.size(); ++i) amounts[i] = DigitsValue(incomes[i]);
    return amounts;
}

QString ValidatedIncomeText(const QString& text) {
    return QLatin1Char('$') + QString::number(DigitsValue(text));
}

QString DecimalSeparator() {
    const QString half = QLocale().toString(0.5).trimmed();
    return half.size() >= 2 ? half.mid(1, 1) : QLocale().decimalPoint();
}

QString LocalizeDecimalText(const QString& text) {
    const QString separator = DecimalSeparator();
    QString result = text;
    result.replace(QLatin1Char('.'), separator);
    result.replace(QLatin1Char(','), separator);
    return result;
}

}  // namespace quill::Options
