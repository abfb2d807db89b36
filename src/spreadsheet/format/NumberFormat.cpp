#include "spreadsheet/format/NumberFormat.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <system_error>
#include <utility>

#include "spreadsheet/core/Ascii.h"

namespace quill::spreadsheet::format {

namespace {

// ---- Decimal digits ---------------------------------------------------------------------

// A non-negative number as decimal digits: value = 0.d1 d2 d3 ... × 10^exponent. Holds at
// most 15 significant digits, the precision the engine displays, so that binary noise
// (0.1 + 0.2) never shows and ties round in decimal as the user expects (2.5 -> 3).
struct Digits {
    std::string digits;  // no leading or trailing zeros; empty for zero
    int exponent = 0;
};

Digits ToDigits(double a) {
    Digits d;
    if (a == 0.0) return d;
    // "d.dddddddddddddde+XX": 15 significant digits, correctly rounded.
    std::array<char, 64> buf{};
    const auto [end, ec] =
        std::to_chars(buf.data(), buf.data() + buf.size(), a, std::chars_format::scientific, 14);
    if (ec != std::errc{}) return d;
    const std::string_view s(buf.data(), static_cast<std::size_t>(end - buf.data()));
    const std::size_t e = s.find('e');
    for (std::size_t i = 0; i < e; ++i)
        if (s[i] != '.') d.digits += s[i];
    std::size_t expStart = e + 1;
    if (expStart < s.size() && s[expStart] == '+') ++expStart;
    int exp10 = 0;
    std::from_chars(s.data() + expStart, s.data() + s.size(), exp10);
    d.exponent = exp10 + 1;
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    return d;
}

// A number split at the decimal point: integer digits without leading zeros (empty for a
// zero integer part) and exactly the requested number of fraction digits.
struct Fixed {
    std::string integer;
    std::string fraction;
};

// Rounds half away from zero at `decimals` places.
Fixed ToFixed(const Digits& d, int decimals) {
    std::string all = d.digits;
    int point = d.exponent;  // digits before the decimal point
    if (point < 0) {
        all.insert(0, static_cast<std::size_t>(-point), '0');
        point = 0;
    }
    const auto ipoint = static_cast<std::size_t>(point);
    if (all.size() < ipoint) all.append(ipoint - all.size(), '0');
    const std::size_t keep = ipoint + static_cast<std::size_t>(std::max(decimals, 0));
    const bool roundUp = all.size() > keep && all[keep] >= '5';
    all.resize(keep, '0');
    std::size_t intLength = ipoint;
    if (roundUp) {
        std::size_t i = keep;
        while (i > 0 && all[i - 1] == '9') all[--i] = '0';
        if (i == 0) {
            all.insert(all.begin(), '1');
            ++intLength;
        } else {
            ++all[i - 1];
        }
    }
    Fixed f{all.substr(0, intLength), all.substr(intLength)};
    const std::size_t firstNonZero = f.integer.find_first_not_of('0');
    f.integer.erase(0, firstNonZero == std::string::npos ? f.integer.size() : firstNonZero);
    return f;
}

// "E+11", "E-05": the exponent with at least `minDigits` digits.
std::string ExponentText(int exponent, bool alwaysSign, int minDigits, char letter) {
    std::string digits = std::to_string(exponent < 0 ? -exponent : exponent);
    if (static_cast<int>(digits.size()) < minDigits)
        digits.insert(0, static_cast<std::size_t>(minDigits) - digits.size(), '0');
    std::string text(1, letter);
    if (exponent < 0)
        text += '-';
    else if (alwaysSign)
        text += '+';
    return text + digits;
}

// Six significant digits in scientific notation, trailing zeros dropped: "1.23457E+11".
std::string GeneralScientific(const Digits& d) {
    int exponent = d.exponent - 1;
    Fixed f = ToFixed({d.digits, 1}, 5);
    if (f.integer.size() > 1) {  // 9.999996 rounded up to 10.00000: shift to 1.00000
        ++exponent;
        f.integer.resize(1);
    }
    while (!f.fraction.empty() && f.fraction.back() == '0') f.fraction.pop_back();
    std::string text = f.integer.empty() ? "0" : f.integer;
    if (!f.fraction.empty()) text += "." + f.fraction;
    return text + ExponentText(exponent, true, 2, 'E');
}

std::size_t SignificantDigits(const Fixed& f) {
    const std::string all = f.integer + f.fraction;
    const std::size_t first = all.find_first_not_of('0');
    const std::size_t last = all.find_last_not_of('0');
    return first == std::string::npos ? 0 : last - first + 1;
}

// ---- Code parsing -----------------------------------------------------------------------

constexpr std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return r + 256 * g + 65536 * b;
}

// Length of the UTF-8 character that starts at s[i] (1 for a stray continuation byte),
// never reaching past the end.
std::size_t CharLength(std::string_view s, std::size_t i) {
    if (i >= s.size()) return 0;
    const auto lead = static_cast<unsigned char>(s[i]);
    const std::size_t n = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return std::min(n, s.size() - i);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return AsciiLower(x) == AsciiLower(y);
           });
}

