#include "forms/lists.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QListWidget>
#include <QSignalBlocker>
#include <vector>

#include "forms/qt_glue.h"

using forms::glue::fromQ;
using forms::glue::fromQt;
using forms::glue::toQ;

namespace {

class ListItems : public TStrings {
 public:
  explicit ListItems(QListWidget* list) : list_(list) {}
  int Count() const override { return list_->count(); }
  XString Strings(int index) const override {
    QListWidgetItem* item = list_->item(index);
    return item ? fromQ(item->text()) : XString();
  }
  int Add(const XString& text) override {
    QSignalBlocker quiet(list_);
    list_->addItem(toQ(text));
    return list_->count() - 1;
  }
  void Delete(int index) override {
    if (index < 0 || index >= list_->count()) return;
    QSignalBlocker quiet(list_);
    delete list_->takeItem(index);
  }
  void Clear() override {
    QSignalBlocker quiet(list_);
    list_->clear();
  }

 private:
  QListWidget* list_;
};

// Order of a sorted combo box: bytes, with 'A'..'Z' read as 'a'..'z'.
bool sortsBefore(const QString& a, const QString& b) {
  auto fold = [](QChar c) {
    char16_t u = c.unicode();
    return u >= 'A' && u <= 'Z' ? static_cast<char16_t>(u + ('a' - 'A')) : u;
  };
  for (qsizetype i = 0; i < a.size() && i < b.size(); ++i) {
    if (fold(a[i]) != fold(b[i])) return fold(a[i]) < fold(b[i]);
  }
  return a.size() < b.size();
}

class ComboItems : public TStrings {
 public:
  ComboItems(QComboBox* combo, const bool* sorted) : combo_(combo), sorted_(sorted) {}
  int Count() const override { return combo_->count(); }
  XString Strings(int index) const override {
    return index >= 0 && index < combo_->count() ? fromQ(combo_->itemText(index)) : XString();
  }
  int Add(const XString& text) override {
    QString item = toQ(text);
    int at = combo_->count();
    if (*sorted_) {
      // After any equal items, so equal texts keep the order they came in.
      at = 0;
      while (at < combo_->count() && !sortsBefore(item, combo_->itemText(at))) ++at;
    }
    QSignalBlocker quiet(combo_);
    bool noneChosen = combo_->currentIndex() < 0;
    combo_->insertItem(at, item);
    // Qt chooses the first item of an empty list; nothing is chosen here
    // until somebody chooses.
    if (noneChosen) combo_->setCurrentIndex(-1);
    return at;
  }
  void Delete(int index) override {
    if (index < 0 || index >= combo_->count()) return;
    QSignalBlocker quiet(combo_);
    combo_->removeItem(index);
  }
  void Clear() override {
    QSignalBlocker quiet(combo_);
    combo_->clear();
  }

 private:
  QComboBox* combo_;
  const bool* sorted_;
};

}  // namespace

TListBox::TListBox(TWinControl* parent, const XString& name)
    : TWinControl(parent, parent, name, new QListWidget(clientOf(parent))) {
  auto* list = static_cast<QListWidget*>(widget());
  items_ = std::make_unique<ListItems>(list);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  QObject::connect(list, &QListWidget::clicked, list, [this] {
    if (OnClick) fromQt([this] { OnClick(this); });
  });
  // A selection moved by the keyboard counts as a click too; one moved by
  // a mouse button is reported when the button comes up.
  QObject::connect(list, &QListWidget::itemSelectionChanged, list, [this] {
    if (OnClick && QGuiApplication::mouseButtons() == Qt::NoButton) {
      fromQt([this] { OnClick(this); });
    }
  });
}

TListBox::~TListBox() = default;

void TListBox::setMultiSelect(bool multiSelect) {
  static_cast<QListWidget*>(widget())->setSelectionMode(
      multiSelect ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

bool TListBox::Selected(int index) const {
  QListWidgetItem* item = static_cast<QListWidget*>(widget())->item(index);
  return item && item->isSelected();
}

void TListBox::setSelected(int index, bool selected) {
  auto* list = static_cast<QListWidget*>(widget());
  QListWidgetItem* item = list->item(index);
  if (!item) return;
  QSignalBlocker quiet(list);
  item->setSelected(selected);
}

TComboBox::TComboBox(TWinControl* parent, const XString& name)
    : TWinControl(parent, parent, name, new QComboBox(clientOf(parent))) {
  auto* combo = static_cast<QComboBox*>(widget());
  items_ = std::make_unique<ComboItems>(combo, &sorted_);
  QObject::connect(combo, &QComboBox::activated, combo, [this] {
    if (OnChange) fromQt([this] { OnChange(this); });
  });
}

TComboBox::~TComboBox() = default;

void TComboBox::setSorted(bool sorted) {
  sorted_ = sorted;
  if (!sorted) return;
  XString chosen = Text();
  bool anyChosen = ItemIndex() >= 0;
  std::vector<XString> texts;
  for (int i = 0; i < items_->Count(); ++i) texts.push_back(items_->Strings(i));
  items_->Clear();
  for (const XString& text : texts) items_->Add(text);
  int index = -1;
  for (int i = 0; anyChosen && index < 0 && i < items_->Count(); ++i) {
    if (items_->Strings(i) == chosen) index = i;
  }
  setItemIndex(index);
}

int TComboBox::ItemIndex() const { return static_cast<QComboBox*>(widget())->currentIndex(); }

void TComboBox::setItemIndex(int index) {
  auto* combo = static_cast<QComboBox*>(widget());
  QSignalBlocker quiet(combo);
  combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

XString TComboBox::Text() const {
  int index = ItemIndex();
  return index >= 0 ? items_->Strings(index) : XString();
}
