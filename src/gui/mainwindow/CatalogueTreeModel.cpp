#include "gui/mainwindow/CatalogueTreeModel.h"

#include "gui/NameCollator.h"

#include <QCollator>
#include <algorithm>

namespace orlenta {

namespace {

const std::vector<int> kNoChildren;

// An icon that shows normal while not selected and selected while selected.
QIcon TwoStateIcon(const QIcon& normal, const QIcon& selected) {
    QIcon icon;
    for (const QSize& size : normal.availableSizes())
        icon.addPixmap(normal.pixmap(size), QIcon::Normal);
    for (const QSize& size : selected.availableSizes())
        icon.addPixmap(selected.pixmap(size), QIcon::Selected);
    if (normal.availableSizes().isEmpty())
        icon.addPixmap(normal.pixmap(16), QIcon::Normal);
    if (selected.availableSizes().isEmpty())
        icon.addPixmap(selected.pixmap(16), QIcon::Selected);
    return icon;
}

} // namespace

TCatalogueTreeModel::TCatalogueTreeModel(const std::array<QIcon, 6>& images, QObject* parent)
    : QAbstractItemModel(parent), FImages(images) {}

void TCatalogueTreeModel::Clear() {
    beginResetModel();
    FNodes.clear();
    FTopLevel.clear();
    FPublished = true;
    endResetModel();
}

int TCatalogueTreeModel::AppendNode(int parent, const QString& text, int data, int imageIndex,
                                    int selectedIndex) {
    FPublished = false;
    const int node = static_cast<int>(FNodes.size());
    TTreeNode& added = FNodes.emplace_back();
    added.Text = text;
    added.Data = data;
    added.ImageIndex = imageIndex;
    added.SelectedIndex = selectedIndex;
    added.Parent = parent;
    // Only now: the append may have moved the parent's node.
    std::vector<int>& siblings =
        parent == kNoNode ? FTopLevel : FNodes[static_cast<size_t>(parent)].Children;
    FNodes.back().Row = static_cast<int>(siblings.size());
    siblings.push_back(node);
    return node;
}

void TCatalogueTreeModel::Publish() {
    beginResetModel();
    FPublished = true;
    endResetModel();
}

void TCatalogueTreeModel::SortByText() {
    beginResetModel();
    const QCollator collator = NameCollator();
    // Keys only where there is something to order: comparing keys is far cheaper than collating
    // the texts at every comparison, and an only child needs no key at all.
    std::vector<std::pair<QCollatorSortKey, int>> keyed;
    auto sortLevel = [&](std::vector<int>& level) {
        if (level.size() > 1) {
            keyed.clear();
            for (int node : level)
                keyed.emplace_back(collator.sortKey(FNodes[static_cast<size_t>(node)].Text), node);
            std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
                return a.first.compare(b.first) < 0;
            });
            for (size_t row = 0; row < level.size(); ++row)
                level[row] = keyed[row].second;
        }
        for (size_t row = 0; row < level.size(); ++row)
            FNodes[static_cast<size_t>(level[row])].Row = static_cast<int>(row);
    };
    sortLevel(FTopLevel);
    for (TTreeNode& node : FNodes)
        if (node.Children.size() > 1)
            sortLevel(node.Children);
    FPublished = true;
    endResetModel();
}

std::vector<int> TCatalogueTreeModel::NodesWithData(long long data) const {
    std::vector<int> found;
    std::vector<int> pending(FTopLevel.rbegin(), FTopLevel.rend());
    while (!pending.empty()) {
        const int node = pending.back();
        pending.pop_back();
        const TTreeNode& treeNode = Node(node);
        if (treeNode.Data == data)
            found.push_back(node);
        pending.insert(pending.end(), treeNode.Children.rbegin(), treeNode.Children.rend());
    }
    return found;
}

QModelIndex TCatalogueTreeModel::IndexOfNode(int node) const {
    if (node < 0 || node >= NodeCount() || !FPublished)
        return {};
    return createIndex(Node(node).Row, 0, static_cast<quintptr>(node));
}

int TCatalogueTreeModel::NodeOfIndex(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this)
        return kNoNode;
    return static_cast<int>(index.internalId());
}

const std::vector<int>& TCatalogueTreeModel::ChildrenOf(const QModelIndex& parent) const {
    if (!FPublished)
        return kNoChildren;
    if (!parent.isValid())
        return FTopLevel;
    return Node(NodeOfIndex(parent)).Children;
}

QModelIndex TCatalogueTreeModel::index(int row, int column, const QModelIndex& parent) const {
    const std::vector<int>& children = ChildrenOf(parent);
    if (column != 0 || row < 0 || row >= static_cast<int>(children.size()))
        return {};
    return createIndex(row, 0, static_cast<quintptr>(children[static_cast<size_t>(row)]));
}

QModelIndex TCatalogueTreeModel::parent(const QModelIndex& child) const {
    const int node = NodeOfIndex(child);
    if (node == kNoNode)
        return {};
    return IndexOfNode(Node(node).Parent);
}

int TCatalogueTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0)
        return 0;
    return static_cast<int>(ChildrenOf(parent).size());
}

int TCatalogueTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

bool TCatalogueTreeModel::hasChildren(const QModelIndex& parent) const {
    return !ChildrenOf(parent).empty();
}

QVariant TCatalogueTreeModel::data(const QModelIndex& index, int role) const {
    const int nodeIndex = NodeOfIndex(index);
    if (nodeIndex == kNoNode)
        return {};
    const TTreeNode& node = Node(nodeIndex);
    switch (role) {
    case Qt::DisplayRole: return node.Text;
    case Qt::DecorationRole: {
        const auto normal = static_cast<size_t>(node.ImageIndex);
        const auto selected = static_cast<size_t>(node.SelectedIndex);
        if (normal >= FImages.size() || selected >= FImages.size())
            return {};
        QIcon& icon = FIcons[normal][selected];
        if (icon.isNull())
            icon = TwoStateIcon(FImages[normal], FImages[selected]);
        return icon;
    }
    case NodeDataRole: return node.Data;
    case ImageIndexRole: return node.ImageIndex;
    case SelectedIndexRole: return node.SelectedIndex;
    default: return {};
    }
}

Qt::ItemFlags TCatalogueTreeModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

} // namespace orlenta
