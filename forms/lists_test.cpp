#include "forms/lists.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <vector>

#include "forms/form.h"
#include "forms/testing.h"

namespace {

std::vector<XString> texts(const TStrings* items) {
  std::vector<XString> all;
  for (int i = 0; i < items->Count(); ++i) all.push_back(items->Strings(i));
  return all;
}

TEST(FormsListBox, ItemsSelectionAndClicks) {
  TForm form(nullptr, "form");
  form.Show();
  auto* list = new TListBox(&form, "list");
  list->SetBounds(0, 0, 150, 200);
  list->setMultiSelect(true);
  int clicks = 0;
  list->OnClick = [&](TObject* sender) {
    EXPECT_EQ(sender, list);
    ++clicks;
  };
  TStrings* items = list->Items();
  for (const char* text : {"a", "b", "", "b"}) items->Add(text);
  EXPECT_EQ(texts(items), (std::vector<XString>{"a", "b", "", "b"}));
  EXPECT_EQ(items->Strings(4), "");

  // The program's selections fire nothing; a person's clicks do.
  list->setSelected(0, true);
  EXPECT_EQ(clicks, 0);
  ASSERT_TRUE(forms::testing::clickItem(*list, 1));
  EXPECT_GE(clicks, 1);
  ASSERT_TRUE(forms::testing::clickItem(*list, 2, true));
  EXPECT_FALSE(list->Selected(0));
  EXPECT_TRUE(list->Selected(1));
  EXPECT_TRUE(list->Selected(2));
  EXPECT_FALSE(list->Selected(9));

  // Deleting the selected items from the last keeps the others in order.
  clicks = 0;
  for (int i = items->Count() - 1; i >= 0; --i) {
    if (list->Selected(i)) items->Delete(i);
  }
  items->Delete(7);
  EXPECT_EQ(texts(items), (std::vector<XString>{"a", "b"}));
  EXPECT_EQ(clicks, 0);
  items->Clear();
  EXPECT_EQ(items->Count(), 0);
}

TEST(FormsComboBox, SortedDropDownListChosenByAPerson) {
  TForm form(nullptr, "form");
  form.Show();
  auto* combo = new TComboBox(&form, "combo");
  combo->setSorted(true);
  int changes = 0;
  combo->OnChange = [&](TObject*) { ++changes; };
  for (const char* name : {"bob", "Alice", "carl", "alice", "Bob"}) combo->Items()->Add(name);
  EXPECT_EQ(texts(combo->Items()), (std::vector<XString>{"Alice", "alice", "bob", "Bob", "carl"}));
  // Nothing is chosen until somebody chooses.
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(combo->Text(), "");

  forms::testing::choose(*combo, 3);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(combo->Text(), "Bob");
  combo->Items()->Add("aaron");
  EXPECT_EQ(combo->ItemIndex(), 4);
  EXPECT_EQ(combo->Text(), "Bob");
  combo->setItemIndex(0);
  combo->setItemIndex(17);
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(changes, 1);

  auto* plain = new TComboBox(&form, "plain");
  for (const char* name : {"z", "y", "x"}) plain->Items()->Add(name);
  EXPECT_EQ(texts(plain->Items()), (std::vector<XString>{"z", "y", "x"}));
  plain->setItemIndex(1);
  plain->setSorted(true);
  EXPECT_EQ(texts(plain->Items()), (std::vector<XString>{"x", "y", "z"}));
  EXPECT_EQ(plain->Text(), "y");
}

}  // namespace
