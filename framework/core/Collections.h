// Collections: a list of items of one class, each with published properties,
// owned by a component property (for example a registry object's entries).
#pragma once

#include <vector>

#include "Classes.h"

namespace fw {

class TCollection;

class TCollectionItem : public TPersistent {
  FW_CLASS(TCollectionItem, TPersistent)
 public:
  explicit TCollectionItem(TCollection* Collection);
  ~TCollectionItem() override;
  TCollection* Collection() const { return FCollection; }
  void SetCollection(TCollection* Value);
  int Index() const;

 protected:
  virtual void Changed(bool AllItems);

 private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
};

class TCollection : public TPersistent {
  FW_CLASS(TCollection, TPersistent)
 public:
  explicit TCollection(const TClass& ItemClass);
  ~TCollection() override;
  TCollection(const TCollection&) = delete;
  TCollection& operator=(const TCollection&) = delete;

  const TClass& ItemClass() const { return *FItemClass; }
  int Count() const { return static_cast<int>(FItems.size()); }
  TCollectionItem* Items(int Index) const;
  // Creates a new item of the item class at the end.
  TCollectionItem* Add();
  void Delete(int Index);
  void Clear();
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();

  // Replaces the items with copies of Source's (each item's Assign).
  void Assign(const TPersistent* Source) override;

 protected:
  // Called when an item changed (nil: the whole collection); empty by default.
  virtual void Update(TCollectionItem* Item) {}

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* Item);
  void RemoveItem(TCollectionItem* Item);
  void Changed();

  const TClass* FItemClass;
  std::vector<TCollectionItem*> FItems;
  int FUpdateCount = 0;
};

}  // namespace fw
