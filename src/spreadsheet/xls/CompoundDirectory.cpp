#include "spreadsheet/xls/CompoundDirectory.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "spreadsheet/core/Workbook.h"

namespace quill::spreadsheet::xls {
namespace {

constexpr std::uint32_t kNoStream = 0xFFFFFFFF;
constexpr std::uint32_t kLastSpecialSector = 0xFFFFFFFA;  // higher values are markers
constexpr std::size_t kEntryBytes = 128;
constexpr std::uint8_t kRed = 0;
constexpr std::uint8_t kBlack = 1;

std::uint32_t U32(std::span<const std::uint8_t> d, std::size_t at) {
    return static_cast<std::uint32_t>(d[at] | (d[at + 1] << 8) | (d[at + 2] << 16)) |
           (static_cast<std::uint32_t>(d[at + 3]) << 24);
}
void PutU32(std::span<std::uint8_t> d, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) d[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

class Directory {
  public:
    explicit Directory(std::span<std::uint8_t> file) : file_(file) {
        if (file_.size() < 512 || U32(file_, 0) != 0xE011CFD0u)
            throw EngineError("the compound file has no header");
        const unsigned shift = file_[0x1E] | (file_[0x1F] << 8);
        if (shift != 9 && shift != 12) throw EngineError("the compound file has odd sectors");
        sector_ = std::size_t{1} << shift;
        ReadFat();
        for (std::uint32_t s : Chain(U32(file_, 0x30))) {
            for (std::size_t k = 0; k < sector_ / kEntryBytes; ++k)
                entries_.push_back(SectorOffset(s) + k * kEntryBytes);
        }
    }

    void Normalize() {
        for (const std::size_t e : entries_) {
            const std::uint8_t type = file_[e + 0x42];
            if (type == 0) {
                std::memset(&file_[e], 0, kEntryBytes);
                for (std::size_t link : {0x44, 0x48, 0x4C}) PutU32(file_, e + link, kNoStream);
            }
        }
        for (std::uint32_t i = 0; i < entries_.size(); ++i) {
            const std::uint8_t type = file_[entries_[i] + 0x42];
            if (type == 1 || type == 5) Rebuild(i);
        }
    }

  private:
    std::size_t SectorOffset(std::uint32_t s) const {
        const std::size_t at = (std::size_t{s} + 1) * sector_;
        if (at + sector_ > file_.size()) throw EngineError("a sector lies outside the file");
        return at;
    }

    void ReadFat() {
        std::vector<std::uint32_t> fatSectors;
        for (std::size_t i = 0; i < 109; ++i) fatSectors.push_back(U32(file_, 0x4C + 4 * i));
        std::uint32_t difat = U32(file_, 0x44);
        for (std::size_t guard = 0; difat < kLastSpecialSector; ++guard) {
            if (guard > file_.size() / sector_) throw EngineError("the sector table loops");
            const std::size_t at = SectorOffset(difat);
            for (std::size_t i = 0; i + 1 < sector_ / 4; ++i)
                fatSectors.push_back(U32(file_, at + 4 * i));
            difat = U32(file_, at + sector_ - 4);
        }
        const std::uint32_t count = U32(file_, 0x2C);
        if (count > fatSectors.size()) throw EngineError("the sector table is incomplete");
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::size_t at = SectorOffset(fatSectors[i]);
            for (std::size_t k = 0; k < sector_ / 4; ++k) fat_.push_back(U32(file_, at + 4 * k));
        }
    }

    std::vector<std::uint32_t> Chain(std::uint32_t start) const {
        std::vector<std::uint32_t> chain;
        for (std::uint32_t s = start; s < kLastSpecialSector; s = fat_[s]) {
            if (s >= fat_.size() || chain.size() > fat_.size())
                throw EngineError("a sector chain is broken");
            chain.push_back(s);
        }
        return chain;
    }

    // The name as the format orders names: its length first, then its upper-cased
    // characters.
    std::pair<std::uint16_t, std::u16string> Key(std::uint32_t entry) const {
        const std::size_t e = entries_[entry];
        const std::uint16_t length =
            static_cast<std::uint16_t>(file_[e + 0x40] | (file_[e + 0x41] << 8));
        std::u16string name;
        for (std::size_t i = 0; i + 1 < std::min<std::size_t>(length, 64); i += 2) {
            char16_t c = static_cast<char16_t>(file_[e + i] | (file_[e + i + 1] << 8));
            if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
            name += c;
        }
        return {length, name};
    }

    std::uint32_t Link(std::uint32_t entry, std::size_t field) const {
        return U32(file_, entries_[entry] + field);
    }

    // Gives the children of storage `storage` a balanced tree: the middle name becomes the
    // root of each subtree, and the nodes on the deepest level of an incomplete tree are
    // red, so that every path from the root to a missing child passes the same number of
    // black nodes and no red node has a red child.
    void Rebuild(std::uint32_t storage) {
        std::vector<std::uint32_t> children;
        std::vector<bool> seen(entries_.size(), false);
        std::vector<std::uint32_t> stack = {Link(storage, 0x4C)};
        while (!stack.empty()) {
            const std::uint32_t at = stack.back();
            stack.pop_back();
            if (at == kNoStream) continue;
            if (at >= entries_.size() || seen[at]) throw EngineError("the directory loops");
            seen[at] = true;
            children.push_back(at);
            stack.push_back(Link(at, 0x44));
            stack.push_back(Link(at, 0x48));
        }
        std::sort(children.begin(), children.end(),
                  [&](std::uint32_t a, std::uint32_t b) { return Key(a) < Key(b); });
        int depth = 0;
        while ((std::size_t{1} << (depth + 1)) - 1 < children.size()) ++depth;
        const bool perfect = (std::size_t{1} << (depth + 1)) - 1 == children.size();
        std::function<std::uint32_t(std::size_t, std::size_t, int)> build =
            [&](std::size_t first, std::size_t last, int level) -> std::uint32_t {
            if (first >= last) return kNoStream;
            const std::size_t middle = first + (last - first) / 2;
            const std::uint32_t node = children[middle];
            const std::size_t e = entries_[node];
            PutU32(file_, e + 0x44, build(first, middle, level + 1));
            PutU32(file_, e + 0x48, build(middle + 1, last, level + 1));
            file_[e + 0x43] = level == depth && level > 0 && !perfect ? kRed : kBlack;
            return node;
        };
        PutU32(file_, entries_[storage] + 0x4C, build(0, children.size(), 0));
    }

    std::span<std::uint8_t> file_;
    std::size_t sector_ = 512;
    std::vector<std::uint32_t> fat_;
    std::vector<std::size_t> entries_;  // file offsets of the directory entries
};

}  // namespace

void NormalizeDirectory(std::span<std::uint8_t> file) {
    Directory(file).Normalize();
}

}  // namespace quill::spreadsheet::xls
