#include "sheet/SyntheticTable.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>

#include <QCoreApplication>

#include "sheet/SectionPlan.h"
#include "spreadsheet/core/Limits.h"

namespace quill::sheet {

namespace {

// The parts joined into one string of exactly their size: one allocation per text, where
// adding the parts one by one reallocated (and the table of a large layout holds hundreds
// of thousands of texts).
QString Joined(std::initializer_list<QStringView> parts) {
    qsizetype size = 0;
    for (const QStringView part : parts) size += part.size();
    QString joined(size, Qt::Uninitialized);
    QChar* at = joined.data();
    for (const QStringView part : parts) {
        std::copy(part.begin(), part.end(), at);
        at += part.size();
    }
    return joined;
}

// The decimal digits of a positive number, without an allocation.
class Digits {
  public:
    explicit Digits(int value) {
        do {
            buffer_[--start_] = static_cast<char16_t>(u'0' + value % 10);
            value /= 10;
        } while (value > 0);
    }
    QStringView View() const {
        return QStringView(buffer_.data() + start_, buffer_.size() - start_);
    }

  private:
    std::array<char16_t, 12> buffer_{};
    std::size_t start_ = 12;
};

}  // namespace

CategoryTable SyntheticCategoryTable(int groups, int items) {
    CategoryTable table;
    table.reserve(static_cast<std::size_t>(groups) * static_cast<std::size_t>(items + 1));
    const QString groupParent = QStringLiteral("0_");
    int key = 0;
    for (int g = 1; g <= groups; ++g) {
        const QString groupKey = Joined({Digits(++key).View(), u"_"});
        const Digits number(g);
        const QString groupText = Joined({u"GROUP ", number.View()});
        table.push_back({groupKey, groupParent, groupText, groupText});
        const QString itemPrefix = Joined({u"Item ", number.View(), u"."});
        for (int i = 1; i <= items; ++i) {
            QString itemText = Joined({itemPrefix, Digits(i).View()});
            QString path = Joined({groupText, u"\\", itemText});
            table.push_back({Joined({Digits(++key).View(), u"_"}), groupKey, std::move(itemText),
                             std::move(path)});
        }
    }
    return table;
}

QString SyntheticTableRefusal(int groups, int items) {
    if (groups > kMaxGroups)
        return QCoreApplication::translate("quill::sheet::Messages",
                                           "%1 groups are more than the %2 groups the sheet holds")
            .arg(groups)
            .arg(kMaxGroups);
    if (groups <= 0) return {};
    // PlanSections' layout for sections of equal height: a section opens the right half
    // once it starts at or below the middle of all sections.
    const std::int64_t height = std::int64_t{items} + kSectionExtraRows;
    const std::int64_t tableRows = std::int64_t{groups} * (std::int64_t{items} + 1);
    const std::int64_t halfMark = (tableRows + 2 * std::int64_t{groups}) / 2;
    std::int64_t cum = 0;
    std::int64_t leftEnd = 0;
    std::int64_t far = 0;
    bool rightHalf = false;
    for (int g = 0; g < groups; ++g) {
        std::int64_t start = cum + 1;
        cum += height;
        rightHalf = rightHalf || start >= halfMark;
        if (rightHalf)
            start -= leftEnd;
        else
            leftEnd = cum;
        far = std::max(far, start + height);
    }
    const std::int64_t lastRow = far + kHeaderLastRow + kGrandTotalRows - 1;
    if (lastRow <= spreadsheet::kMaxRows) return {};
    return QCoreApplication::translate(
               "quill::sheet::Messages",
               "the budget sheet would need %1 rows, more than the %2 rows a .xls "
               "sheet holds")
        .arg(lastRow)
        .arg(spreadsheet::kMaxRows);
}

}  // namespace quill::sheet
