// A small workbook stream built record by record, for the reader's tests.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "spreadsheet/xls/XlsBiff.h"

namespace quill::spreadsheet::xls::test {

using Bytes = std::vector<std::uint8_t>;

// A small workbook stream built record by record: one font, the fifteen style XFs and one
// cell XF (XF 15), and one sheet "S", with hooks for more records in either substream.
struct StreamBuilder {
    std::function<void(RecordWriter&)> globals = [](RecordWriter&) {};
    std::function<void(RecordWriter&)> sheet = [](RecordWriter&) {};
    std::uint16_t version = kBiff8Version;

    Bytes Build() const {
        RecordWriter w;
        w.Begin(rec::kBof);
        w.U16(version).U16(kBofGlobals).U16(0).U16(0).U32(0).U32(0);
        w.End();
        w.Begin(rec::kFont);
        w.U16(200).U16(0).U16(0x7FFF).U16(400).U16(0).U8(0).U8(0).U8(0).U8(0);
        w.ShortString(BiffString(u"Arial"));
        w.End();
        for (int i = 0; i < 16; ++i) {
            w.Begin(rec::kXf);
            w.U16(0).U16(0).U16(i < 15 ? 0xFFF5 : 0x0001).U8(0x20).U8(0).U8(0).U8(0);
            w.U32(0).U32(0).U16(0x20C0);
            w.End();
        }
        globals(w);
        w.Begin(rec::kBoundSheet);
        const std::size_t offsetField = w.Size();
        w.U32(0).U8(0).U8(0).ShortString(BiffString(u"S"));
        w.End();
        w.Empty(rec::kEof);
        w.PatchU32(offsetField, static_cast<std::uint32_t>(w.Size()));
        w.Begin(rec::kBof);
        w.U16(kBiff8Version).U16(kBofWorksheet).U16(0).U16(0).U32(0).U32(0);
        w.End();
        sheet(w);
        w.Empty(rec::kEof);
        return std::move(w.Data());
    }
};

inline void CellHeader(RecordWriter& w, std::uint16_t id, std::uint16_t row, std::uint16_t col,
                       std::uint16_t xf = 15) {
    w.Begin(id);
    w.U16(row).U16(col).U16(xf);
}

}  // namespace quill::spreadsheet::xls::test