bool IsDateOrTimeCode(char c) {
    return std::string_view("yYmMdDhHsS").find(c) != std::string_view::npos;
}

std::vector<std::string_view> SplitSections(std::string_view code) {
    std::vector<std::string_view> sections;
    std::size_t start = 0;
    for (std::size_t i = 0; i < code.size(); ++i) {
        switch (code[i]) {
            case '"': {  // a quoted text may hold ';'
                const std::size_t close = code.find('"', i + 1);
                i = close == std::string_view::npos ? code.size() : close;
                break;
            }
            case '[': {
                const std::size_t close = code.find(']', i + 1);
                i = close == std::string_view::npos ? code.size() : close;
                break;
            }
            case '\\':
            case '_':
            case '*':  // the next character is taken as it is
                i += CharLength(code, i + 1);
                break;
            case ';':
                sections.push_back(code.substr(start, i - start));
                start = i + 1;
                break;
            default:
                break;
        }
    }
    sections.push_back(code.substr(std::min(start, code.size())));
    if (sections.size() > 4) sections.resize(4);  // further sections are ignored
    return sections;
}

// ---- Sections ---------------------------------------------------------------------------

struct Token {
    enum class Kind : std::uint8_t {
        Literal,   // text shown as it is
        Digit,     // 0 # ?
        Point,     // the decimal point
        Comma,     // resolved while analysing: grouping, scaling or a literal comma
        Percent,   // shows '%' and multiplies by 100
        Exponent,  // E+ E- e+ e-
        Pad,       // a blank as wide as `text`
        Text,      // @
        General,   // General
    };
    enum class Role : std::uint8_t { Integer, Fraction, Exponent };

    Kind kind;
    std::string text;  // Literal, Pad: the characters; Digit: the placeholder; Exponent: "E+"
    Role role = Role::Integer;
};

}  // namespace

struct NumberFormat::Section {
    std::vector<Token> tokens;
    std::optional<std::uint32_t> color;
    bool dateOrTime = false;
    bool hasText = false;
    bool hasExponent = false;
    bool grouping = false;
    bool engineering = false;  // "##0.0E+0": the exponent is a multiple of the integer places
    int integerPlaces = 0;
    int fractionPlaces = 0;
    int exponentPlaces = 0;
    int percent = 0;         // each % multiplies by 100
    int thousandsScale = 0;  // each trailing comma divides by 1000

    bool HasDigits() const { return integerPlaces + fractionPlaces > 0; }
};

