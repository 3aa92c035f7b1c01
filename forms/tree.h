// The tree view and its nodes.
#ifndef FORMS_TREE_H_
#define FORMS_TREE_H_

#include <functional>
#include <memory>

#include "forms/component.h"

class QTreeWidgetItem;
class TTreeNodes;
class TTreeView;

// One node of a tree: its text, its children and a number the program
// keeps with it (SelectedIndex). Nodes belong to their tree view; a node
// pointer stays valid until the node or the tree goes.
class TTreeNode {
 public:
  TTreeNode(const TTreeNode&) = delete;
  TTreeNode& operator=(const TTreeNode&) = delete;

  XString Text() const;
  void setText(const XString& text);
  // Null for a node at the top level.
  TTreeNode* Parent() const;
  // The position among its siblings, from 0.
  int Index() const;
  int Count() const;
  // The child at `index`; null when out of range.
  TTreeNode* Item(int index) const;
  int SelectedIndex() const { return selectedIndex_; }
  void setSelectedIndex(int index) { selectedIndex_ = index; }
  // Removes the node and its children from the tree and destroys them.
  void Delete();

 private:
  friend class TTreeNodes;
  friend class TTreeView;
  friend class NodeItem;
  TTreeNode(TTreeView* tree, QTreeWidgetItem* item) : tree_(tree), item_(item) {}
  static TTreeNode* of(QTreeWidgetItem* item);

  TTreeView* tree_;
  QTreeWidgetItem* item_;
  int selectedIndex_ = 0;
};

// All the nodes of one tree, in flat order: each parent before its
// children, siblings in order.
class TTreeNodes {
 public:
  // A new last sibling of `sibling`; at the top level when it is null.
  TTreeNode* Add(TTreeNode* sibling, const XString& text);
  // A new last child of `parent`; at the top level when it is null.
  TTreeNode* AddChild(TTreeNode* parent, const XString& text);
  int Count() const;
  // The node at a flat index; null when out of range.
  TTreeNode* Item(int index) const;

 private:
  friend class TTreeView;
  explicit TTreeNodes(TTreeView* tree) : tree_(tree) {}
  TTreeView* tree_;
};

using TTVChangedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;

// A tree of text nodes with at most one selected node; its labels cannot be
// edited. OnChange fires whenever the selected node changes: by the person,
// by the program, or because the selected node was deleted.
class TTreeView : public TWinControl {
 public:
  TTreeView(TWinControl* parent, const XString& name);
  ~TTreeView() override;
  TTreeNodes* Items() const { return items_.get(); }
  // Null when no node is selected.
  TTreeNode* Selected() const;
  void setSelected(TTreeNode* node);
  TTVChangedEvent OnChange;

 private:
  friend class TTreeNode;
  friend class TTreeNodes;
  std::unique_ptr<TTreeNodes> items_;
};

#endif  // FORMS_TREE_H_
