#include "forms/tree.h"

#include <gtest/gtest.h>

#include <QTreeWidget>
#include <string>
#include <vector>

#include "forms/form.h"

namespace {

std::string flat(const TTreeView* tree) {
  std::string all;
  for (int i = 0; i < tree->Items()->Count(); ++i)
    all += tree->Items()->Item(i)->Text().str() + " ";
  return all;
}

TEST(FormsTreeView, NodesInFlatOrderWithTheirParentsAndPositions) {
  TForm form(nullptr, "form");
  auto* tree = new TTreeView(&form, "overview");
  TTreeNodes* nodes = tree->Items();
  TTreeNode* general = nodes->Add(nullptr, "General Settings");
  TTreeNode* newdir = nodes->Add(general, "Newdir List");
  TTreeNode* special = nodes->AddChild(newdir, "Special Lists");
  TTreeNode* modules = nodes->Add(nullptr, "Server Modules");
  nodes->AddChild(modules, "default");
  TTreeNode* mp3 = nodes->Add(nodes->AddChild(modules, "old"), "mp3");
  special->setSelectedIndex(8);

  EXPECT_EQ(flat(tree),
            "General Settings Newdir List Special Lists Server Modules default old mp3 ");
  EXPECT_EQ(nodes->Item(3), modules);
  EXPECT_EQ(nodes->Item(7), nullptr);
  EXPECT_EQ(nodes->Item(-1), nullptr);
  EXPECT_EQ(special->Parent(), newdir);
  EXPECT_EQ(modules->Parent(), nullptr);
  EXPECT_EQ(mp3->Parent(), modules);
  EXPECT_EQ(mp3->Index(), 2);
  EXPECT_EQ(modules->Index(), 2);
  EXPECT_EQ(modules->Count(), 3);
  EXPECT_EQ(modules->Item(1)->Text(), "old");
  EXPECT_EQ(modules->Item(3), nullptr);
  EXPECT_EQ(special->SelectedIndex(), 8);
  modules->Item(1)->setText("renamed");
  EXPECT_EQ(modules->Item(1)->Text(), "renamed");

  modules->Item(1)->Delete();
  EXPECT_EQ(mp3->Index(), 1);
  newdir->Delete();  // with its child
  EXPECT_EQ(flat(tree), "General Settings Server Modules default mp3 ");
}

TEST(FormsTreeView, OnChangeFollowsTheSelectedNode) {
  TForm form(nullptr, "form");
  auto* tree = new TTreeView(&form, "overview");
  TTreeNode* a = tree->Items()->Add(nullptr, "a");
  TTreeNode* b = tree->Items()->Add(nullptr, "b");
  TTreeNode* b1 = tree->Items()->AddChild(b, "b1");
  std::vector<TTreeNode*> changes;
  tree->OnChange = [&](TObject* sender, TTreeNode* node) {
    EXPECT_EQ(sender, tree);
    changes.push_back(node);
  };
  EXPECT_EQ(tree->Selected(), nullptr);
  tree->setSelected(b1);
  tree->setSelected(b1);  // no change, no event
  EXPECT_EQ(tree->Selected(), b1);

  // A person's choice, as Qt reports it.
  static_cast<QTreeWidget*>(tree->widget())
      ->setCurrentItem(static_cast<QTreeWidget*>(tree->widget())->topLevelItem(0));
  EXPECT_EQ(tree->Selected(), a);

  // A handler may select another node while it handles a change.
  tree->OnChange = [&](TObject*, TTreeNode* node) {
    changes.push_back(node);
    if (node == b1) tree->setSelected(b);
  };
  tree->setSelected(b1);
  EXPECT_EQ(tree->Selected(), b);

  // Deleting the selected node selects another and says so.
  b->Delete();
  EXPECT_EQ(tree->Selected(), a);
  EXPECT_EQ(changes, (std::vector<TTreeNode*>{b1, a, b1, b, a}));
}

}  // namespace