namespace {

using Section = NumberFormat::Section;

std::optional<std::uint32_t> NamedColor(std::string_view name) {
    struct Named {
        std::string_view name;
        std::uint32_t rgb;
    };
    static constexpr std::array<Named, 8> kColors = {{
        {"Black", Rgb(0, 0, 0)},
        {"Blue", Rgb(0, 0, 255)},
        {"Cyan", Rgb(0, 255, 255)},
        {"Green", Rgb(0, 255, 0)},
        {"Magenta", Rgb(255, 0, 255)},
        {"Red", Rgb(255, 0, 0)},
        {"White", Rgb(255, 255, 255)},
        {"Yellow", Rgb(255, 255, 0)},
    }};
    for (const Named& c : kColors)
        if (EqualsIgnoringCase(name, c.name)) return c.rgb;
    // [Color1] to [Color56]: entries of the standard palette.
    if (name.size() > 5 && EqualsIgnoringCase(name.substr(0, 5), "Color")) {
        int index = 0;
        const auto [end, ec] = std::from_chars(name.data() + 5, name.data() + name.size(), index);
        if (ec == std::errc{} && end == name.data() + name.size() && index >= 1 &&
            index <= kPaletteSize)
            return DefaultPalette()[static_cast<std::size_t>(index - 1)];
    }
    return std::nullopt;
}

// A bracketed code: a colour, a currency symbol "[$sym-locale]", an elapsed time "[h]";
// conditions and other codes are ignored.
void ApplyBracket(Section& section, std::string_view inside) {
    if (auto color = NamedColor(inside)) {
        section.color = color;
    } else if (!inside.empty() && inside.front() == '$') {
        const std::size_t dash = inside.find('-');
        const std::string_view symbol =
            inside.substr(1, dash == std::string_view::npos ? std::string_view::npos : dash - 1);
        if (!symbol.empty()) section.tokens.push_back({Token::Kind::Literal, std::string(symbol)});
    } else if (!inside.empty() && IsDateOrTimeCode(inside.front())) {
        section.dateOrTime = true;
    }
}

// Gives each digit placeholder its role and resolves the commas.
void Analyse(Section& section) {
    bool afterPoint = false;
    bool afterExponent = false;
    bool anyDigit = false;
    for (Token& t : section.tokens) {
        switch (t.kind) {
            case Token::Kind::Digit:
                anyDigit = true;
                if (afterExponent) {
                    t.role = Token::Role::Exponent;
                    ++section.exponentPlaces;
                } else if (afterPoint) {
                    t.role = Token::Role::Fraction;
                    ++section.fractionPlaces;
                } else {
                    t.role = Token::Role::Integer;
                    ++section.integerPlaces;
                    if (t.text == "#") section.engineering = true;
                }
                break;
            case Token::Kind::Point:
                if (afterPoint || afterExponent) t = {Token::Kind::Literal, "."};
                afterPoint = true;
                break;
            case Token::Kind::Exponent:
                // Scientific notation needs placeholders before the E; else it is text.
                if (afterExponent || !anyDigit) {
                    t.kind = Token::Kind::Literal;
                } else {
                    afterExponent = true;
                    section.hasExponent = true;
                }
                break;
            case Token::Kind::Percent:
                ++section.percent;
                break;
            case Token::Kind::Text:
                section.hasText = true;
                break;
            default:
                break;
        }
    }
    if (!section.hasExponent) section.engineering = false;

    // A comma between integer placeholders groups thousands; after the last mantissa
    // placeholder it divides by 1000; anywhere else it is a literal comma.
    auto isMantissaDigit = [](const Token& t) {
        return t.kind == Token::Kind::Digit && t.role != Token::Role::Exponent;
    };
    for (auto it = section.tokens.begin(); it != section.tokens.end(); ++it) {
        if (it->kind != Token::Kind::Comma) continue;
        const bool digitBefore = std::any_of(section.tokens.begin(), it, isMantissaDigit);
        const auto next = std::find_if(it + 1, section.tokens.end(), isMantissaDigit);
        if (digitBefore && next != section.tokens.end() && next->role == Token::Role::Integer) {
            section.grouping = true;
        } else if (digitBefore && next == section.tokens.end()) {
            ++section.thousandsScale;
        } else {
            *it = {Token::Kind::Literal, ","};
        }
    }
}

Section ParseSection(std::string_view s) {
    Section section;
    auto literal = [&section](std::string_view text) {
        section.tokens.push_back({Token::Kind::Literal, std::string(text)});
    };
    std::size_t i = 0;
    while (i < s.size()) {
        const char c = s[i];
        switch (c) {
            case '"': {
                const std::size_t close = s.find('"', i + 1);
                const std::size_t end = close == std::string_view::npos ? s.size() : close;
                literal(s.substr(i + 1, end - i - 1));
                i = end + 1;
                break;
            }
            case '\\': {
                const std::size_t n = CharLength(s, i + 1);
                literal(s.substr(i + 1, n));
                i += 1 + n;
                break;
            }
            case '_': {
                const std::size_t n = CharLength(s, i + 1);
                if (n > 0)
                    section.tokens.push_back({Token::Kind::Pad, std::string(s.substr(i + 1, n))});
                i += 1 + n;
                break;
            }
            case '*':  // repeat to fill the cell: not supported, the pair shows nothing
                i += 1 + CharLength(s, i + 1);
                break;
            case '[': {
                const std::size_t close = s.find(']', i + 1);
                const std::size_t end = close == std::string_view::npos ? s.size() : close;
                ApplyBracket(section, s.substr(i + 1, end - i - 1));
                i = end + 1;
                break;
            }
            case '0':
            case '#':
            case '?':
                section.tokens.push_back({Token::Kind::Digit, std::string(1, c)});
                ++i;
                break;
            case '.':
                section.tokens.push_back({Token::Kind::Point, "."});
                ++i;
                break;
            case ',':
                section.tokens.push_back({Token::Kind::Comma, ","});
                ++i;
                break;
            case '%':
                section.tokens.push_back({Token::Kind::Percent, "%"});
                ++i;
                break;
            case '@':
                section.tokens.push_back({Token::Kind::Text, "@"});
                ++i;
                break;
            case 'E':
            case 'e':
                if (i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-')) {
                    section.tokens.push_back({Token::Kind::Exponent, std::string(s.substr(i, 2))});
                    i += 2;
                } else {
                    literal(s.substr(i, 1));
                    ++i;
                }
                break;
            default:
                if ((c == 'G' || c == 'g') && EqualsIgnoringCase(s.substr(i, 7), "General")) {
                    section.tokens.push_back({Token::Kind::General, "General"});
                    i += 7;
                    break;
                }
                if (IsDateOrTimeCode(c)) section.dateOrTime = true;
                const std::size_t n = CharLength(s, i);
                literal(s.substr(i, n));
                i += n;
                break;
        }
    }
    Analyse(section);
    return section;
}

// ---- Output -----------------------------------------------------------------------------

class Output {
  public:
    void Add(std::string_view text) { result_.text += text; }
    void Add(char c) { result_.text += c; }
    void Pad(const std::string& like) {
        result_.pads.push_back({result_.text.size(), like});
        result_.text += ' ';
    }
    FormattedValue Take(std::optional<std::uint32_t> color) {
        result_.color = color;
        return std::move(result_);
    }

