// The default category list as data: each group with its items in key order. Keys,
// parent keys and paths follow from the order. The names are English here and come out in
// the language installed when the list is made.
#include "model/DefaultCategorySet.h"

#include <initializer_list>
#include <vector>

#include <QCoreApplication>

namespace quill::model {

namespace {

struct DefaultGroup {
    const char* text;
    std::vector<const char*> items;
};

// The names' translation context.
class DefaultCategories {
    Q_DECLARE_TR_FUNCTIONS(quill::model::DefaultCategories)

  public:
    static const std::vector<DefaultGroup>& Groups();
};

const std::vector<DefaultGroup>& DefaultCategories::Groups() {
    static const std::vector<DefaultGroup> groups = {
        {QT_TR_NOOP("HOUSING"),
         {QT_TR_NOOP("Mortgage or rent"), QT_TR_NOOP("Phone"), QT_TR_NOOP("Electricity"),
          QT_TR_NOOP("Gas"), QT_TR_NOOP("Water and sewer"), QT_TR_NOOP("Cable"),
          QT_TR_NOOP("Waste removal"), QT_TR_NOOP("Maintenance or repairs"), QT_TR_NOOP("Supplies"),
          QT_TR_NOOP("Other")}},
        {QT_TR_NOOP("TRANSPORTATION"),
         {QT_TR_NOOP("Vehicle payment"), QT_TR_NOOP("Bus/taxi fare"), QT_TR_NOOP("Insurance"),
          QT_TR_NOOP("Licensing"), QT_TR_NOOP("Fuel"), QT_TR_NOOP("Maintenance"),
          QT_TR_NOOP("Other")}},
        {QT_TR_NOOP("INSURANCE"),
         {QT_TR_NOOP("Home"), QT_TR_NOOP("Health"), QT_TR_NOOP("Life"), QT_TR_NOOP("Other")}},
        {QT_TR_NOOP("FOOD"),
         {QT_TR_NOOP("Groceries"), QT_TR_NOOP("Dining out"), QT_TR_NOOP("Other")}},
        {QT_TR_NOOP("PETS"),
         {QT_TR_NOOP("Food"), QT_TR_NOOP("Medical"), QT_TR_NOOP("Grooming"), QT_TR_NOOP("Toys"),
          QT_TR_NOOP("Other")}},
        {QT_TR_NOOP("PERSONAL CARE"),
         {QT_TR_NOOP("Medical"), QT_TR_NOOP("Hair/nails"), QT_TR_NOOP("Clothing"),
          QT_TR_NOOP("Dry cleaning"), QT_TR_NOOP("Health club"),
          QT_TR_NOOP("Organization dues or fees"), QT_TR_NOOP("Other")}},
        {QT_TR_NOOP("ENTERTAINMENT"),
         {QT_TR_NOOP("Video/DVD"), QT_TR_NOOP("CDs"), QT_TR_NOOP("Movies"), QT_TR_NOOP("Concerts"),
          QT_TR_NOOP("Sporting events"), QT_TR_NOOP("Live theater"), QT_TR_NOOP("Other"),
          QT_TR_NOOP("Other"), QT_TR_NOOP("Other")}},
        {QT_TR_NOOP("LOANS"),
         {QT_TR_NOOP("Personal"), QT_TR_NOOP("Student"), QT_TR_NOOP("Credit card"),
          QT_TR_NOOP("Credit card"), QT_TR_NOOP("Credit card"), QT_TR_NOOP("Other")}},
        {QT_TR_NOOP("TAXES"),
         {QT_TR_NOOP("Federal"), QT_TR_NOOP("State"), QT_TR_NOOP("Local"), QT_TR_NOOP("Other")}},
        {QT_TR_NOOP("SAVINGS OR INVESTMENTS"),
         {QT_TR_NOOP("Retirement account"), QT_TR_NOOP("Investment account"), QT_TR_NOOP("Other")}},
        {QT_TR_NOOP("GIFTS AND DONATIONS"),
         {QT_TR_NOOP("Charity 1"), QT_TR_NOOP("Charity 2"), QT_TR_NOOP("Charity 3")}},
        {QT_TR_NOOP("LEGAL"),
         {QT_TR_NOOP("Attorney"), QT_TR_NOOP("Alimony"), QT_TR_NOOP("Payments on lien or judgment"),
          QT_TR_NOOP("Other")}},
    };
    return groups;
}

}  // namespace

CategoryTable DefaultCategorySet() {
    // Numbered 1, 2, 3 ... in order: each group, then its items.
    CategoryTable table;
    int number = 0;
    for (const DefaultGroup& group : DefaultCategories::Groups()) {
        const QString groupKey = KeyText(++number);
        const QString groupText = DefaultCategories::tr(group.text);
        table.push_back({groupKey, kRootKey, groupText, groupText});
        for (const char* item : group.items) {
            const QString itemText = DefaultCategories::tr(item);
            table.push_back(
                {KeyText(++number), groupKey, itemText, groupText + QLatin1Char('\\') + itemText});
        }
    }
    return table;
}

std::size_t DefaultCategoryRowCount() {
    std::size_t rows = 0;
    for (const DefaultGroup& group : DefaultCategories::Groups()) rows += 1 + group.items.size();
    return rows;
}

}  // namespace quill::model
