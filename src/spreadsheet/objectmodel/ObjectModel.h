// The automation-style object model of the embedded spreadsheet engine: an application
// with its workbooks, the active sheet, ranges, the selection and the active cell.
//
// The sheet builder drives the engine only through these objects, the way one drives a
// spreadsheet program: select a range, then set the font, fill, borders or formula of the
// selection or of the active cell. The numeric constants are the usual object-model ones
// (-4108 centre, -4152 right, -4105 automatic colour, border indices 7 to 12, ...).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>
#include <vector>

#include "spreadsheet/core/Workbook.h"

namespace quill::spreadsheet {

namespace xl {
inline constexpr int kCenter = -4108;
inline constexpr int kRight = -4152;
inline constexpr int kLeft = -4131;
inline constexpr int kGeneral = 1;
inline constexpr int kTop = -4160;
inline constexpr int kBottom = -4107;
inline constexpr int kAutomatic = -4105;
inline constexpr int kNone = -4142;
inline constexpr int kContinuous = 1;
inline constexpr int kEdgeLeft = 7;
inline constexpr int kEdgeTop = 8;
inline constexpr int kEdgeBottom = 9;
inline constexpr int kEdgeRight = 10;
inline constexpr int kInsideVertical = 11;
inline constexpr int kInsideHorizontal = 12;
inline constexpr int kPortrait = 1;
inline constexpr int kLandscape = 2;
inline constexpr int kPaperLetter = 1;
inline constexpr int kPaperA4 = 9;
inline constexpr int kPrintNoComments = -4142;
inline constexpr int kWorkbookNormal = -4143;  // file format of versions before 12
inline constexpr int kExcel8 = 56;             // the 97-2003 workbook format
// FormatConditions.Add: a comparison of the cell's value.
inline constexpr int kCellValue = 1;
// Comparison operators of format conditions and validations.
inline constexpr int kBetween = 1;
inline constexpr int kNotBetween = 2;
inline constexpr int kEqual = 3;
inline constexpr int kNotEqual = 4;
inline constexpr int kGreater = 5;
inline constexpr int kLess = 6;
inline constexpr int kGreaterEqual = 7;
inline constexpr int kLessEqual = 8;
// Validation.Add: what a cell accepts, and how a refusal is shown.
inline constexpr int kValidateWholeNumber = 1;
inline constexpr int kValidateDecimal = 2;
inline constexpr int kValidAlertStop = 1;
inline constexpr int kValidAlertWarning = 2;
inline constexpr int kValidAlertInformation = 3;
}  // namespace xl

class Application;
class RangeFont;
class RangeInterior;
class RangeBorder;
class FormatConditions;
class RangeValidation;

// A rectangle of cells on a sheet of a workbook open in an application. Ranges are small
// values; they stay valid while their workbook is open.
class Range {
  public:
    Range(Application& app, Workbook& book, Worksheet& sheet, RangeRef area)
        : app_(&app), book_(&book), sheet_(&sheet), area_(area) {}

    const RangeRef& Area() const { return area_; }
    Worksheet& Sheet() const { return *sheet_; }
    Workbook& Book() const { return *book_; }

    // Selects the range; its top-left cell becomes the active cell.
    void Select();
    // Empties the cells and drops their formats and merged areas.
    void Clear();
    // Merges the range into one area (a one-cell range stays a plain cell). Only the top-left
    // cell keeps its content.
    void Merge();
    // The range moved by whole rows and columns; throws when it leaves the sheet.
    spreadsheet::Range Offset(int rows, int columns) const;
    // Another rectangle of the same sheet.
    spreadsheet::Range Sub(const RangeRef& part) const;

    int Row() const { return area_.first.row + 1; }
    int Column() const { return area_.first.col + 1; }
    int RowsCount() const { return area_.Rows(); }
    int ColumnsCount() const { return area_.Columns(); }

    // Contents. A text that begins with "=" is an R1C1 formula (throws when it does not parse
    // or cannot be stored in a file), a text that reads as a number is that number, the empty
    // text empties the cell, any other text is a text; a leading apostrophe makes the rest
    // literal text ("'=Other"). Applies to every cell of the range.
    void SetFormulaR1C1(const std::variant<std::string, double>& value);
    // The top-left cell's formula, or its number or text as shown in a formula bar.
    std::string FormulaR1C1() const;
    // The top-left cell's value (computed for formulas after Application::Calculate).
    Value Value2() const;

