#pragma once

// The catalogue tree behind TreeView. A catalogue holds up to hundreds of thousands of
// directories; the nodes are kept in one flat array with index links, so a rebuild appends
// without signals and the view only asks for what it shows.

#include <QAbstractItemModel>
#include <QIcon>
#include <array>
#include <vector>

namespace orlenta {

// One node of the tree: a disc (images 0 and 1), a directory (images 2 and 3) or an archive's
// folder (images 4 and 5).
struct TTreeNode {
    QString Text;
    int Data = 0;              // the directory ID the node stands for
    int ImageIndex = 0;        // picture while not selected
    int SelectedIndex = 0;     // picture while selected
    int Parent = -1;           // node index, -1 at the top level
    int Row = 0;               // place among its siblings
    std::vector<int> Children; // node indexes in display order
};

class TCatalogueTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    enum TRole { NodeDataRole = Qt::UserRole, ImageIndexRole, SelectedIndexRole };
    static constexpr int kNoNode = -1;

    // images: the four tree pictures; the view paints the selected-index picture for a selected
    // node through the icon's Selected mode.
    explicit TCatalogueTreeModel(const std::array<QIcon, 6>& images, QObject* parent = nullptr);

    // Deletes every node.
    void Clear();
    // Appends a node under parent (kNoNode for the top level) and returns its index. The view
    // does not see appended nodes until Publish.
    int AppendNode(int parent, const QString& text, int data, int imageIndex, int selectedIndex);
    // Shows the nodes appended since Clear.
    void Publish();
    // Sorts every level once by locale-aware comparison of the node texts.
    void SortByText();

    int NodeCount() const { return static_cast<int>(FNodes.size()); }
    const TTreeNode& Node(int node) const { return FNodes[static_cast<size_t>(node)]; }
    const std::vector<int>& TopLevel() const { return FTopLevel; }
    // The nodes whose data is data, in tree order: depth first, display order, each node before
    // its children.
    std::vector<int> NodesWithData(long long data) const;
    QModelIndex IndexOfNode(int node) const;
    // kNoNode for an invalid index.
    int NodeOfIndex(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    const std::vector<int>& ChildrenOf(const QModelIndex& parent) const;
    // [image][selected image]: both pictures in one icon, built on first use.
    mutable QIcon FIcons[6][6];
    std::array<QIcon, 6> FImages;
    std::vector<TTreeNode> FNodes;
    std::vector<int> FTopLevel;
    bool FPublished = true;
};

} // namespace orlenta
