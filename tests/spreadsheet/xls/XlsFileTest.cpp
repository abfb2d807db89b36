// The .xls writer: what a saved budget sheet carries, that reading it back gives the same
// workbook and saving again the same bytes, the record and container layout other programs
// rely on, and the failures of saving.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <bit>
#include <cmath>
#include <string>
#include <vector>

#include "XlsSampleWorkbook.h"
#include "spreadsheet/core/FileSupport.h"
#include "spreadsheet/formula/Formula.h"
#include "spreadsheet/xls/Biff8Formula.h"
#include "spreadsheet/xls/PropertySets.h"
#include "spreadsheet/xls/XlsBiff.h"
#include "spreadsheet/xls/XlsContainer.h"
#include "spreadsheet/xls/XlsFile.h"
#include "spreadsheet/xls/XlsStream.h"

namespace quill::spreadsheet::xls {
namespace {

using Bytes = std::vector<std::uint8_t>;
namespace rec = xls::rec;

Bytes ReadBytes(const std::string& path) {
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray data = f.readAll();
    return Bytes(data.begin(), data.end());
}

std::uint16_t U16At(std::span<const std::uint8_t> d, std::size_t at) {
    return static_cast<std::uint16_t>(d[at] | (d[at + 1] << 8));
}
std::uint32_t U32At(std::span<const std::uint8_t> d, std::size_t at) {
    return U16At(d, at) | (static_cast<std::uint32_t>(U16At(d, at + 2)) << 16);
}
double F64At(std::span<const std::uint8_t> d, std::size_t at) {
    return std::bit_cast<double>(U32At(d, at) | (std::uint64_t{U32At(d, at + 4)} << 32));
}

// The records of one substream, from its BOF to its EOF.
std::vector<xls::Record> Substream(const Bytes& stream, std::size_t offset) {
    std::vector<xls::Record> records;
    xls::RecordReader reader(stream, offset);
    while (auto r = reader.Next()) {
        records.push_back(*r);
        if (r->id == rec::kEof) break;
    }
    return records;
}

std::string TextOf(const Cell* cell) {
    const auto* s = cell ? std::get_if<std::string>(&cell->content) : nullptr;
    return s ? *s : std::string("<no text>");
}

// Everything the model holds, compared sheet by sheet.
void ExpectSameWorkbook(const Workbook& a, const Workbook& b) {
    EXPECT_EQ(a.palette, b.palette);
    EXPECT_EQ(a.activeSheet, b.activeSheet);
    ASSERT_EQ(a.Sheets().size(), b.Sheets().size());
    for (std::size_t i = 0; i < a.Sheets().size(); ++i) {
        const Worksheet& x = *a.Sheets()[i];
        const Worksheet& y = *b.Sheets()[i];
        SCOPED_TRACE(x.Name());
        EXPECT_EQ(x.Name(), y.Name());
        EXPECT_EQ(a.Format(x.DefaultFormat()), b.Format(y.DefaultFormat()));
        std::size_t written = 0;
        for (const auto& [at, cell] : x.Cells()) {
            if (!cell.HasContent() && cell.format < 0) continue;
            ++written;
            SCOPED_TRACE(CellName(at));
            const Cell* other = y.Find(at);
            ASSERT_NE(other, nullptr);
            EXPECT_EQ(a.EffectiveFormat(x, at), b.EffectiveFormat(y, at));
            EXPECT_EQ(cell.content.index(), other->content.index());
            if (const Formula* f = cell.AsFormula()) {
                // The same tokens: the text may differ where the file cannot tell, as "C[0]"
                // and "C" do.
                ASSERT_NE(other->AsFormula(), nullptr);
                EXPECT_EQ(EncodeBiff8(*f, at), EncodeBiff8(*other->AsFormula(), at)) << f->R1C1();
                EXPECT_EQ(cell.Cached(), other->Cached());
            } else if (const auto* n = std::get_if<double>(&cell.content)) {
                EXPECT_EQ(std::bit_cast<std::uint64_t>(*n),
                          std::bit_cast<std::uint64_t>(std::get<double>(other->content)));
            } else if (cell.HasContent()) {
                EXPECT_EQ(TextOf(&cell), TextOf(other));
            }
        }
        EXPECT_EQ(written, y.Cells().size());
        EXPECT_EQ(x.RowHeights(), y.RowHeights());
        ASSERT_EQ(x.ColumnWidths().size(), y.ColumnWidths().size());
        for (const auto& [col, width] : x.ColumnWidths())
            EXPECT_NEAR(y.ColumnWidth(col), width, 1.0 / 256) << ColumnName(col);
        EXPECT_EQ(x.Merges(), y.Merges());
        EXPECT_EQ(x.printArea, y.printArea);
        EXPECT_EQ(x.pageSetup, y.pageSetup);
        EXPECT_EQ(x.selection, y.selection);
        EXPECT_EQ(x.activeCell, y.activeCell);
    }
}

class XlsFileTest : public ::testing::Test {
  protected:
    std::string Path(const std::string& name) const {
        return dir_.filePath(QString::fromStdString(name)).toStdString();
    }
    QTemporaryDir dir_;
};

TEST_F(XlsFileTest, BudgetSheetReadsBackAsTheSameWorkbookAndSavesToTheSameBytes) {
    const Workbook book = sample::BudgetWorkbook();
    SaveXls(book, Path("a.xls"));
    const Workbook back = LoadXls(Path("a.xls"));
    ExpectSameWorkbook(book, back);

    // Spot checks of what the sheet shows.
    const Worksheet& sheet = *back.Sheets()[0];
    EXPECT_EQ(TextOf(sheet.Find(sample::At("B2"))), "Personal Finance");
    EXPECT_EQ(back.EffectiveFormat(sheet, sample::At("B2")).font.size, 24);
    EXPECT_EQ(back.EffectiveFormat(sheet, sample::At("E6")).numberFormat, sample::kAmountFormat);
    EXPECT_EQ(sheet.Find(sample::At("E8"))->Cached(), Value(3100.0));
    EXPECT_EQ(sheet.Find(sample::At("J10"))->AsFormula()->R1C1(), "=R[-2]C-R[-4]C");
    EXPECT_EQ(back.Format(sheet.DefaultFormat()).fill, 2);
    EXPECT_EQ(sheet.printArea, ParseA1Range("A1:J73"));
    EXPECT_NEAR(sheet.ColumnWidth(1), 31.29, 0.01);

    SaveXls(back, Path("b.xls"));
    EXPECT_EQ(ReadBytes(Path("a.xls")), ReadBytes(Path("b.xls")));
}

TEST_F(XlsFileTest, SavingIsDeterministicAndTheContainerIsTheClassicOne) {
    const Workbook book = sample::BudgetWorkbook();
    SaveXls(book, Path("a.xls"));
    SaveXls(book, Path("b.xls"));
    const Bytes file = ReadBytes(Path("a.xls"));
    EXPECT_EQ(file, ReadBytes(Path("b.xls")));

    ASSERT_GE(file.size(), 1024u);
    EXPECT_EQ(U32At(file, 0), 0xE011CFD0u);  // compound-file signature
    EXPECT_EQ(U16At(file, 0x1E), 9);         // 512-byte sectors
    // Directory entries (128 bytes each, in the first directory sector): no time stamps,
    // and the workbook stream is large enough to live in ordinary sectors.
    const std::size_t directory = (U32At(file, 0x30) + 1) * 512;
    bool foundWorkbook = false;
    for (std::size_t e = directory; e + 128 <= directory + 512; e += 128) {
        for (std::size_t k = 0x64; k < 0x74; ++k) EXPECT_EQ(file[e + k], 0) << "entry at " << e;
        const std::string name = {char(file[e]), char(file[e + 2]), char(file[e + 4])};
        if (name == "Wor") {
            foundWorkbook = true;
            EXPECT_GE(U32At(file, e + 0x78), 4096u);
        }
    }
    EXPECT_TRUE(foundWorkbook);

    // A tiny workbook is padded so that it does not go into the small-block area either.
    Workbook small;
    small.AddSheet("Sheet1");
    const Bytes stream = xls::WriteWorkbookStream(small);
    ASSERT_LT(stream.size(), 4096u);
    EXPECT_EQ(xls::UnpackCompoundFile(xls::PackCompoundFile(stream)).size(), 4096u);
}

TEST_F(XlsFileTest, RecordsCarryTheSheetDefaultPrintSetupAndRecalculation) {
    const Workbook book = sample::BudgetWorkbook();
    const Bytes stream = xls::WriteWorkbookStream(book);
    const auto globals = Substream(stream, 0);
    ASSERT_EQ(globals.front().id, rec::kBof);

    std::vector<std::uint32_t> sheetOffsets;
    int paletteCount = 0, printAreaNames = 0;
    for (const auto& r : globals) {
        EXPECT_LE(r.data.size(), xls::kMaxRecordData);
        if (r.id == rec::kCodePage) {
            EXPECT_EQ(U16At(r.data, 0), 1200);
        }
        if (r.id == rec::kBoundSheet) sheetOffsets.push_back(U32At(r.data, 0));
        if (r.id == rec::kPalette) {
            ++paletteCount;
            ASSERT_EQ(U16At(r.data, 0), 56);
            EXPECT_EQ(r.data[2 + 38 * 4], 224);  // entry 39, red
            EXPECT_EQ(r.data[2 + 38 * 4 + 2], 215);
        }
        if (r.id == rec::kName) {
            ++printAreaNames;
            EXPECT_EQ(U16At(r.data, 0), 0x0020);  // built-in
            EXPECT_EQ(r.data[15], 0x06);          // Print_Area
            EXPECT_EQ(r.data[16], 0x3B);          // ptgArea3d
            EXPECT_EQ(U16At(r.data, 19), 0);      // A1:J73: rows 0 to 72, columns 0 to 9
            EXPECT_EQ(U16At(r.data, 21), 72);
            EXPECT_EQ(U16At(r.data, 23), 0);
            EXPECT_EQ(U16At(r.data, 25), 9);
        }
    }
    EXPECT_EQ(paletteCount, 1);
    EXPECT_EQ(printAreaNames, 1);
    ASSERT_EQ(sheetOffsets.size(), 1u);

    const auto sheet = Substream(stream, sheetOffsets[0]);
    ASSERT_EQ(sheet.front().id, rec::kBof);
    EXPECT_EQ(U16At(sheet.front().data, 2), xls::kBofWorksheet);
    const std::uint16_t defaultXf =
        static_cast<std::uint16_t>(xls::kStyleXfCount + book.Sheets()[0]->DefaultFormat());
    std::vector<int> columnXf(256, -1);
    int rows = 0, formulas = 0;
    for (const auto& r : sheet) {
        EXPECT_LE(r.data.size(), xls::kMaxRecordData);
        switch (r.id) {
            case rec::kSaveRecalc:
                EXPECT_EQ(U16At(r.data, 0), 1);
                break;
            case rec::kWsBool:
                EXPECT_TRUE(U16At(r.data, 0) & 0x0100);
                break;  // fit to pages
            case rec::kSetup:
                EXPECT_EQ(U16At(r.data, 0), 9);            // A4
                EXPECT_EQ(U16At(r.data, 6), 1);            // one page wide
                EXPECT_EQ(U16At(r.data, 8), 1);            // one page tall
                EXPECT_EQ(U16At(r.data, 10) & 0x0006, 2);  // portrait, settings valid
                break;
            case rec::kLeftMargin:
                EXPECT_EQ(F64At(r.data, 0), 0.7);
                break;
            case rec::kTopMargin:
                EXPECT_EQ(F64At(r.data, 0), 0.5);
                break;
            case rec::kColInfo:
                for (int c = U16At(r.data, 0); c <= U16At(r.data, 2); ++c)
                    columnXf[c] = U16At(r.data, 6);
                break;
            case rec::kRow:
                ++rows;
                EXPECT_EQ(U16At(r.data, 12) & 0x0180, 0x0180);  // has the sheet's format
                EXPECT_EQ(U16At(r.data, 14) & 0x0FFF, defaultXf);
                break;
            case rec::kFormula:
                ++formulas;
                EXPECT_EQ(U16At(r.data, 14) & 0x0001, 1);  // always recalculated
                break;
            default:
                break;
        }
    }
    EXPECT_EQ(columnXf, std::vector<int>(256, defaultXf));
    EXPECT_EQ(rows, 300);
    EXPECT_GT(formulas, 70);
}

// Texts long and many enough to fill several CONTINUE records, in one-byte and two-byte
// form, plus the EXTSST index into them.
TEST_F(XlsFileTest, LongAndUnicodeTextsSurviveContinueRecords) {
    Workbook book;
    Worksheet& sheet = book.AddSheet("Übersicht");
    std::vector<std::string> texts = {"", "Grüße €uro", "😀 outside the basic plane", "日本語"};
    for (int i = 0; i < 400; ++i) {
        std::string t = "text " + std::to_string(i) + " ";
        t +=
            std::string(static_cast<std::size_t>((i * 37) % 3000), static_cast<char>('a' + i % 26));
        if (i % 3 == 0) t += "€";  // two-byte characters from here on
        texts.push_back(t);
    }
    texts.push_back(std::string(32767, 'x'));
    texts.push_back(std::string(32766, 'y') + "ж");
    for (std::size_t i = 0; i < texts.size(); ++i)
        sheet.At({static_cast<int>(i), 0}).content = texts[i];
    // A text used twice is stored once.
    sheet.At({static_cast<int>(texts.size()), 1}).content = texts[5];

    const Bytes stream = xls::WriteWorkbookStream(book);
    // The EXTSST entries point at the starts of strings: the count field of each bucket's
    // first string, inside the record whose header the second offset counts back to.
    const auto globals = Substream(stream, 0);
    for (const auto& r : globals) {
        EXPECT_LE(r.data.size(), xls::kMaxRecordData);
        if (r.id != rec::kExtSst) continue;
        const std::size_t perBucket = U16At(r.data, 0);
        EXPECT_GE(perBucket, 8u);
        const std::size_t buckets = (r.data.size() - 2) / 8;
        EXPECT_EQ(buckets, (texts.size() + perBucket - 1) / perBucket);
        for (std::size_t b = 0; b < buckets; ++b) {
            const std::uint32_t at = U32At(r.data, 2 + 8 * b);
            const std::uint16_t inRecord = U16At(r.data, 6 + 8 * b);
            const std::size_t recordStart = at - inRecord;
            const std::uint16_t id = U16At(stream, recordStart);
            EXPECT_TRUE(id == rec::kSst || id == rec::kContinue);
            const std::u16string expected = Utf16FromUtf8(texts[b * perBucket]);
            EXPECT_EQ(U16At(stream, at), expected.size()) << "bucket " << b;
        }
    }

    const Workbook back = xls::ReadWorkbookStream(stream);
    ExpectSameWorkbook(book, back);
    EXPECT_EQ(back.Sheets()[0]->Name(), "Übersicht");

    sheet.At({0, 2}).content = std::string(32768, 'z');
    EXPECT_THROW(xls::WriteWorkbookStream(book), EngineError);
}

// A character beyond U+FFFF is two UTF-16 units; a reader that decodes each record's
// characters on its own (xlrd) cannot join a pair split between records. Texts of emoji at
// every offset make records end at every place in them.
TEST_F(XlsFileTest, NoContinueRecordStartsInsideACharacter) {
    Workbook book;
    Worksheet& sheet = book.AddSheet("Emoji");
    std::vector<std::string> texts;
    std::string emoji;
    for (int i = 0; i < 4100; ++i) emoji += "\xF0\x9F\x98\x80";  // U+1F600
    texts.push_back(emoji);
    texts.push_back("\xD0\xB6" + emoji);  // one unit more in front
    for (int g = 0; g < 30; ++g)
        for (int i = 0; i < 20; ++i)
            texts.push_back("\xF0\x9F\x8F\xA0 " + std::to_string(g) + "-" + std::to_string(i));
    for (std::size_t i = 0; i < texts.size(); ++i)
        sheet.At({static_cast<int>(i), 0}).content = texts[i];

    const Bytes stream = xls::WriteWorkbookStream(book);
    int continues = 0;
    for (const auto& r : Substream(stream, 0)) {
        if (r.id != rec::kContinue || r.data.size() < 3 || r.data[0] != 0x01) continue;
        ++continues;
        const std::uint16_t first = U16At(r.data, 1);  // after the repeated flags byte
        EXPECT_FALSE(first >= 0xDC00 && first <= 0xDFFF) << "CONTINUE at " << r.offset;
    }
    EXPECT_GE(continues, 2);
    ExpectSameWorkbook(book, xls::ReadWorkbookStream(stream));
}

// A text with bad UTF-8 is saved as the codec reads it, and texts that read the same share
// one entry of the shared-string table, the well-formed one included.
TEST_F(XlsFileTest, TextsThatDifferOnlyInBadBytesShareOneEntry) {
    Workbook book;
    Worksheet& sheet = book.AddSheet("S");
    const std::string replaced = "a\xEF\xBF\xBD";  // "a" and U+FFFD
    sheet.At({0, 0}).content = std::string("a\xFF");
    sheet.At({1, 0}).content = std::string("a\xFE");
    sheet.At({2, 0}).content = replaced;
    sheet.At({3, 0}).content = std::string("b");
    const Bytes stream = xls::WriteWorkbookStream(book);
    bool found = false;
    for (const xls::Record& r : Substream(stream, 0)) {
        if (r.id != rec::kSst) continue;
        found = true;
        EXPECT_EQ(U32At(r.data, 0), 4u);  // uses
        EXPECT_EQ(U32At(r.data, 4), 2u);  // entries
    }
    EXPECT_TRUE(found);
    const Workbook back = xls::ReadWorkbookStream(stream);
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(TextOf(back.Sheets()[0]->Find({row, 0})), replaced) << row;
    EXPECT_EQ(TextOf(back.Sheets()[0]->Find({3, 0})), "b");
}

TEST_F(XlsFileTest, NumbersKeepEveryBit) {
    Workbook book;
    Worksheet& sheet = book.AddSheet("N");
    const std::vector<double> numbers = {
        0.0,        -0.0,      1.0,      -1.0, 3000.0,      0.1,          123.45,
        -0.01,      1e300,     -1e-300,  0.5,  536870911.0, -536870912.0, 536870912.0,
        5368709.11, 1.0 / 3.0, 4.9e-324, 2.5,  1e15 + 0.5,  -123456.78};
    for (std::size_t i = 0; i < numbers.size(); ++i)
        sheet.At({static_cast<int>(i), 0}).content = numbers[i];
    const Workbook back = xls::ReadWorkbookStream(xls::WriteWorkbookStream(book));
    ExpectSameWorkbook(book, back);
}

TEST_F(XlsFileTest, FormulaResultsOfEveryKindAreKept) {
    Workbook book;
    Worksheet& sheet = book.AddSheet("F");
    const std::vector<Value> results = {Value(3100.0),
                                        Value(std::string("a text result")),
                                        Value(std::string()),
                                        Value(std::string(20000, 'q') + "€"),  // STRING + CONTINUE
                                        Value(true),
                                        Value(false),
                                        Value(ErrorCode::Div0),
                                        Value(ErrorCode::Ref),
                                        Value()};
    for (std::size_t i = 0; i < results.size(); ++i) {
        Cell& cell = sheet.At({static_cast<int>(i), 1});
        cell.content = ParseFormulaR1C1("=R1C1+1");
        cell.SetCached(results[i]);
    }
    const Bytes stream = xls::WriteWorkbookStream(book);
    const Workbook back = xls::ReadWorkbookStream(stream);
    ExpectSameWorkbook(book, back);
    EXPECT_EQ(back.Sheets()[0]->Find({3, 1})->Cached(), results[3]);

    // A number the file cannot hold is saved as #NUM!.
    sheet.At({0, 1}).SetCached(std::nan(""));
    const Workbook nan = xls::ReadWorkbookStream(xls::WriteWorkbookStream(book));
    EXPECT_EQ(nan.Sheets()[0]->Find({0, 1})->Cached(), Value(ErrorCode::Num));
}

TEST_F(XlsFileTest, SeveralSheetsKeepTheirOrderSettingsAndTheActiveSheet) {
    Workbook book;
    book.AddSheet("First");
    Worksheet& second = book.AddSheet("Second");
    book.AddSheet("Third").At({2, 2}).content = 7.0;
    second.printArea = ParseA1Range("B2:D9");
    second.pageSetup.portrait = false;
    second.pageSetup.zoom = 80;
    second.pageSetup.printComments = true;
    second.selection = ParseA1Range("C3:E5");
    second.activeCell = {3, 3};
    second.SetColumnWidth(0, 0);  // hidden
    second.SetRowHeight(4, 0);
    second.SetRowHeight(5, 409);
    second.At({1, 1}).content = "x";
    book.activeSheet = 1;
    SaveXls(book, Path("m.xls"));
    const Workbook back = LoadXls(Path("m.xls"));
    ExpectSameWorkbook(book, back);
    EXPECT_FALSE(back.Sheets()[0]->printArea.has_value());
    EXPECT_EQ(back.Sheets()[1]->ColumnWidth(0), 0.0);
}

// Formats that differ only where the file cannot (a font size between two twips, a colour
// that is no palette entry) are written as one XF, so a second save gives the same bytes.
TEST_F(XlsFileTest, FormatsTheFileCannotTellApartBecomeOne) {
    Workbook book;
    Worksheet& sheet = book.AddSheet("S");
    CellFormat a, b, c;
    a.font.size = 10.51;  // both 210 twips
    b.font.size = 10.52;
    c.font.bold = true;
    c.font.colorIndex = 99;  // automatic
    c.fill = 77;             // none
    sheet.At({0, 0}).format = book.AddFormat(a);
    sheet.At({0, 1}).format = book.AddFormat(b);
    sheet.At({0, 2}).format = book.AddFormat(c);
    ASSERT_EQ(book.Formats().size(), 4u);
    SaveXls(book, Path("a.xls"));
    const Workbook back = LoadXls(Path("a.xls"));
    EXPECT_EQ(back.Formats().size(), 3u);
    SaveXls(back, Path("b.xls"));
    EXPECT_EQ(ReadBytes(Path("a.xls")), ReadBytes(Path("b.xls")));
}

TEST_F(XlsFileTest, FailedSavesNameThePathAndLeaveExistingFilesAlone) {
    const Workbook book = sample::BudgetWorkbook();
    const std::string missing = Path("no/such/folder/x.xls");
    try {
        SaveXls(book, missing);
        FAIL() << "saved into a missing folder";
    } catch (const EngineError& e) {
        EXPECT_NE(std::string(e.what()).find(missing), std::string::npos) << e.what();
    }
    EXPECT_THROW(SaveXls(book, dir_.path().toStdString()), EngineError);  // a folder

    // A workbook that cannot be written does not touch the file already there.
    SaveXls(book, Path("keep.xls"));
    const Bytes before = ReadBytes(Path("keep.xls"));
    Workbook bad;
    bad.AddSheet("S").At({0, 0}).content = std::string(40000, 'x');
    EXPECT_THROW(SaveXls(bad, Path("keep.xls")), EngineError);
    EXPECT_THROW(SaveXls(Workbook{}, Path("keep.xls")), EngineError);  // no sheet
    EXPECT_EQ(ReadBytes(Path("keep.xls")), before);
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files).size(), 1);  // no temporary left
}

