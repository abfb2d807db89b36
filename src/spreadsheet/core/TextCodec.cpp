#include "spreadsheet/core/TextCodec.h"

#include <algorithm>

namespace quill::spreadsheet {

std::u16string Utf16FromUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b0 = static_cast<unsigned char>(text[i]);
        char32_t cp = 0xFFFD;
        std::size_t len = 1;
        auto cont = [&](std::size_t k) {
            return i + k < text.size() && (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
        };
        auto bits = [&](std::size_t k) {
            return static_cast<char32_t>(static_cast<unsigned char>(text[i + k]) & 0x3F);
        };
        if (b0 < 0x80) {
            cp = b0;
        } else if (b0 >= 0xC2 && b0 < 0xE0 && cont(1)) {
            cp = (static_cast<char32_t>(b0 & 0x1F) << 6) | bits(1);
            len = 2;
        } else if (b0 >= 0xE0 && b0 < 0xF0 && cont(1) && cont(2)) {
            const char32_t c = (static_cast<char32_t>(b0 & 0x0F) << 12) | (bits(1) << 6) | bits(2);
            // Overlong forms and surrogates are not characters.
            if (c >= 0x800 && (c < 0xD800 || c > 0xDFFF)) cp = c;
            len = 3;
        } else if (b0 >= 0xF0 && b0 < 0xF5 && cont(1) && cont(2) && cont(3)) {
            const char32_t c = (static_cast<char32_t>(b0 & 0x07) << 18) | (bits(1) << 12) |
                               (bits(2) << 6) | bits(3);
            if (c >= 0x10000 && c <= 0x10FFFF) cp = c;
            len = 4;
        }
        i += len;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

std::string Utf8FromUtf16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;  // a lone surrogate
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

std::optional<std::string> RepairedUtf8(std::string_view text) {
    if (std::all_of(text.begin(), text.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::nullopt;
    std::string repaired = Utf8FromUtf16(Utf16FromUtf8(text));
    if (repaired == text) return std::nullopt;
    return repaired;
}

std::optional<std::string> XmlSafeUtf8(std::string_view text) {
    auto allowedControl = [](char c) { return c == '\t' || c == '\n' || c == '\r'; };
    const bool plain = std::all_of(text.begin(), text.end(), [&](char c) {
        const auto b = static_cast<unsigned char>(c);
        return (b >= 0x20 && b < 0x80) || allowedControl(c);
    });
    if (plain) return std::nullopt;
    std::u16string units = Utf16FromUtf8(text);  // bad sequences and surrogates: U+FFFD
    for (char16_t& u : units)
        if ((u < 0x20 && !allowedControl(static_cast<char>(u))) || u == 0xFFFE || u == 0xFFFF)
            u = 0xFFFD;
    std::string safe = Utf8FromUtf16(units);
    if (safe == text) return std::nullopt;
    return safe;
}

}  // namespace quill::spreadsheet
