#include "CatalogueModel.h"

#include "FileIcons.h"

#include <QColor>
#include <QFont>

namespace pyxa {

namespace {

const QColor kTreeBackground(0xF8, 0xF9, 0xFC);

}  // namespace

QColor ItemColour(int32_t color)
{
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

TCatalogueModel::TCatalogueModel(TCatalogue& tree, const TFileIcons& icons, QObject* parent)
    : QAbstractItemModel(parent), FTree(tree), FIcons(icons)
{
}

QModelIndex TCatalogueModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column != 0 || row < 0 || (parent.isValid() && parent.column() != 0))
        return {};
    const TTreeNode* parentNode = NodeOf(parent);
    if (row >= FTree.ChildCount(parentNode))
        return {};
    return createIndex(row, column, FTree.Child(parentNode, row));
}

QModelIndex TCatalogueModel::parent(const QModelIndex& child) const
{
    const TTreeNode* node = NodeOf(child);
    if (!node)
        return {};
    return IndexOf(node->Parent());
}

int TCatalogueModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() && parent.column() != 0)
        return 0;
    return FTree.ChildCount(NodeOf(parent));
}

int TCatalogueModel::columnCount(const QModelIndex&) const
{
    return 1;
}

bool TCatalogueModel::hasChildren(const QModelIndex& parent) const
{
    return rowCount(parent) > 0;
}

QVariant TCatalogueModel::data(const QModelIndex& index, int role) const
{
    const TTreeNode* node = NodeOf(index);
    if (!node)
        return {};
    const TItemInfo& item = node->Item();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return QString::fromStdString(item.Name);
    case Qt::DecorationRole:
        return FIcons.Icon(node->ImageIndex);
    case Qt::ForegroundRole:
        return ItemColour(item.Color);
    case Qt::BackgroundRole:
        return kTreeBackground;
    case Qt::FontRole: {
        QFont font;
        font.setItalic(item.Encrypted);
        font.setBold(!item.Comments.empty());
        return font;
    }
    default:
        return {};
    }
}

TTreeNode* TCatalogueModel::NodeOf(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != this)
        return nullptr;
    return static_cast<TTreeNode*>(index.internalPointer());
}

QModelIndex TCatalogueModel::IndexOf(const TTreeNode* node) const
{
    if (!node)
        return {};
    return createIndex(node->IndexInParent(), 0, const_cast<TTreeNode*>(node));
}

void TCatalogueModel::BeginEngineChange()
{
    beginResetModel();
}

void TCatalogueModel::EndEngineChange()
{
    endResetModel();
}

void TCatalogueModel::NodeChanged(const TTreeNode* node)
{
    const QModelIndex index = IndexOf(node);
    emit dataChanged(index, index);
}

void TCatalogueModel::ChildrenChanged(const TTreeNode* parent)
{
    const int count = FTree.ChildCount(parent);
    if (count == 0)
        return;
    const QModelIndex parentIndex = IndexOf(parent);
    emit dataChanged(index(0, 0, parentIndex), index(count - 1, 0, parentIndex));
}

}  // namespace pyxa