// Saving hands the stream to the container a piece at a time and writes the container
// straight to its file. The file must be the one that packing the whole stream gives, for
// a tiny workbook (padded), and for one whose sheets are large enough to be handed on in
// many pieces while the sheet offsets before them are still being filled in.
TEST_F(XlsFileTest, SavingInPiecesGivesTheBytesOfTheWholeStream) {
    auto properties = [](const Workbook& book) {
        const std::int64_t now = DocumentTimeNow();
        return std::vector<xls::NamedStream>{
            {xls::kSummaryStreamName,
             xls::WriteSummaryInformation(
                 {.title = book.title, .application = "Quillmere", .created = now, .saved = now})},
            {xls::kDocumentSummaryStreamName, xls::WriteDocumentSummaryInformation()}};
    };
    Workbook tiny;
    tiny.AddSheet("Sheet1");
    Workbook large;
    large.title = "Large";
    for (const char* name : {"One", "Two", "Three"}) {
        Worksheet& sheet = large.AddSheet(name);
        for (int r = 0; r < 9000; ++r) {
            sheet.At({r, 0}).content = "Row " + std::to_string(r % 700) + " of " + name;
            sheet.At({r, 1}).content = r * 1.25;
            sheet.At({r, 2}).format = 0;
        }
    }
    large.activeSheet = 2;
    for (const Workbook* book : {&tiny, &large}) {
        const Bytes whole = xls::WriteWorkbookStream(*book);
        Bytes pieces;
        int count = 0;
        xls::WriteWorkbookStream(*book, [&](std::span<const std::uint8_t> piece) {
            pieces.insert(pieces.end(), piece.begin(), piece.end());
            ++count;
        });
        EXPECT_EQ(pieces, whole);
        if (book == &large) {
            EXPECT_GT(count, 2);
        }

        SaveXls(*book, Path("saved.xls"));
        EXPECT_EQ(ReadBytes(Path("saved.xls")), xls::PackCompoundFile(whole, properties(*book)));
    }
}

