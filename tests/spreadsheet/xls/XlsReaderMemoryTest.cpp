// The reader's memory is bounded by its input: streams built so that few bytes make the
// reader hold much (many short shared texts, many formula nodes, many blank cells) are read
// or refused, and in both cases the reader's peak stays within a fixed multiple of the
// stream: the model may take sixteen times the stream (the engine's own formula-heavy
// workbooks take eleven), and a table of short texts little more than its texts.
//
// The test program counts the bytes that operator new hands out, so the peak of one read
// can be measured without looking at the whole process.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <new>
#include <vector>

#include "XlsStreamBuilder.h"
#include "spreadsheet/xls/XlsBiff.h"
#include "spreadsheet/xls/XlsStream.h"

namespace {

std::size_t g_current = 0;
std::size_t g_peak = 0;
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* Allocate(std::size_t size) {
    auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
    if (block == nullptr) return nullptr;
    *reinterpret_cast<std::size_t*>(block) = size;
    g_current += size;
    g_peak = std::max(g_peak, g_current);
    return block + kHeader;
}

void Release(void* p) noexcept {
    if (p == nullptr) return;
    unsigned char* block = static_cast<unsigned char*>(p) - kHeader;
    g_current -= *reinterpret_cast<std::size_t*>(block);
    std::free(block);
}

}  // namespace

void* operator new(std::size_t size) {
    if (void* p = Allocate(size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    if (void* p = Allocate(size)) return p;
    throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void operator delete(void* p) noexcept {
    Release(p);
}
void operator delete[](void* p) noexcept {
    Release(p);
}
void operator delete(void* p, std::size_t) noexcept {
    Release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    Release(p);
}

namespace quill::spreadsheet {
namespace {

using Bytes = std::vector<std::uint8_t>;
using xls::BiffString;
using xls::RecordWriter;
namespace rec = xls::rec;

// A workbook stream with the given records in the globals and in the sheet.
Bytes BuildStream(std::function<void(RecordWriter&)> globals,
                  std::function<void(RecordWriter&)> sheet) {
    xls::test::StreamBuilder builder;
    builder.globals = std::move(globals);
    builder.sheet = std::move(sheet);
    return builder.Build();
}

// The peak of the bytes allocated while the stream is read (or refused).
std::size_t PeakOfRead(const Bytes& stream) {
    const std::size_t before = g_current;
    g_peak = before;
    try {
        xls::ReadWorkbookStream(stream);
    } catch (const EngineError&) {
        // Refusing the stream is as good as reading it, within the same bound.
    }
    return g_peak - before;
}

void ExpectBounded(const Bytes& stream, std::size_t timesTheStream = 11) {
    const std::size_t peak = PeakOfRead(stream);
    EXPECT_LE(peak, timesTheStream * stream.size())
        << "peak " << peak << " bytes for a stream of " << stream.size() << " bytes";
}

TEST(XlsReaderMemory, ManyShortSharedTextsTakeLittleMoreThanTheirStream) {
    constexpr std::uint32_t kCount = 1'000'000;  // empty texts, three bytes each
    const Bytes stream = BuildStream(
        [](RecordWriter& w) {
            xls::ContinuedRecord sst(w, rec::kSst);
            w.U32(kCount).U32(kCount);
            for (std::uint32_t i = 0; i < kCount; ++i) {
                sst.KeepTogether(3);
                w.U16(0).U8(0);
            }
            sst.Finish();
        },
        [](RecordWriter&) {});
    ExpectBounded(stream, 2);
}

TEST(XlsReaderMemory, ManyFormulaNodesStayWithinTheBound) {
    // SUM of thirty small numbers: 94 token bytes that parse into 31 nodes. The first number
    // differs from cell to cell, so that no two cells can share their parsed formula.
    std::vector<std::uint8_t> tokens;
    for (int i = 0; i < 30; ++i) tokens.insert(tokens.end(), {0x1E, 0x01, 0x00});
    tokens.insert(tokens.end(), {0x22, 30, 0x04, 0x00});
    const Bytes stream = BuildStream(
        [](RecordWriter&) {},
        [&](RecordWriter& w) {
            for (int i = 0; i < 20000; ++i) {
                w.Begin(rec::kFormula);
                w.U16(static_cast<std::uint16_t>(i / 4)).U16(static_cast<std::uint16_t>(i % 4));
                w.U16(15).F64(30.0).U16(0).U32(0);
                tokens[1] = static_cast<std::uint8_t>(i & 0xFF);
                tokens[2] = static_cast<std::uint8_t>(i >> 8);
                w.U16(static_cast<std::uint16_t>(tokens.size())).Bytes(tokens);
                w.End();
            }
        });
    ExpectBounded(stream);
}

TEST(XlsReaderMemory, ManyBlankCellsStayWithinTheBound) {
    const Bytes stream =
        BuildStream([](RecordWriter&) {},
                    [](RecordWriter& w) {
                        for (int r = 0; r < 8000; ++r) {  // 256 cells in 522 bytes per row
                            w.Begin(rec::kMulBlank);
                            w.U16(static_cast<std::uint16_t>(r)).U16(0);
                            for (int c = 0; c < 256; ++c) w.U16(15);
                            w.U16(255);
                            w.End();
                        }
                    });
    ExpectBounded(stream);
}

TEST(XlsReader, AFormulaResultThatIsNotANumberIsDamage) {
    const Bytes stream = BuildStream(
        [](RecordWriter&) {},
        [](RecordWriter& w) {
            const std::vector<std::uint8_t> one = {0x1E, 0x01, 0x00};
            w.Begin(rec::kFormula);
            w.U16(0).U16(0).U16(15);
            w.U32(0).U32(0x7FF80000);  // a quiet NaN, not the marker of a text or error result
            w.U16(0).U32(0).U16(static_cast<std::uint16_t>(one.size())).Bytes(one);
            w.End();
        });
    try {
        xls::ReadWorkbookStream(stream);
        ADD_FAILURE() << "a formula with a NaN result was read";
    } catch (const EngineError& e) {
        EXPECT_NE(std::string(e.what()).find("not finite"), std::string::npos) << e.what();
    }
}

}  // namespace
}  // namespace quill::spreadsheet
