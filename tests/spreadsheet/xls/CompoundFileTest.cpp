// The container of a saved workbook checked against the compound-file rules by a reader of
// our own that trusts nothing libgsf or the engine say: the header, every sector accounted
// for exactly once in the allocation tables, chains that end and do not loop, stream sizes
// that match their chains, the directory as a red-black tree in the format's name order with
// unused entries set to "no stream", and the two property sets with their values.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "XlsSampleWorkbook.h"
#include "spreadsheet/core/FileSupport.h"
#include "spreadsheet/xls/PropertySets.h"
#include "spreadsheet/xls/XlsContainer.h"
#include "spreadsheet/xls/XlsFile.h"
#include "spreadsheet/xls/XlsStream.h"
#include "support/ScopedSettings.h"

namespace quill::spreadsheet {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kFree = 0xFFFFFFFF;  // also "no stream" in directory links
constexpr std::uint32_t kEnd = 0xFFFFFFFE;
constexpr std::uint32_t kFatSector = 0xFFFFFFFD;
constexpr std::uint32_t kDifatSector = 0xFFFFFFFC;

std::uint16_t U16(const Bytes& d, std::size_t at) {
    return static_cast<std::uint16_t>(d.at(at) | (d.at(at + 1) << 8));
}
std::uint32_t U32(const Bytes& d, std::size_t at) {
    return U16(d, at) | (std::uint32_t{U16(d, at + 2)} << 16);
}
std::uint64_t U64(const Bytes& d, std::size_t at) {
    return U32(d, at) | (std::uint64_t{U32(d, at + 4)} << 32);
}

struct Entry {
    std::u16string name;
    std::uint16_t nameBytes = 0;
    std::uint8_t type = 0, colour = 0;
    std::uint32_t left = 0, right = 0, child = 0, start = 0;
    std::uint64_t size = 0;
};

// The container taken apart with every rule checked on the way (through gtest failures).
class Container {
  public:
    explicit Container(Bytes file) : d_(std::move(file)) {}