  private:
    FormattedValue result_;
};

// The mantissa of a section with an exponent: the digits shifted so that the integer
// part has the section's places, and the exponent that shift stands for.
std::pair<Fixed, int> Scientific(const Section& section, double v) {
    const Digits d = ToDigits(v);
    if (d.digits.empty()) return {ToFixed(d, section.fractionPlaces), 0};
    const int places = std::max(section.integerPlaces, 1);
    const int power = d.exponent - 1;  // of the first significant digit
    auto floorDiv = [](int a, int b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); };
    int exponent = section.engineering ? floorDiv(power, places) * places : power - (places - 1);
    Fixed f = ToFixed({d.digits, d.exponent - exponent}, section.fractionPlaces);
    if (static_cast<int>(f.integer.size()) > places) {  // rounding carried into a new digit
        exponent += section.engineering ? places : 1;
        f = ToFixed({d.digits, d.exponent - exponent}, section.fractionPlaces);
    }
    return {f, exponent};
}

FormattedValue FormatWithSection(const Section& section, double v, bool minus) {
    Output out;
    if (minus) out.Add('-');
    v *= std::pow(100.0, section.percent);
    v /= std::pow(1000.0, section.thousandsScale);
    if (!std::isfinite(v)) return FormattedValue{ErrorText(ErrorCode::Num), section.color, {}};

    const auto [f, exponent] = section.hasExponent
                                   ? Scientific(section, v)
                                   : std::pair{ToFixed(ToDigits(v), section.fractionPlaces), 0};
    const std::string& intDigits = f.integer;
    // Fraction digits after the last non-zero one are insignificant ('#' drops them).
    const std::size_t lastNonZero = f.fraction.find_last_not_of('0');
    const int lastSignificant =
        lastNonZero == std::string::npos ? -1 : static_cast<int>(lastNonZero);
    const int intCount = static_cast<int>(intDigits.size());

    // Emits one integer digit standing `position` places left of the point, with the
    // thousands separator after it where one belongs.
    auto integerDigit = [&](char digit, int position) {
        out.Add(digit);
        if (section.grouping && position > 0 && position % 3 == 0) out.Add(',');
    };

    int intIndex = 0;
    int fracIndex = 0;
    for (const Token& t : section.tokens) {
        switch (t.kind) {
            case Token::Kind::Literal:
                out.Add(t.text);
                break;
            case Token::Kind::Pad:
                out.Pad(t.text);
                break;
            case Token::Kind::Percent:
                out.Add('%');
                break;
            case Token::Kind::Point:
                out.Add('.');
                break;
            case Token::Kind::Comma:
                break;  // grouping and scaling show nothing themselves
            case Token::Kind::Text:
            case Token::Kind::General:
                out.Add(GeneralNumberText(v));
                break;
            case Token::Kind::Exponent:
                out.Add(ExponentText(exponent, t.text[1] == '+',
                                     std::max(section.exponentPlaces, 1), t.text[0]));
                break;
            case Token::Kind::Digit:
                if (t.role == Token::Role::Integer) {
                    const int position = section.integerPlaces - 1 - intIndex;
                    if (intIndex++ == 0) {  // the first placeholder takes every extra digit
                        for (int k = 0; k < intCount - section.integerPlaces; ++k)
                            integerDigit(intDigits[static_cast<std::size_t>(k)], intCount - 1 - k);
                    }
                    const int k = intCount - 1 - position;
                    if (k >= 0) {
                        integerDigit(intDigits[static_cast<std::size_t>(k)], position);
                    } else if (t.text == "0") {
                        integerDigit('0', position);
                    } else if (t.text == "?") {
                        out.Add(' ');
                    }
                } else if (t.role == Token::Role::Fraction) {
                    const int j = fracIndex++;
                    if (j <= lastSignificant || t.text == "0")
                        out.Add(f.fraction[static_cast<std::size_t>(j)]);
                    else if (t.text == "?")
                        out.Add(' ');
                }
                break;  // exponent placeholders are written with the exponent
        }
    }
    return out.Take(section.color);
}

