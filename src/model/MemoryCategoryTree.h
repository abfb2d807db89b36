// A category tree held in memory: for runs without windows, and for the tests, which
// look at the nodes in the order they were added or in the order the tree shows them.
#pragma once

#include <optional>
#include <vector>

#include <QHash>
#include <QSet>
#include <QString>

#include "model/CategoryTree.h"

namespace quill {

class MemoryCategoryTree : public CategoryTree {
  public:
    struct Node {
        QString key;
        QString text;
        std::optional<QString> parentKey;  // absent for a top-level node
        int image = 0;
    };

    void Clear() override;
    void Add(const std::optional<QString>& relativeKey, int relationship, const QString& key,
             const QString& text, int image) override;
    void SelectFirstNode() override;
    QString SelectedText() const override;

    // The nodes in the order they were added.
    const std::vector<Node>& Nodes() const { return nodes_; }

    // The node texts as the tree shows them: each top-level node followed by its
    // descendants, depth first, children in the order they were added.
    std::vector<QString> DisplayedTexts() const;

    // How often the tree was cleared.
    int ClearCount() const { return clears_; }

  private:
    using ChildIndex = QHash<QString, std::vector<std::size_t>>;
    void AppendSubtree(const Node& node, const ChildIndex& children,
                       std::vector<QString>& texts) const;

    std::vector<Node> nodes_;
    QSet<QString> keys_;
    std::optional<std::size_t> selected_;
    int clears_ = 0;
};

}  // namespace quill