    void Check() {
        ASSERT_GE(d_.size(), 1024u);
        EXPECT_EQ(U64(d_, 0), 0xE11AB1A1E011CFD0u) << "signature";
        for (std::size_t i = 8; i < 24; ++i) EXPECT_EQ(d_[i], 0) << "header class id";
        EXPECT_EQ(U16(d_, 0x18), 0x3E) << "minor version";
        EXPECT_EQ(U16(d_, 0x1A), 3) << "major version";
        EXPECT_EQ(U16(d_, 0x1C), 0xFFFE) << "byte order";
        ASSERT_EQ(U16(d_, 0x1E), 9) << "512-byte sectors";
        EXPECT_EQ(U16(d_, 0x20), 6) << "64-byte mini sectors";
        for (std::size_t i = 0x22; i < 0x2C; ++i) EXPECT_EQ(d_[i], 0) << "reserved";
        EXPECT_EQ(U32(d_, 0x38), 4096u) << "mini stream cut-off";
        ASSERT_EQ((d_.size() - 512) % 512, 0u) << "whole sectors";
        sectors_ = (d_.size() - 512) / 512;

        // The allocation table: its sectors listed in the header (and DIFAT sectors).
        std::vector<std::uint32_t> fatSectors;
        for (int i = 0; i < 109; ++i) fatSectors.push_back(U32(d_, 0x4C + 4 * i));
        std::vector<std::uint32_t> difat;
        for (std::uint32_t s = U32(d_, 0x44); s != kEnd && s != kFree;
             s = U32(d_, Sector(s) + 508)) {
            ASSERT_LT(difat.size(), sectors_);
            difat.push_back(s);
            for (int i = 0; i < 127; ++i) fatSectors.push_back(U32(d_, Sector(s) + 4 * i));
        }
        EXPECT_EQ(U32(d_, 0x48), difat.size());
        const std::uint32_t fatCount = U32(d_, 0x2C);
        ASSERT_LE(fatCount, fatSectors.size());
        for (std::size_t i = fatCount; i < fatSectors.size(); ++i)
            EXPECT_EQ(fatSectors[i], kFree) << "unused FAT slot " << i;
        for (std::uint32_t i = 0; i < fatCount; ++i) {
            ASSERT_LT(fatSectors[i], sectors_);
            for (int k = 0; k < 128; ++k) fat_.push_back(U32(d_, Sector(fatSectors[i]) + 4 * k));
        }
        ASSERT_GE(fat_.size(), sectors_) << "every sector has a FAT entry";
        for (std::size_t s = sectors_; s < fat_.size(); ++s) EXPECT_EQ(fat_[s], kFree);
        for (std::uint32_t s :
             std::vector<std::uint32_t>(fatSectors.begin(), fatSectors.begin() + fatCount)) {
            Use(s, "FAT");
            EXPECT_EQ(fat_[s], kFatSector);
        }
        for (std::uint32_t s : difat) {
            Use(s, "DIFAT");
            EXPECT_EQ(fat_[s], kDifatSector);
        }

        // The directory and the mini-stream allocation table.
        const std::vector<std::uint32_t> dirChain = Chain(U32(d_, 0x30), "directory");
        Bytes dir;
        for (std::uint32_t s : dirChain)
            dir.insert(dir.end(), d_.begin() + Sector(s), d_.begin() + Sector(s) + 512);
        EXPECT_EQ(U32(d_, 0x28), 0u) << "directory sector count is 0 in version 3";
        for (std::size_t e = 0; e + 128 <= dir.size(); e += 128) ReadEntry(dir, e);
        const std::vector<std::uint32_t> miniFatChain = Chain(U32(d_, 0x3C), "mini FAT");
        EXPECT_EQ(U32(d_, 0x40), miniFatChain.size());
        for (std::uint32_t s : miniFatChain)
            for (int k = 0; k < 128; ++k) miniFat_.push_back(U32(d_, Sector(s) + 4 * k));

        ASSERT_FALSE(entries_.empty());
        const Entry& root = entries_[0];
        EXPECT_EQ(root.type, 5) << "root entry";
        EXPECT_EQ(root.name, u"Root Entry");
        EXPECT_EQ(root.left, kFree);
        EXPECT_EQ(root.right, kFree);
        const std::vector<std::uint32_t> miniChain =
            root.size > 0 ? Chain(root.start, "mini stream") : std::vector<std::uint32_t>{};
        EXPECT_EQ(miniChain.size(), (root.size + 511) / 512);
        for (std::uint32_t s : miniChain)
            ministream_.insert(ministream_.end(), d_.begin() + Sector(s),
                               d_.begin() + Sector(s) + 512);

        CheckTree();
        // Stream contents; their chains claim their sectors.
        std::vector<bool> miniUsed(miniFat_.size(), false);
        for (std::size_t i = 1; i < entries_.size(); ++i) {
            const Entry& e = entries_[i];
            if (e.type != 2) continue;
            const std::string name(e.name.begin(), e.name.end());
            Bytes bytes;
            if (e.size >= 4096) {
                const auto chain = Chain(e.start, name.c_str());
                EXPECT_EQ(chain.size(), (e.size + 511) / 512) << name;
                for (std::uint32_t s : chain)
                    bytes.insert(bytes.end(), d_.begin() + Sector(s), d_.begin() + Sector(s) + 512);
            } else {
                std::size_t links = 0;
                for (std::uint32_t s = e.start; s != kEnd; s = miniFat_.at(s), ++links) {
                    ASSERT_LT(s, miniFat_.size()) << name;
                    ASSERT_FALSE(miniUsed[s]) << name << " mini sector " << s << " twice";
                    miniUsed[s] = true;
                    ASSERT_LE((s + 1) * 64u, ministream_.size());
                    bytes.insert(bytes.end(), ministream_.begin() + s * 64,
                                 ministream_.begin() + (s + 1) * 64);
                }
                EXPECT_EQ(links, (e.size + 63) / 64) << name;
            }
            bytes.resize(e.size);
            streams_[name] = bytes;
        }
        for (std::size_t s = 0; s < miniFat_.size(); ++s)
            if (!miniUsed[s]) {
                EXPECT_EQ(miniFat_[s], kFree) << "mini sector " << s << " leaks";
            }
        EXPECT_LE(ministream_.size() / 64, miniFat_.size());
        EXPECT_GE(root.size, 64 * std::count(miniUsed.begin(), miniUsed.end(), true));
        for (std::size_t s = 0; s < sectors_; ++s)
            if (!used_.count(s)) {
                EXPECT_EQ(fat_[s], kFree) << "sector " << s << " is used by nothing";
            }
    }

    const Bytes* Stream(const std::string& name) const {
        auto it = streams_.find(name);
        return it == streams_.end() ? nullptr : &it->second;
    }
    const std::vector<Entry>& Entries() const { return entries_; }

  private:
    std::size_t Sector(std::uint32_t s) const { return 512 + std::size_t{s} * 512; }

    void Use(std::uint32_t s, const char* what) {
        EXPECT_LT(s, sectors_) << what;
        EXPECT_TRUE(used_.insert(s).second) << what << ": sector " << s << " used twice";
    }