FormattedValue FormatTextWithSection(const Section& section, const std::string& text) {
    Output out;
    for (const Token& t : section.tokens) {
        switch (t.kind) {
            case Token::Kind::Pad:
                out.Pad(t.text);
                break;
            case Token::Kind::Text:
            case Token::Kind::General:
                out.Add(text);
                break;
            default:
                out.Add(t.text);
                break;  // placeholders mean nothing to a text
        }
    }
    return out.Take(section.color);
}

}  // namespace

// ---- NumberFormat -----------------------------------------------------------------------

NumberFormat::NumberFormat() = default;
NumberFormat::NumberFormat(NumberFormat&&) noexcept = default;
NumberFormat& NumberFormat::operator=(NumberFormat&&) noexcept = default;
NumberFormat::NumberFormat(const NumberFormat&) = default;
NumberFormat& NumberFormat::operator=(const NumberFormat&) = default;
NumberFormat::~NumberFormat() = default;

NumberFormat NumberFormat::Parse(std::string_view code) {
    NumberFormat format;
    const std::vector<std::string_view> parts = SplitSections(code);
    // An empty code, like "General", shows numbers in general display.
    if (parts.size() == 1 && parts.front().empty()) {
        format.sections_.push_back(ParseSection("General"));
        return format;
    }
    for (std::string_view part : parts) format.sections_.push_back(ParseSection(part));
    return format;
}

