// The little that the category operations need of a tree control, so that the model
// works without widgets. The editor adapts its tree widget to it; MemoryCategoryTree
// serves runs without windows and the tests.
#pragma once

#include <optional>

#include <QString>

namespace quill {

class CategoryTree {
  public:
    // Relationship of a new node to its relative node.
    static constexpr int kLast = 1;   // last top-level node (no relative node)
    static constexpr int kChild = 4;  // last child of the relative node

    // Image indices in the tree's image list.
    static constexpr int kGroupImage = 1;
    static constexpr int kItemImage = 2;

    virtual ~CategoryTree() = default;

    // Removes every node.
    virtual void Clear() = 0;

    // Adds a node with a unique `key`. Throws quill::Failure when `relativeKey` is given
    // but names no node, or when `key` is already taken; the tree is then unchanged.
    virtual void Add(const std::optional<QString>& relativeKey, int relationship,
                     const QString& key, const QString& text, int image) = 0;

    // Selects the first node that was added (throws quill::Failure when there is none).
    virtual void SelectFirstNode() = 0;

    // The text of the selected node; empty when nothing is selected.
    virtual QString SelectedText() const = 0;
};

}  // namespace quill
