#include "sheet/SheetStyle.h"

namespace quill::sheet {

std::string AmountFormatFor(const model::Currency& currency, const QLocale& locale) {
    if (currency.code == QLatin1String(model::kDefaultCurrencyCode))
        return std::string(AmountFormat);
    // A quote would end the literal early; no symbol has one.
    QString symbol = currency.Symbol(locale);
    symbol.remove(QLatin1Char('"'));
    const model::SymbolPlacement placement = model::PlacementOf(symbol, locale);
    QString number = QStringLiteral("#,##0");
    if (currency.digits > 0)
        number += QLatin1Char('.') + QString(currency.digits, QLatin1Char('0'));
    const QString literal = QLatin1Char('"') + symbol + QLatin1Char('"');
    const QString gap = placement.gap.isEmpty() ? QString() : QStringLiteral(" ");
    const QString shown = placement.before ? literal + gap + number : number + gap + literal;
    return (shown + QStringLiteral("_);[Red](") + shown + QLatin1Char(')')).toStdString();
}

SheetLook SheetLookFor(const model::Currency& currency, const QLocale& locale, Paper paper) {
    SheetLook look;
    look.amountFormat = AmountFormatFor(currency, locale);
    if (paper == Paper::Letter) look.paperSize = spreadsheet::xl::kPaperLetter;
    if (currency.code != QLatin1String(model::kDefaultCurrencyCode))
        look.unit = currency.code.toStdString();
    return look;
}

}  // namespace quill::sheet