    std::vector<std::uint32_t> Chain(std::uint32_t start, const char* what) {
        std::vector<std::uint32_t> chain;
        for (std::uint32_t s = start; s != kEnd; s = fat_[s]) {
            if (s >= sectors_ || chain.size() > sectors_) {
                ADD_FAILURE() << what << ": broken chain at " << s;
                break;
            }
            Use(s, what);
            chain.push_back(s);
        }
        return chain;
    }

    void ReadEntry(const Bytes& dir, std::size_t e) {
        Entry entry;
        entry.nameBytes = U16(dir, e + 0x40);
        entry.type = dir[e + 0x42];
        entry.colour = dir[e + 0x43];
        entry.left = U32(dir, e + 0x44);
        entry.right = U32(dir, e + 0x48);
        entry.child = U32(dir, e + 0x4C);
        entry.start = U32(dir, e + 0x74);
        entry.size = U64(dir, e + 0x78);
        const std::size_t index = e / 128;
        if (entry.type == 0) {
            // Unused: zeros but for the three links, which say "no stream".
            EXPECT_EQ(entry.left, kFree) << "unused entry " << index;
            EXPECT_EQ(entry.right, kFree) << "unused entry " << index;
            EXPECT_EQ(entry.child, kFree) << "unused entry " << index;
            for (std::size_t k = 0; k < 128; ++k)
                if (k < 0x44 || k >= 0x50) {
                    EXPECT_EQ(dir[e + k], 0) << "unused entry " << index;
                }
        } else {
            EXPECT_TRUE(entry.type == 1 || entry.type == 2 || entry.type == 5) << index;
            EXPECT_LE(entry.colour, 1) << index;
            EXPECT_TRUE(entry.nameBytes >= 2 && entry.nameBytes <= 64 && entry.nameBytes % 2 == 0);
            for (std::size_t i = 0; i + 2 < entry.nameBytes; i += 2)
                entry.name += char16_t(U16(dir, e + i));
            EXPECT_EQ(U16(dir, e + entry.nameBytes - 2), 0) << "name ends in a zero";
            EXPECT_EQ(entry.name.find(u'\0'), std::u16string::npos);
            for (std::size_t k = 0x64; k < 0x74; ++k) EXPECT_EQ(dir[e + k], 0) << "no time stamps";
            if (entry.type == 2) {
                EXPECT_EQ(entry.child, kFree) << "a stream has no children";
            }
        }
        entries_.push_back(entry);
    }

    static std::u16string Upper(std::u16string s) {
        for (char16_t& c : s)
            if (c >= u'a' && c <= u'z') c = char16_t(c - u'a' + u'A');
        return s;
    }
    bool Less(std::uint32_t a, std::uint32_t b) const {
        const Entry &x = entries_[a], &y = entries_[b];
        if (x.name.size() != y.name.size()) return x.name.size() < y.name.size();
        return Upper(x.name) < Upper(y.name);
    }

    // Walks a sibling tree: search order, red-black colouring, each entry reached once.
    // Returns the black height, or -1 after a failure.
    int Walk(std::uint32_t node, std::optional<std::uint32_t> low,
             std::optional<std::uint32_t> high, bool parentRed) {
        if (node == kFree) return 1;
        if (node >= entries_.size() || entries_[node].type == 0) {
            ADD_FAILURE() << "link to entry " << node << " which is not in use";
            return -1;
        }
        if (!reached_.insert(node).second) {
            ADD_FAILURE() << "entry " << node << " reached twice";
            return -1;
        }
        const Entry& e = entries_[node];
        if (low) {
            EXPECT_TRUE(Less(*low, node)) << "entry " << node << " out of name order";
        }
        if (high) {
            EXPECT_TRUE(Less(node, *high)) << "entry " << node << " out of name order";
        }
        const bool red = e.colour == 0;
        EXPECT_FALSE(red && parentRed) << "red entry " << node << " under a red one";
        const int l = Walk(e.left, low, node, red);
        const int r = Walk(e.right, node, high, red);
        EXPECT_EQ(l, r) << "black heights differ below entry " << node;
        if (e.child != kFree) CheckStorage(e);
        return l < 0 || r < 0 ? -1 : l + (red ? 0 : 1);
    }
    void CheckStorage(const Entry& storage) {
        if (storage.child == kFree) return;
        EXPECT_NE(storage.type, 2);
        EXPECT_EQ(entries_.at(storage.child).colour, 1) << "the root of a tree is black";
        Walk(storage.child, std::nullopt, std::nullopt, false);
    }
    void CheckTree() {
        reached_.insert(0);
        CheckStorage(entries_[0]);
        for (std::uint32_t i = 0; i < entries_.size(); ++i)
            if (entries_[i].type != 0) {
                EXPECT_TRUE(reached_.count(i)) << "entry " << i << " unreachable";
            }
    }

