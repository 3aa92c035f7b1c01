#include "forms/tree.h"

#include <QSignalBlocker>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include "forms/qt_glue.h"

using forms::glue::fromQ;
using forms::glue::fromQt;
using forms::glue::toQ;

// A tree item that carries its node, so the node lives and dies with it.
class NodeItem : public QTreeWidgetItem {
 public:
  NodeItem(TTreeView* tree, const XString& text) : node(tree, this) { setText(0, toQ(text)); }
  TTreeNode node;
};

namespace {

QTreeWidget* treeOf(const TTreeView* tree) { return static_cast<QTreeWidget*>(tree->widget()); }

}  // namespace

TTreeNode* TTreeNode::of(QTreeWidgetItem* item) {
  // Every item of our trees is a NodeItem.
  return item ? &static_cast<NodeItem*>(item)->node : nullptr;
}

XString TTreeNode::Text() const { return fromQ(item_->text(0)); }

void TTreeNode::setText(const XString& text) { item_->setText(0, toQ(text)); }

TTreeNode* TTreeNode::Parent() const { return of(item_->parent()); }

int TTreeNode::Index() const {
  QTreeWidgetItem* parent = item_->parent();
  return parent ? parent->indexOfChild(item_) : treeOf(tree_)->indexOfTopLevelItem(item_);
}

int TTreeNode::Count() const { return item_->childCount(); }

TTreeNode* TTreeNode::Item(int index) const {
  return index >= 0 && index < item_->childCount() ? of(item_->child(index)) : nullptr;
}

void TTreeNode::Delete() {
  // Deleting the item destroys this node: only locals from here on.
  TTreeView* tree = tree_;
  TTreeNode* selected = tree->Selected();
  bool selectionGoes = false;
  for (QTreeWidgetItem* up = selected ? selected->item_ : nullptr; up; up = up->parent()) {
    if (up == item_) selectionGoes = true;
  }
  {
    QSignalBlocker quiet(treeOf(tree));
    delete item_;
  }
  if (selectionGoes && tree->OnChange) tree->OnChange(tree, tree->Selected());
}

TTreeNode* TTreeNodes::Add(TTreeNode* sibling, const XString& text) {
  return AddChild(sibling ? sibling->Parent() : nullptr, text);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const XString& text) {
  QTreeWidget* tree = treeOf(tree_);
  QSignalBlocker quiet(tree);
  auto* item = new NodeItem(tree_, text);
  if (parent) {
    parent->item_->addChild(item);
    // A parent shows its children, as the settings tree expects.
    parent->item_->setExpanded(true);
  } else {
    tree->addTopLevelItem(item);
  }
  return &item->node;
}

int TTreeNodes::Count() const {
  int count = 0;
  for (QTreeWidgetItemIterator it(treeOf(tree_)); *it; ++it) ++count;
  return count;
}

TTreeNode* TTreeNodes::Item(int index) const {
  if (index < 0) return nullptr;
  for (QTreeWidgetItemIterator it(treeOf(tree_)); *it; ++it) {
    if (index-- == 0) return TTreeNode::of(*it);
  }
  return nullptr;
}

TTreeView::TTreeView(TWinControl* parent, const XString& name)
    : TWinControl(parent, parent, name, new QTreeWidget(clientOf(parent))),
      items_(new TTreeNodes(this)) {
  QTreeWidget* tree = treeOf(this);
  tree->setHeaderHidden(true);
  tree->setColumnCount(1);
  tree->setSelectionMode(QAbstractItemView::SingleSelection);
  tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
  QObject::connect(tree, &QTreeWidget::currentItemChanged, tree, [this](QTreeWidgetItem* now) {
    if (OnChange) fromQt([this, now] { OnChange(this, TTreeNode::of(now)); });
  });
}

TTreeView::~TTreeView() = default;

TTreeNode* TTreeView::Selected() const { return TTreeNode::of(treeOf(this)->currentItem()); }

void TTreeView::setSelected(TTreeNode* node) {
  TTreeNode* before = Selected();
  {
    QSignalBlocker quiet(widget());
    treeOf(this)->setCurrentItem(node ? node->item_ : nullptr);
  }
  if (Selected() != before && OnChange) OnChange(this, Selected());
}
