#pragma once
// The catalogue tree as seen by the tree view: a model over the engine's own nodes, with no copy.
// Each index carries its node; rows come from the node's place among its siblings.

#include "container/Catalogue.h"

#include <QAbstractItemModel>

namespace pyxa {

class TFileIcons;

class TCatalogueModel : public QAbstractItemModel {
    Q_OBJECT
public:
    // icons: the images that the nodes' ImageIndex values point into.
    TCatalogueModel(TCatalogue& tree, const TFileIcons& icons, QObject* parent = nullptr);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    TTreeNode* NodeOf(const QModelIndex& index) const;
    QModelIndex IndexOf(const TTreeNode* node) const;

    // Brackets engine work that changes the tree's shape: views drop everything they know.
    void BeginEngineChange();
    void EndEngineChange();
    // A node's image or drawing changed.
    void NodeChanged(const TTreeNode* node);
    // The same for all children of parent (the top level for none).
    void ChildrenChanged(const TTreeNode* parent);

private:
    TCatalogue& FTree;
    const TFileIcons& FIcons;
};

// The item colour 0x00BBGGRR as a Qt colour.
QColor ItemColour(int32_t color);

}  // namespace pyxa