    Bytes d_;
    std::size_t sectors_ = 0;
    std::vector<std::uint32_t> fat_, miniFat_;
    std::set<std::size_t> used_;
    std::vector<Entry> entries_;
    std::set<std::uint32_t> reached_;
    Bytes ministream_;
    std::map<std::string, Bytes> streams_;
};

// One section of a property-set stream: property identifier to (type, value offset).
struct Section {
    std::map<std::uint32_t, std::pair<std::uint16_t, std::size_t>> properties;
};
Section CheckPropertySet(const Bytes& s, const std::uint8_t (&formatId)[16]) {
    Section out;
    EXPECT_GE(s.size(), 56u);
    if (s.size() < 56) return out;
    EXPECT_EQ(U16(s, 0), 0xFFFE) << "byte order";
    EXPECT_EQ(U16(s, 2), 0) << "version";
    EXPECT_EQ(U32(s, 24), 1u) << "one section";
    EXPECT_EQ(std::memcmp(s.data() + 28, formatId, 16), 0) << "format identifier";
    const std::size_t section = U32(s, 44);
    EXPECT_EQ(section, 48u);
    const std::uint32_t size = U32(s, section);
    EXPECT_EQ(section + size, s.size()) << "the section fills the stream";
    EXPECT_EQ(size % 4, 0u);
    const std::uint32_t count = U32(s, section + 4);
    EXPECT_LE(8 + 8 * count, size);
    std::uint32_t previous = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t id = U32(s, section + 8 + 8 * i);
        const std::uint32_t offset = U32(s, section + 12 + 8 * i);
        EXPECT_GT(id, previous) << "identifiers in increasing order";
        previous = id;
        EXPECT_EQ(offset % 4, 0u) << "property " << id << " is not on a four-byte boundary";
        EXPECT_LE(offset + 8, size) << "property " << id;
        EXPECT_GE(offset, 8 + 8 * count) << "property " << id << " overlaps the table";
        if (offset + 8 > size) continue;
        EXPECT_EQ(U16(s, section + offset + 2), 0) << "padding after the type of " << id;
        out.properties[id] = {U16(s, section + offset), section + offset + 4};
    }
    // Property 1, the code page, is in every property set.
    EXPECT_EQ(out.properties[1].first, 0x0002);
    if (out.properties[1].first == 0x0002) {
        EXPECT_EQ(U16(s, out.properties[1].second), 1252);
    }
    return out;
}

std::string TextProperty(const Bytes& s, const Section& section, std::uint32_t id) {
    const auto it = section.properties.find(id);
    if (it == section.properties.end() || it->second.first != 0x1E) return "<missing>";
    const std::size_t at = it->second.second;
    const std::uint32_t length = U32(s, at);
    if (length == 0 || at + 4 + length > s.size() || s[at + 4 + length - 1] != 0) return "<bad>";
    return std::string(s.begin() + at + 4, s.begin() + at + 4 + length - 1);
}

std::uint64_t TimeProperty(const Bytes& s, const Section& section, std::uint32_t id) {
    const auto it = section.properties.find(id);
    if (it == section.properties.end() || it->second.first != 0x40) return 0;
    return U64(s, it->second.second);
}

const std::uint8_t kSummaryId[16] = {0xE0, 0x85, 0x9F, 0xF2, 0xF9, 0x4F, 0x68, 0x10,
                                     0xAB, 0x91, 0x08, 0x00, 0x2B, 0x27, 0xB3, 0xD9};
const std::uint8_t kDocumentSummaryId[16] = {0x02, 0xD5, 0xCD, 0xD5, 0x9C, 0x2E, 0x1B, 0x10,
                                             0x93, 0x97, 0x08, 0x00, 0x2B, 0x2C, 0xF9, 0xAE};

Bytes ReadFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray data = f.readAll();
    return Bytes(data.begin(), data.end());
}

