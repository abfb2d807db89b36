#include "preview/WorkbookDrawer.h"

#include <exception>
#include <optional>

#include "spreadsheet/core/Workbook.h"
#include "spreadsheet/render/SheetRenderer.h"
#include "spreadsheet/xls/XlsFile.h"

namespace quill::preview {

struct WorkbookDrawer::Sheet {
    spreadsheet::Workbook book;
    const spreadsheet::Worksheet* sheet = nullptr;
    spreadsheet::RangeRef range{};
};

WorkbookDrawer::WorkbookDrawer() = default;
WorkbookDrawer::~WorkbookDrawer() = default;

void WorkbookDrawer::Reset(const QString& workbookPath, QSize picture) {
    path_ = workbookPath;
    picture_ = picture;
    read_ = false;
    sheet_.reset();
}

bool WorkbookDrawer::Draw(QPainter& painter, const QRect& area) {
    if (!read_) {
        read_ = true;
        if (path_.isEmpty()) return false;
        try {
            auto read = std::make_unique<Sheet>(Sheet{spreadsheet::LoadXls(path_.toStdString())});
            const auto& sheets = read->book.Sheets();
            const int active = read->book.activeSheet;
            if (active < 0 || active >= static_cast<int>(sheets.size())) return false;
            read->sheet = sheets[static_cast<std::size_t>(active)].get();
            const std::optional<spreadsheet::RangeRef> used = read->sheet->UsedRange();
            if (!used) return false;
            read->range = *used;
            if (spreadsheet::RangePictureSize(read->book, *read->sheet, read->range) != picture_)
                return false;
            sheet_ = std::move(read);
        } catch (const std::exception&) {
            // Only sharpness is lost: the handed-over picture is stretched instead.
            return false;
        }
    }
    if (!sheet_) return false;
    spreadsheet::PaintPictureArea(painter, sheet_->book, *sheet_->sheet, sheet_->range, area);
    return true;
}

}  // namespace quill::preview
