// The default category list as data: each group with its items in key order. Keys,
// parent keys and paths follow from the order.
#include "model/DefaultCategorySet.h"

#include <initializer_list>

#include <QStringList>

namespace quill::model {

namespace {

struct DefaultGroup {
    QString text;
    QStringList items;
};

// Numbers the rows 1, 2, 3 ... in order: each group, then its items.
CategoryTable Numbered(std::initializer_list<DefaultGroup> groups) {
    CategoryTable table;
    int number = 0;
    for (const DefaultGroup& group : groups) {
        const QString groupKey = KeyText(++number);
        table.push_back({groupKey, kRootKey, group.text, group.text});
        for (const QString& item : group.items)
            table.push_back(
                {KeyText(++number), groupKey, item, group.text + QLatin1Char('\\') + item});
    }
    return table;
}

}  // namespace

const CategoryTable& DefaultCategorySet() {
    static const CategoryTable table = Numbered({
        {"HOUSING",
         {"Mortgage or rent", "Phone", "Electricity", "Gas", "Water and sewer", "Cable",
          "Waste removal", "Maintenance or repairs", "Supplies", "Other"}},
        {"TRANSPORTATION",
         {"Vehicle payment", "Bus/taxi fare", "Insurance", "Licensing", "Fuel", "Maintenance",
          "Other"}},
        {"INSURANCE", {"Home", "Health", "Life", "Other"}},
        {"FOOD", {"Groceries", "Dining out", "Other"}},
        {"PETS", {"Food", "Medical", "Grooming", "Toys", "Other"}},
        {"PERSONAL CARE",
         {"Medical", "Hair/nails", "Clothing", "Dry cleaning", "Health club",
          "Organization dues or fees", "Other"}},
        {"ENTERTAINMENT",
         {"Video/DVD", "CDs", "Movies", "Concerts", "Sporting events", "Live theater", "Other",
          "Other", "Other"}},
        {"LOANS", {"Personal", "Student", "Credit card", "Credit card", "Credit card", "Other"}},
        {"TAXES", {"Federal", "State", "Local", "Other"}},
        {"SAVINGS OR INVESTMENTS", {"Retirement account", "Investment account", "Other"}},
        {"GIFTS AND DONATIONS", {"Charity 1", "Charity 2", "Charity 3"}},
        {"LEGAL", {"Attorney", "Alimony", "Payments on lien or judgment", "Other"}},
    });
    return table;
}

}  // namespace quill::model
