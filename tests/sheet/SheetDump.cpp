#include "SheetDump.h"

#include <iterator>
#include <map>
#include <sstream>
#include <vector>

namespace quill::test {

namespace {

using namespace quill::spreadsheet;

std::string Number(double value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

// Runs of three or more blanks are shown by their length, so long captions stay readable.
std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t run = std::min(text.find_first_not_of(' ', i), text.size()) - i;
        if (run >= 3)
            out += "<" + std::to_string(run) + " blanks>";
        else
            out += run > 0 ? text.substr(i, run) : text.substr(i, 1);
        i += std::max<std::size_t>(run, 1);
    }
    return out + "\"";
}

std::string ContentText(const Cell& cell) {
    if (const Formula* formula = cell.AsFormula()) return formula->R1C1();
    if (const double* number = std::get_if<double>(&cell.content)) return Number(*number);
    if (const std::string* text = std::get_if<std::string>(&cell.content)) return Quoted(*text);
    return "-";
}

std::string FontText(const Font& font) {
    return font.name + " " + Number(font.size) + (font.bold ? " bold" : "") +
           (font.italic ? " italic" : "") +
           (font.colorIndex != kColorAutomatic ? " color=" + std::to_string(font.colorIndex) : "");
}

std::string BorderText(const CellFormat& f) {
    std::string lines;
    for (const auto& [edge, letter] :
         {std::pair{Edge::Left, 'L'}, {Edge::Top, 'T'}, {Edge::Bottom, 'B'}, {Edge::Right, 'R'}})
        if (f.Border(edge) == LineStyle::Thin) lines += letter;
    return lines.empty() ? "none" : lines;
}

// The attributes in which a format differs from `base`; every attribute when base is null.
std::string FormatText(const CellFormat& f, const CellFormat* base) {
    static const char* const kHAlign[] = {"general", "left", "center", "right"};
    static const char* const kVAlign[] = {"top", "center", "bottom"};
    std::string text;
    auto add = [&](bool differs, const std::string& part) {
        if (differs) text += (text.empty() ? "" : " ") + part;
    };
    add(!base || f.font != base->font, "font=" + FontText(f.font));
    add(!base || f.fill != base->fill, "fill=" + std::to_string(f.fill));
    add(!base || f.numberFormat != base->numberFormat, "fmt=" + Quoted(f.numberFormat));
    add(!base || f.hAlign != base->hAlign, std::string("h=") + kHAlign[static_cast<int>(f.hAlign)]);
    add(!base || f.vAlign != base->vAlign, std::string("v=") + kVAlign[static_cast<int>(f.vAlign)]);
    add(!base || f.wrap != base->wrap, std::string("wrap=") + (f.wrap ? "on" : "off"));
    add(!base || f.borders != base->borders, "borders=" + BorderText(f));
    return text.empty() ? "(default format)" : text;
}

// Consecutive rows or columns of the same size as "first-last=size".
std::string SizesText(const std::map<int, double>& sizes, std::string (*name)(int)) {
    std::string text;
    for (auto it = sizes.begin(); it != sizes.end();) {
        auto end = it;
        for (auto next = std::next(end);
             next != sizes.end() && next->first == end->first + 1 && next->second == it->second;
             ++next)
            end = next;
        text += " " + name(it->first) + (end != it ? "-" + name(end->first) : "") + "=" +
                Number(it->second);
        it = std::next(end);
    }
    return text;
}

std::string RowName(int row) {
    return std::to_string(row + 1);
}

}  // namespace

std::string DumpSheet(const Workbook& book, const Worksheet& sheet) {
    std::ostringstream out;
    const CellFormat& base = book.Format(sheet.DefaultFormat());
    const PageSetup& p = sheet.pageSetup;
    out << "default format: " << FormatText(base, nullptr) << "\n"
        << "column widths:" << SizesText(sheet.ColumnWidths(), &ColumnName) << "\n"
        << "row heights:" << SizesText(sheet.RowHeights(), &RowName) << "\n"
        << "merged:";
    for (const RangeRef& m : sheet.Merges()) out << " " << RangeName(m);
    out << "\nprint area: " << (sheet.printArea ? RangeName(*sheet.printArea) : "none")
        << "\npage: margins (inches) left=" << Number(p.leftMargin)
        << " right=" << Number(p.rightMargin) << " top=" << Number(p.topMargin)
        << " bottom=" << Number(p.bottomMargin) << " header=" << Number(p.headerMargin)
        << " footer=" << Number(p.footerMargin) << (p.portrait ? " portrait" : " landscape")
        << " paper=" << p.paperSize << " comments=" << (p.printComments ? "on" : "off")
        << (p.fitToPages ? " fit=" + std::to_string(p.fitWide) + "x" + std::to_string(p.fitTall)
                         : " zoom=" + std::to_string(p.zoom))
        << "\nselection: " << RangeName(sheet.selection) << " active " << CellName(sheet.activeCell)
        << "\ncells:\n";

    // Row-major; neighbours in a row without content and with the same format form a range.
    std::vector<std::pair<CellRef, const Cell*>> cells;
    for (const auto& [at, cell] : sheet.Cells())
        if (cell.HasContent() || book.EffectiveFormat(sheet, at) != base)
            cells.emplace_back(at, &cell);
    for (std::size_t i = 0; i < cells.size();) {
        const auto [at, cell] = cells[i];
        const int format = sheet.FormatIndexOf(at);
        CellRef last = at;
        for (++i; !cell->HasContent() && i < cells.size() && cells[i].first.row == at.row &&
                  cells[i].first.col == last.col + 1 && !cells[i].second->HasContent() &&
                  sheet.FormatIndexOf(cells[i].first) == format;
             ++i)
            last = cells[i].first;
        out << RangeName(RangeRef::Of(at, last)) << "  " << ContentText(*cell) << "  "
            << FormatText(book.Format(format), &base) << "\n";
    }
    return out.str();
}

}  // namespace quill::test