FormattedValue NumberFormat::Format(const Value& value) const {
    struct Visitor {
        const NumberFormat& format;
        FormattedValue operator()(std::monostate) const { return {}; }
        FormattedValue operator()(double x) const { return format.FormatNumber(x); }
        FormattedValue operator()(const std::string& s) const { return format.FormatText(s); }
        FormattedValue operator()(bool b) const { return {b ? "TRUE" : "FALSE", {}, {}}; }
        FormattedValue operator()(ErrorCode e) const { return {ErrorText(e), {}, {}}; }
    };
    return std::visit(Visitor{*this}, value);
}

FormattedValue NumberFormat::FormatNumber(double x) const {
    if (!std::isfinite(x)) return {ErrorText(ErrorCode::Num), {}, {}};
    // Sections: one for all numbers; two for non-negative and negative; three add zero. A
    // negative number shown by its own section loses its sign: the section supplies it.
    const std::size_t numberSections = std::min<std::size_t>(sections_.size(), 3);
    std::size_t index = 0;
    if (x < 0 && numberSections >= 2)
        index = 1;
    else if (x == 0 && numberSections >= 3)
        index = 2;
    const Section& section = sections_[index];
    const bool minus = x < 0 && index == 0;
    if (section.dateOrTime) return {GeneralNumberText(x), section.color, {}};
    return FormatWithSection(section, std::fabs(x), minus);
}

FormattedValue NumberFormat::FormatText(const std::string& text) const {
    if (sections_.size() >= 4) return FormatTextWithSection(sections_[3], text);
    if (sections_.size() == 1 && sections_[0].hasText && !sections_[0].HasDigits())
        return FormatTextWithSection(sections_[0], text);
    return {text, {}, {}};
}

// ---- Cache and free functions -----------------------------------------------------------

const NumberFormat& NumberFormatCache::Get(const std::string& code) {
    auto it = formats_.find(code);
    if (it == formats_.end()) it = formats_.emplace(code, NumberFormat::Parse(code)).first;
    return it->second;
}

FormattedValue FormatValue(const Value& value, const std::string& code) {
    return NumberFormat::Parse(code).Format(value);
}

std::string GeneralNumberText(double x) {
    if (!std::isfinite(x)) return ErrorText(ErrorCode::Num);
    if (x == 0) return "0";
    const std::string sign = x < 0 ? "-" : "";
    const Digits d = ToDigits(std::fabs(x));
    const int power = d.exponent - 1;  // of the first significant digit
    if (power >= 11 || power < -9) return sign + GeneralScientific(d);

    // Ten significant digits where the integer part leaves room (eleven for integers up
    // to 99,999,999,999), fewer decimals for larger integer parts.
    const int decimals = std::max(0, 10 - std::max(d.exponent, 1));
    Fixed f = ToFixed(d, decimals);
    if (f.integer.size() > 11) return sign + GeneralScientific(d);
    // A small number that fixed notation would cut to fewer digits than scientific shows.
    if (f.integer.empty() && SignificantDigits(f) < std::min<std::size_t>(6, d.digits.size()))
        return sign + GeneralScientific(d);
    while (!f.fraction.empty() && f.fraction.back() == '0') f.fraction.pop_back();
    std::string text = sign + (f.integer.empty() ? "0" : f.integer);
    if (!f.fraction.empty()) text += "." + f.fraction;
    return text;
}

}  // namespace quill::spreadsheet::format
