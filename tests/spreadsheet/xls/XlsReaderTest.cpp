// The .xls reader: record variants other programs write, and files that are not workbooks,
// damaged or built to make the reader work or allocate without bound. A damaged file must
// give EngineError, never a crash, a hang or another kind of failure.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "XlsSampleWorkbook.h"
#include "XlsStreamBuilder.h"
#include "spreadsheet/xls/XlsBiff.h"
#include "spreadsheet/xls/XlsContainer.h"
#include "spreadsheet/xls/XlsFile.h"
#include "spreadsheet/xls/XlsStream.h"

namespace quill::spreadsheet {
namespace {

using Bytes = std::vector<std::uint8_t>;
using xls::BiffString;
using xls::RecordWriter;
using xls::test::CellHeader;
using xls::test::StreamBuilder;
namespace rec = xls::rec;

// Reading must fail with EngineError whose text contains `expected`.
void ExpectDamaged(const Bytes& stream, const std::string& expected) {
    try {
        xls::ReadWorkbookStream(stream);
        ADD_FAILURE() << "read without complaint; expected: " << expected;
    } catch (const EngineError& e) {
        EXPECT_NE(std::string(e.what()).find(expected), std::string::npos) << e.what();
    }
}

const Cell& CellAt(const Workbook& book, int row, int col) {
    const Cell* cell = book.Sheets()[0]->Find({row, col});
    if (cell == nullptr) throw std::runtime_error("no cell at " + CellName({row, col}));
    return *cell;
}

TEST(XlsReader, ReadsTheRecordVariantsOtherProgramsWrite) {
    StreamBuilder b;
    b.globals = [](RecordWriter& w) {
        // Shared strings with formatting runs, with phonetic data, and one whose characters
        // go on in a CONTINUE record in the other width.
        w.Begin(rec::kSst);
        w.U32(3).U32(3);
        w.U16(5).U8(0x08).U16(2).Chars(BiffString(u"Hello"), 0, 5).Zeros(8);
        w.U16(3).U8(0x04).U32(6).Chars(BiffString(u"abc"), 0, 3).Zeros(6);
        const BiffString wide(u"xyz\u20AC");
        w.U16(7).U8(0x01).Chars(wide, 0, 4);
        w.End();
        w.Begin(rec::kContinue);
        w.U8(0x00).Chars(BiffString(u"uvw"), 0, 3);
        w.End();
    };
    b.sheet = [](RecordWriter& w) {
        w.Begin(rec::kColInfo);  // a last column of 256, as some writers end the last range
        w.U16(0).U16(256).U16(4000).U16(15).U16(0).U16(0);
        w.End();
        for (std::uint16_t i = 0; i < 3; ++i) {
            CellHeader(w, rec::kLabelSst, 0, i);
            w.U32(i);
            w.End();
        }
        CellHeader(w, rec::kLabel, 1, 0);
        w.LongString(BiffString(u"label"));
        w.End();
        CellHeader(w, rec::kRString, 1, 1);
        w.LongString(BiffString(u"rich")).U16(1).U32(0);
        w.End();
        w.Begin(rec::kMulRk);
        w.U16(2).U16(0);
        w.U16(15).U32((3000u << 2) | 2u);  // integer
        w.U16(15).U32((123u << 2) | 3u);   // 1.23
        w.U16(15).U32(0x3FE00000u);        // 0.5 as the high bits of a double
        w.U16(2);
        w.End();
        CellHeader(w, rec::kBoolErr, 3, 0);
        w.U8(1).U8(0);
        w.End();
        CellHeader(w, rec::kBoolErr, 3, 1);
        w.U8(0x07).U8(1);
        w.End();
        // An embedded chart substream is skipped as a whole.
        w.Begin(rec::kBof);
        w.U16(xls::kBiff8Version).U16(0x0020).U16(0).U16(0).U32(0).U32(0);
        w.End();
        CellHeader(w, rec::kNumber, 9, 9);  // inside the chart: not a cell of the sheet
        w.F64(1);
        w.End();
        w.Empty(rec::kEof);
        CellHeader(w, rec::kNumber, 4, 0);
        w.F64(2.5);
        w.End();
        // Shared formulas (ptgExp) the engine does not decode keep their stored values.
        CellHeader(w, rec::kFormula, 5, 0);
        w.F64(42).U16(0x0008).U32(0).U16(5).U8(0x01).U16(5).U16(0);
        w.End();
        CellHeader(w, rec::kFormula, 5, 1);
        w.U8(0).U8(0).U8(0).U8(0).U8(0).U8(0).U16(0xFFFF).U16(0x0008).U32(0).U16(5);
        w.U8(0x01).U16(5).U16(1);
        w.End();
        w.Begin(0x04BC);  // SHRFMLA between a formula and its STRING
        w.Zeros(10);
        w.End();
        w.Begin(rec::kString);
        w.LongString(BiffString(u"shared"));
        w.End();
    };
    const Workbook book = xls::ReadWorkbookStream(b.Build());
    auto text = [&](int r, int c) { return std::get<std::string>(CellAt(book, r, c).content); };
    auto number = [&](int r, int c) { return std::get<double>(CellAt(book, r, c).content); };
    EXPECT_EQ(text(0, 0), "Hello");
    EXPECT_EQ(text(0, 1), "abc");
    EXPECT_EQ(text(0, 2), "xyz€uvw");
    EXPECT_EQ(text(1, 0), "label");
    EXPECT_EQ(text(1, 1), "rich");
    EXPECT_EQ(number(2, 0), 3000);
    EXPECT_EQ(number(2, 1), 1.23);
    EXPECT_EQ(number(2, 2), 0.5);
    EXPECT_EQ(text(3, 0), "TRUE");
    EXPECT_EQ(text(3, 1), "#DIV/0!");
    EXPECT_EQ(number(4, 0), 2.5);
    EXPECT_EQ(book.Sheets()[0]->Find({9, 9}), nullptr);
    EXPECT_EQ(number(5, 0), 42);
    EXPECT_EQ(text(5, 1), "shared");
    EXPECT_NEAR(book.Sheets()[0]->ColumnWidth(255), 4000 / 256.0 - 5 / 7.0, 1e-9);
}

TEST(XlsReader, FilesThatAreNotWorkbooksAreRefusedByName) {
    QTemporaryDir dir;
    auto write = [&](const char* name, const Bytes& bytes) {
        const QString path = dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
        return path.toStdString();
    };
    auto expectRefused = [](const std::string& path, const std::string& reason) {
        try {
            LoadXls(path);
            ADD_FAILURE() << path << " was read";
        } catch (const EngineError& e) {
            const std::string what = e.what();
            EXPECT_NE(what.find(path), std::string::npos) << what;
            EXPECT_NE(what.find(reason), std::string::npos) << what;
        }
    };
    expectRefused(dir.filePath("missing.xls").toStdString(), "does not exist");
    expectRefused(write("empty.xls", {}), "not an .xls workbook");
    expectRefused(write("text.xls", Bytes(5000, 'a')), "not an .xls workbook");
    expectRefused(dir.path().toStdString(), "not a file");

    StreamBuilder biff5;
    biff5.version = 0x0500;
    expectRefused(write("old.xls", xls::PackCompoundFile(biff5.Build())), "older than BIFF8");
    expectRefused(write("zeros.xls", xls::PackCompoundFile(Bytes(100, 0))), "not an .xls workbook");
    StreamBuilder encrypted;
    encrypted.globals = [](RecordWriter& w) {
        w.Begin(rec::kFilePass);
        w.Zeros(6);
        w.End();
    };
    expectRefused(write("secret.xls", xls::PackCompoundFile(encrypted.Build())), "encrypted");
}

TEST(XlsReader, BadIndicesCountsAndAreasAreReportedAsDamage) {
    StreamBuilder b;
    b.sheet = [](RecordWriter& w) {
        CellHeader(w, rec::kLabelSst, 0, 0);
        w.U32(5);
        w.End();
    };
    ExpectDamaged(b.Build(), "missing shared text");

    b.sheet = [](RecordWriter& w) {
        CellHeader(w, rec::kBlank, 0, 0, 999);
        w.End();
    };
    ExpectDamaged(b.Build(), "missing cell format");

    b.sheet = [](RecordWriter& w) {
        CellHeader(w, rec::kBlank, 0, 300);
        w.End();
    };
    ExpectDamaged(b.Build(), "beyond the last column");

    b.sheet = [](RecordWriter& w) {
        w.Begin(rec::kMergedCells);
        w.U16(1).U16(5).U16(2).U16(0).U16(1);  // last row above the first
        w.End();
    };
    ExpectDamaged(b.Build(), "merged area");

    b.sheet = [](RecordWriter& w) {
        CellHeader(w, rec::kNumber, 0, 0);  // eight bytes short
        w.End();
    };
    ExpectDamaged(b.Build(), "too short");

    b.sheet = [](RecordWriter&) {};
    b.globals = [](RecordWriter& w) {
        w.Begin(rec::kXf);  // a cell format naming font 4, which never exists
        w.U16(4).U16(0).U16(0x0001).U8(0x20).U8(0).U8(0).U8(0).U32(0).U32(0).U16(0x20C0);
        w.End();
    };
    ExpectDamaged(b.Build(), "missing font");

    b.globals = [](RecordWriter& w) {
        w.Begin(rec::kSst);
        w.U32(1000000000).U32(1000000000).LongString(BiffString(u"one"));
        w.End();
    };
    ExpectDamaged(b.Build(), "shared-string count");

    b.globals = [](RecordWriter& w) {
        w.Begin(rec::kBoundSheet);  // a second sheet pointing back into the globals
        w.U32(0).U8(0).U8(0).ShortString(BiffString(u"T"));
        w.End();
    };
    ExpectDamaged(b.Build(), "overlap");

    b.globals = [](RecordWriter&) {};
    Bytes stream = b.Build();
    stream.resize(stream.size() - 2);  // the EOF record's length field is cut
    ExpectDamaged(stream, "truncated record");
    stream = b.Build();
    stream[stream.size() - 2] = 0x40;  // the EOF record claims 64 bytes
    ExpectDamaged(stream, "runs past the end");
}

TEST(XlsReader, CellsAndTextThatWouldGrowWithoutBoundAreCapped) {
    StreamBuilder cells;
    cells.sheet = [](RecordWriter& w) {
        // 256 cells per record, in more rows than the cell limit allows.
        const int rows = static_cast<int>(xls::kMaxCells / 256) + 2;
        for (int r = 0; r < rows; ++r) {
            w.Begin(rec::kMulBlank);
            w.U16(static_cast<std::uint16_t>(r)).U16(0);
            for (int c = 0; c < 256; ++c) w.U16(15);
            w.U16(255);
            w.End();
        }
    };
    // The cells would take more memory than the stream's size allows before they reach the
    // cell limit.
    ExpectDamaged(cells.Build(), "more memory than a file of its size");

    // One long shared text used by many cells would multiply it in memory.
    StreamBuilder text;
    text.globals = [](RecordWriter& w) {
        xls::ContinuedRecord sst(w, rec::kSst);
        w.U32(1).U32(1).U16(32767).U8(0);
        sst.Chars(BiffString(std::u16string(32767, u'x')));
        sst.Finish();
    };
    text.sheet = [](RecordWriter& w) {
        const int uses = static_cast<int>(xls::kMaxTextBytes / 32767) + 2;
        for (int i = 0; i < uses; ++i) {
            CellHeader(w, rec::kLabelSst, static_cast<std::uint16_t>(i / 4),
                       static_cast<std::uint16_t>(i % 4));
            w.U32(0);
            w.End();
        }
    };
    ExpectDamaged(text.Build(), "more memory than a file of its size");
}

// Cut and scrambled copies of a real workbook stream: each is read or refused with
// EngineError. Run under the sanitizers, this also shows that no read goes out of bounds.
TEST(XlsReader, TruncatedAndScrambledStreamsFailCleanly) {
    const Bytes good = xls::WriteWorkbookStream(sample::BudgetWorkbook());
    auto tryRead = [](const Bytes& stream) {
        try {
            xls::ReadWorkbookStream(stream);
        } catch (const EngineError&) {
        }
    };
    for (std::size_t cut = 0; cut < good.size(); cut += 97)
        tryRead(Bytes(good.begin(), good.begin() + cut));

    std::mt19937 random(20240601);
    for (int round = 0; round < 600; ++round) {
        Bytes stream = good;
        const int flips = 1 + round % 8;
        for (int k = 0; k < flips; ++k) {
            const std::size_t at = random() % stream.size();
            stream[at] = static_cast<std::uint8_t>(random());
        }
        tryRead(stream);
    }
}

TEST(XlsReader, ScrambledContainersFailCleanly) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("x.xls").toStdString();
    const Bytes good = xls::PackCompoundFile(xls::WriteWorkbookStream(sample::BudgetWorkbook()));
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        Bytes file = good;
        // The header, allocation table and directory are in the first sectors.
        for (int k = 0; k < 4; ++k) file[random() % 2048] = static_cast<std::uint8_t>(random());
        QFile f(QString::fromStdString(path));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(reinterpret_cast<const char*>(file.data()), static_cast<qint64>(file.size()));
        f.close();
        try {
            LoadXls(path);
        } catch (const EngineError&) {
        }
    }
}

}  // namespace
}  // namespace quill::spreadsheet