    void SetNumberFormat(std::string_view code);
    std::string NumberFormat() const;
    void SetHorizontalAlignment(int constant);
    int HorizontalAlignment() const;
    void SetVerticalAlignment(int constant);
    int VerticalAlignment() const;
    void SetWrapText(bool wrap);
    bool WrapText() const;
    void SetRowHeight(double points);
    double RowHeight() const;
    void SetColumnWidth(double characters);
    double ColumnWidth() const;

    // The font, fill and border lines of the range's cells.
    RangeFont Font() const;
    RangeInterior Interior() const;
    // 7 left, 8 top, 9 bottom, 10 right edge, 11 inside vertical, 12 inside horizontal.
    RangeBorder Borders(int index) const;
    // Whether the cells stay unchanged while the sheet is protected (Protect).
    void SetLocked(bool locked);
    bool Locked() const;  // of the range's top-left cell
    // The conditional formats and the data validation of the range.
    spreadsheet::FormatConditions FormatConditions() const;
    RangeValidation Validation() const;

    // Applies a change to the format of every cell of the range; on the whole sheet it
    // changes the sheet's default format instead of millions of cells. `key` names the
    // change completely, so that the workbook can remember what it makes of each format.
    template <class Change>
    void ChangeFormats(const Workbook::FormatChange& key, Change&& change) const;
    // The format the range's top-left cell shows.
    const CellFormat& TopLeftFormat() const;

  private:
    void CheckAlive() const;
    bool IsWholeSheet() const;
    Cell* CellAt(CellRef at) const;

    Application* app_;
    Workbook* book_;
    Worksheet* sheet_;
    RangeRef area_;
};

class RangeFont {
  public:
    explicit RangeFont(Range range) : range_(range) {}
    void SetName(const std::string& name);
    void SetSize(double points);
    // "Bold", "Italic", "Bold Italic"; any other text (such as "Regular") means neither.
    void SetFontStyle(const std::string& style);
    void SetBold(bool bold);
    void SetItalic(bool italic);
    void SetColorIndex(int index);  // 1..56 or -4105 automatic
    const spreadsheet::Font& Get() const;

  private:
    Range range_;
};

class RangeInterior {
  public:
    explicit RangeInterior(Range range) : range_(range) {}
    void SetColorIndex(int index);  // 1..56, or -4142 for no fill
    int ColorIndex() const;         // -4142 when the cell has no fill

  private:
    Range range_;
};

class RangeBorder {
  public:
    RangeBorder(Range range, int index);  // throws for an index outside 7..12
    void SetLineStyle(int style);         // 1 continuous, -4142 none
    int LineStyle() const;                // of the range's top-left cell, for edges 7 to 10

  private:
    Range range_;
    int index_;
};

// One conditional format of a sheet: what its cells show while the condition holds.
class FormatCondition {
  public:
    FormatCondition(Worksheet& sheet, std::size_t index) : sheet_(&sheet), index_(index) {}
    void SetFontColorIndex(int index);      // 1..56, or -4105 to keep the cell's colour
    void SetInteriorColorIndex(int index);  // 1..56, or -4142 to keep the cell's fill
    const ConditionalFormat& Get() const;

  private:
    ConditionalFormat& Rule() const;
    Worksheet* sheet_;
    std::size_t index_;
};

class FormatConditions {
  public:
    explicit FormatConditions(Range range) : range_(range) {}
    // A condition on the cells' values (type 1): the operator 1..8 (between, not between,
    // equal, not equal, greater, less, greater or equal, less or equal) with one number, or
    // two for the betweens. It comes after the sheet's earlier conditions in priority.
    FormatCondition Add(int type, int op, double first, double second = 0);
    // The conditions that apply to the range's top-left cell.
    int Count() const;

  private:
    Range range_;
};

// The data validation of a range's cells: at most one per cell.
class RangeValidation {
  public:
    explicit RangeValidation(Range range) : range_(range) {}
    // Lets the cells accept only a whole (type 1) or decimal (type 2) number that passes the
    // operator 1..8 with one number, or two for the betweens; the alert style is 1 stop,
    // 2 warning, 3 information. Throws when a cell of the range has a validation already.
    void Add(int type, int alertStyle, int op, double first, double second = 0);
    // The texts of the prompt shown when a cell is selected and of the box that refuses a
    // value; a title holds at most 32 characters, the prompt 255 and the message 225.
    void SetInputTitle(const std::string& text);
    void SetInputMessage(const std::string& text);
    void SetErrorTitle(const std::string& text);
    void SetErrorMessage(const std::string& text);
    void SetIgnoreBlank(bool ignore);
    void SetShowInput(bool show);
    void SetShowError(bool show);
    // The validation of the range's top-left cell; throws when it has none.
    const DataValidation& Get() const;