TEST(CompoundFile, SavedWorkbooksFollowTheContainerRulesAndCarryTheirProperties) {
    QTemporaryDir dir;
    // The tests run with SOURCE_DATE_EPOCH set (see TestMain), so both times are known.
    const std::int64_t epoch = std::atoll(std::getenv("SOURCE_DATE_EPOCH"));
    Workbook small;
    small.AddSheet("Sheet1");
    Workbook budget = sample::BudgetWorkbook();
    budget.title = "Personal Finance";
    Workbook big = sample::LargeWorkbook(3000);  // a workbook stream of many sectors
    big.title = "Préstamos \"2024\" ☃";
    for (const auto* book : {&small, &budget, &big}) {
        const QString path = dir.filePath("w.xls");
        SaveXls(*book, path.toStdString());
        Container container(ReadFile(path));
        container.Check();
        if (::testing::Test::HasFatalFailure()) return;

        const Bytes* workbook = container.Stream("Workbook");
        ASSERT_NE(workbook, nullptr);
        Bytes expected = xls::WriteWorkbookStream(*book);
        expected.resize(std::max<std::size_t>(expected.size(), 4096), 0);
        EXPECT_EQ(*workbook, expected);

        const Bytes* summary = container.Stream("\005SummaryInformation");
        ASSERT_NE(summary, nullptr);
        const Section s = CheckPropertySet(*summary, kSummaryId);
        EXPECT_EQ(TextProperty(*summary, s, 0x12), "Quillmere");
        const std::uint64_t fileTime = (epoch + 11644473600ull) * 10000000ull;
        EXPECT_EQ(TimeProperty(*summary, s, 0x0C), fileTime) << "created";
        EXPECT_EQ(TimeProperty(*summary, s, 0x0D), fileTime) << "last saved";
        EXPECT_EQ(xls::ReadSummaryTitle(*summary),
                  book == &big ? "Pr\xC3\xA9stamos \"2024\" ?" : book->title);
        if (book == &budget) {
            EXPECT_EQ(TextProperty(*summary, s, 0x02), "Personal Finance");
        }

        const Bytes* document = container.Stream("\005DocumentSummaryInformation");
        ASSERT_NE(document, nullptr);
        CheckPropertySet(*document, kDocumentSummaryId);
    }
}

TEST(CompoundFile, DirectoriesOfOneToManyStreamsAreRedBlackTrees) {
    // Unused entries appear when a directory sector is not full; trees of every size up to
    // a few levels.
    for (std::size_t count = 0; count <= 12; ++count) {
        SCOPED_TRACE(count);
        std::vector<xls::NamedStream> others;
        for (std::size_t i = 0; i < count; ++i)
            others.push_back({std::string(1 + i % 5, char('a' + i)), Bytes(100 + i * 10, 7)});
        Container container(xls::PackCompoundFile(Bytes(5000, 1), others));
        container.Check();
        for (const auto& other : others) {
            const Bytes* stream = container.Stream(other.name);
            ASSERT_NE(stream, nullptr) << other.name;
            EXPECT_EQ(*stream, other.bytes);
        }
    }
}

TEST(CompoundFile, TitleAndTimesComeBackAndFilesWithoutPropertiesStillRead) {
    QTemporaryDir dir;
    Workbook book = sample::BudgetWorkbook();
    book.title = "Personal Finance";
    const std::string path = dir.filePath("a.xls").toStdString();
    SaveXls(book, path);
    EXPECT_EQ(LoadXls(path).title, "Personal Finance");

    // A container with the workbook stream alone, as older writers make it.
    const Bytes bare = xls::PackCompoundFile(xls::WriteWorkbookStream(book));
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(reinterpret_cast<const char*>(bare.data()), static_cast<qint64>(bare.size()));
    f.close();
    const Workbook back = LoadXls(path);
    EXPECT_EQ(back.title, "");
    EXPECT_EQ(back.Sheets().size(), 1u);

    // Damaged property sets give no title and no failure.
    Bytes summary = xls::WriteSummaryInformation({.title = "T", .application = "A"});
    EXPECT_EQ(xls::ReadSummaryTitle(summary), "T");
    for (std::size_t cut = 0; cut < summary.size(); ++cut)
        xls::ReadSummaryTitle(std::span(summary).first(cut));
    for (std::size_t at = 0; at < summary.size(); ++at) {
        Bytes damaged = summary;
        damaged[at] = 0xFF;
        xls::ReadSummaryTitle(damaged);
    }

    // The clock, or SOURCE_DATE_EPOCH when it holds a number.
    {
        const test::ScopedEnvironment epoch("SOURCE_DATE_EPOCH", "86400");
        EXPECT_EQ(DocumentTimeNow(), 86400);
        EXPECT_EQ(xls::FileTimeOf(86400), (86400 + 11644473600ull) * 10000000ull);
    }
    const test::ScopedEnvironment epoch("SOURCE_DATE_EPOCH", "soon");
    const std::int64_t now = std::time(nullptr);
    EXPECT_NEAR(static_cast<double>(DocumentTimeNow()), static_cast<double>(now), 5.0);
}

}  // namespace
}  // namespace quill::spreadsheet
