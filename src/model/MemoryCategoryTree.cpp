#include "model/MemoryCategoryTree.h"

#include <QCoreApplication>

#include "shell/Failure.h"

namespace quill {

void MemoryCategoryTree::Clear() {
    nodes_.clear();
    keys_.clear();
    selected_.reset();
    ++clears_;
}

void MemoryCategoryTree::Add(const std::optional<QString>& relativeKey, int relationship,
                             const QString& key, const QString& text, int image) {
    // Only the two relationships that the category operations use are supported.
    const bool topLevel = !relativeKey && relationship == kLast;
    const bool child = relativeKey && relationship == kChild;
    if (!topLevel && !child)
        throw Failure(QCoreApplication::translate("quill::MemoryCategoryTree",
                                                  "Invalid relationship for a new tree node"));
    if (child && !keys_.contains(*relativeKey))
        throw Failure(
            QCoreApplication::translate("quill::MemoryCategoryTree",
                                        "Element not found: no tree node has the key \"%1\"")
                .arg(*relativeKey));
    if (keys_.contains(key))
        throw Failure(QCoreApplication::translate("quill::MemoryCategoryTree",
                                                  "Key is not unique in collection: \"%1\"")
                          .arg(key));
    nodes_.push_back({key, text, relativeKey, image});
    keys_.insert(key);
}

void MemoryCategoryTree::SelectFirstNode() {
    if (nodes_.empty())
        throw Failure(QCoreApplication::translate("quill::MemoryCategoryTree",
                                                  "Index out of bounds: the tree has no node"));
    selected_ = 0;
}

QString MemoryCategoryTree::SelectedText() const {
    return selected_ ? nodes_[*selected_].text : QString();
}

std::vector<QString> MemoryCategoryTree::DisplayedTexts() const {
    ChildIndex children;
    for (std::size_t i = 0; i < nodes_.size(); ++i)
        if (nodes_[i].parentKey) children[*nodes_[i].parentKey].push_back(i);

    std::vector<QString> texts;
    texts.reserve(nodes_.size());
    for (const Node& node : nodes_)
        if (!node.parentKey) AppendSubtree(node, children, texts);
    return texts;
}

void MemoryCategoryTree::AppendSubtree(const Node& node, const ChildIndex& children,
                                       std::vector<QString>& texts) const {
    texts.push_back(node.text);
    for (std::size_t child : children.value(node.key))
        AppendSubtree(nodes_[child], children, texts);
}

}  // namespace quill