  private:
    DataValidation& Rule() const;
    Range range_;
};

inline RangeFont Range::Font() const {
    return RangeFont(*this);
}
inline RangeInterior Range::Interior() const {
    return RangeInterior(*this);
}
inline RangeBorder Range::Borders(int index) const {
    return RangeBorder(*this, index);
}

// The page set-up of a sheet in object-model units (margins in points).
class PageSetupObject {
  public:
    explicit PageSetupObject(Worksheet& sheet) : sheet_(sheet) {}
    void SetPrintArea(const std::string& a1);  // "A1:J73"; the empty text removes it
    std::string PrintArea() const;
    void SetLeftMargin(double points);
    void SetRightMargin(double points);
    void SetTopMargin(double points);
    void SetBottomMargin(double points);
    void SetHeaderMargin(double points);
    void SetFooterMargin(double points);
    void SetPrintComments(int constant);
    void SetOrientation(int constant);
    void SetPaperSize(int constant);
    void SetZoom(const std::variant<bool, int>& zoom);  // false: scale by pages
    void SetFitToPagesWide(int pages);
    void SetFitToPagesTall(int pages);

  private:
    Worksheet& sheet_;
};

// The sheets of a workbook, numbered from 1.
class Sheets {
  public:
    explicit Sheets(Workbook& book) : book_(book) {}
    int Count() const { return static_cast<int>(book_.Sheets().size()); }
    Worksheet& Item(int number) const;
    void Delete(int number);  // the last sheet of a workbook cannot be deleted
    void Select(int number);  // makes it the active sheet

  private:
    Workbook& book_;
};

// The workbooks open in an application, numbered from 1.
class Workbooks {
  public:
    explicit Workbooks(Application& app) : app_(app) {}
    // A new workbook with three empty sheets; it becomes the active workbook.
    Workbook& Add();
    // Opens an .xls file; it becomes the active workbook. Throws EngineError.
    Workbook& Open(const std::string& path);
    int Count() const { return static_cast<int>(books_.size()); }
    Workbook& Item(int number) const;
    // Closes a workbook without saving it.
    void Close(Workbook& book);
    void CloseAll() { books_.clear(); }
    Workbook* Active() const { return books_.empty() ? nullptr : books_.back().get(); }

  private:
    Application& app_;
    std::vector<std::unique_ptr<Workbook>> books_;
};

class Application {
  public:
    Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    double InchesToPoints(double inches) const;
    // Ends the application: every workbook is closed without saving and later calls fail.
    void Quit();
    bool HasQuit() const { return quit_; }

    spreadsheet::Workbooks& Workbooks();
    spreadsheet::Workbook& ActiveWorkbook();
    spreadsheet::Worksheet& ActiveSheet();
    spreadsheet::Sheets Sheets();  // of the active workbook

    // Ranges of the active sheet.
    spreadsheet::Range Cells();  // the whole sheet
    spreadsheet::Range Range(const std::string& a1);
    spreadsheet::Range Range(const spreadsheet::Range& first, const spreadsheet::Range& last);
    spreadsheet::Range Rows(const std::string& rows);        // "1:1", "14:300"
    spreadsheet::Range Columns(const std::string& columns);  // "B:B"
    spreadsheet::Range Selection();
    spreadsheet::Range ActiveCell();
    PageSetupObject PageSetup();  // of the active sheet

    // Computes every formula of every open workbook.
    void Calculate();

    // Parses an R1C1 formula (throws EngineError), reusing the parse of the same text: a
    // sheet holds the same few formulas in thousands of cells, and parsed formulas are
    // immutable, so cells can share them.
    Formula ParseFormula(const std::string& text);

    // Throws EngineError once the application has quit.
    void CheckAlive() const;

  private:
    spreadsheet::Workbooks workbooks_;
    bool quit_ = false;
    std::unordered_map<std::string, Formula> parsedFormulas_;
};

// Protects the sheet's locked cells from changes, without a password: any spreadsheet
// program lifts the protection in one step. Selecting cells stays allowed.
void Protect(Worksheet& sheet);
void Unprotect(Worksheet& sheet);
bool ProtectContents(const Worksheet& sheet);

// Saves a workbook as an .xls file in one of the two file formats of the object model
// (-4143 or 56, both BIFF8); any other format number throws EngineError.
void SaveAs(Workbook& book, const std::string& path, int fileFormat);

// The palette entry 1..56 of a workbook as an RGB value.
std::uint32_t Colors(const Workbook& book, int index);
void SetColors(Workbook& book, int index, std::uint32_t rgb);

}  // namespace quill::spreadsheet