// A save that fails once the file is half written leaves the old file and no other.
TEST_F(XlsFileTest, ASaveThatFailsMidwayLeavesTheOldFile) {
    SaveXls(sample::BudgetWorkbook(), Path("keep.xls"));
    const Bytes before = ReadBytes(Path("keep.xls"));
    Workbook bad;
    Worksheet& sheet = bad.AddSheet("S");
    for (int r = 0; r < 60000; ++r) sheet.At({r, 0}).content = r + 0.5;
    sheet.At({60000, 0}).format = 999;  // no such format: found only when its row is written
    int pieces = 0;
    EXPECT_THROW(xls::WriteWorkbookStream(bad, [&](std::span<const std::uint8_t>) { ++pieces; }),
                 EngineError);
    EXPECT_GT(pieces, 0);  // the failure comes after part of the stream has left
    EXPECT_THROW(SaveXls(bad, Path("keep.xls")), EngineError);
    EXPECT_EQ(ReadBytes(Path("keep.xls")), before);
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST(XlsUnits, ColumnWidthsCarryTheirPaddingAndComeBackExactly) {
    // A standard column (8.43 characters of Arial 10) is 2340 units, padding included.
    EXPECT_EQ(xls::ColumnWidthToUnits(8.43), 2340);
    EXPECT_EQ(xls::ColumnWidthToUnits(0), 0);
    for (const double w : {1.0, 2.14, 12.34, 31.29, 255.0}) {
        const std::uint16_t units = xls::ColumnWidthToUnits(w);
        EXPECT_NEAR(xls::ColumnWidthFromUnits(units), w, 1.0 / 256);
        EXPECT_EQ(xls::ColumnWidthToUnits(xls::ColumnWidthFromUnits(units)), units);
    }
}

}  // namespace
}  // namespace quill::spreadsheet::xls
