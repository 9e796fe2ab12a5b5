#include "Strings.h"

#include <algorithm>
#include <memory>

#include "ClassDef.h"
#include "Streams.h"

namespace fw {

// --- TStrings --------------------------------------------------------------

const TClass& TStrings::StaticClass() {
  // The lines are stored as one list property, "Strings", as in form descriptions.
  static const TClass cls = TClassDef<TStrings>().StringList("Strings", &TStrings::ToVector, &TStrings::SetVector);
  return cls;
}

void TStrings::Error(const char* Msg, int Index) const {
  throw EStringListError(Format(Msg, Index));
}

void TStrings::Put(int Index, const std::string& S) {
  TObject* o = GetObjectAt(Index);
  Delete(Index);
  InsertObject(Index, S, o);
}

void TStrings::InsertObject(int Index, const std::string& S, TObject* AObject) {
  Insert(Index, S);
  PutObjectAt(Index, AObject);
}

int TStrings::Add(const std::string& S) {
  int index = Count();
  Insert(index, S);
  return index;
}

int TStrings::AddObject(const std::string& S, TObject* AObject) {
  int index = Add(S);
  PutObjectAt(index, AObject);
  return index;
}

void TStrings::AddStrings(const TStrings* Strings) {
  Updating([&] {
    for (int i = 0; i < Strings->Count(); ++i) AddObject(Strings->Get(i), Strings->GetObjectAt(i));
  });
}

void TStrings::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  Updating([&] {
    std::string s = Get(CurIndex);
    TObject* o = GetObjectAt(CurIndex);
    // The copy goes in first, where the line belongs once the old one is gone, so a
    // refused insert (an index out of range, a sorted list) loses nothing.
    int insertAt = NewIndex > CurIndex ? NewIndex + 1 : NewIndex;
    int oldAt = NewIndex > CurIndex ? CurIndex : CurIndex + 1;
    if (NewIndex < 0 || NewIndex >= Count()) Error("List index out of bounds (%d)", NewIndex);
    InsertObject(insertAt, s, o);
    // The object moves with the line: a list that owns its objects must not free it.
    PutObjectAt(oldAt, nullptr);
    Delete(oldAt);
  });
}

void TStrings::Exchange(int Index1, int Index2) {
  Updating([&] {
    std::string s = Get(Index1);
    TObject* o = GetObjectAt(Index1);
    Put(Index1, Get(Index2));
    PutObjectAt(Index1, GetObjectAt(Index2));
    Put(Index2, s);
    PutObjectAt(Index2, o);
  });
}

int TStrings::IndexOf(const std::string& S) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(Get(i), S)) return i;
  return -1;
}

int TStrings::IndexOfObject(const TObject* AObject) const {
  for (int i = 0; i < Count(); ++i)
    if (GetObjectAt(i) == AObject) return i;
  return -1;
}

int TStrings::IndexOfName(const std::string& Name) const {
  for (int i = 0; i < Count(); ++i) {
    std::string s = Get(i);
    size_t eq = s.find('=');
    if (eq != std::string::npos && SameText(s.substr(0, eq), Name)) return i;
  }
  return -1;
}

std::string TStrings::Values(const std::string& Name) const {
  int i = IndexOfName(Name);
  if (i < 0) return {};
  std::string s = Get(i);
  return s.substr(s.find('=') + 1);
}

std::string TStrings::Text() const {
  std::string out;
  for (int i = 0; i < Count(); ++i) {
    out += Get(i);
    out += "\r\n";
  }
  return out;
}

void TStrings::SetText(const std::string& Value) {
  Updating([&] {
    Clear();
    size_t start = 0;
    while (start < Value.size()) {
      size_t end = Value.find_first_of("\r\n", start);
      if (end == std::string::npos) {
        Add(Value.substr(start));
        break;
      }
      Add(Value.substr(start, end - start));
      start = end + 1;
      if (Value[end] == '\r' && start < Value.size() && Value[start] == '\n') ++start;
    }
  });
}

std::vector<std::string> TStrings::ToVector() const {
  std::vector<std::string> out;
  out.reserve(static_cast<size_t>(Count()));
  for (int i = 0; i < Count(); ++i) out.push_back(Get(i));
  return out;
}

void TStrings::SetVector(const std::vector<std::string>& Lines) {
  Updating([&] {
    Clear();
    for (const std::string& s : Lines) Add(s);
  });
}

void TStrings::LoadFromFile(const std::string& FileName) {
  std::unique_ptr<TFileStream> file;
  try {
    file = std::make_unique<TFileStream>(FileName, fmOpenRead);
  } catch (const EStreamError& e) {
    throw EInOutError(e.Message());
  }
  LoadFromStream(*file);
}

void TStrings::LoadFromStream(TStream& Stream) {
  int64_t size = Stream.Size() - Stream.Position();
  std::string text(static_cast<size_t>(std::max<int64_t>(size, 0)), '\0');
  Stream.ReadBuffer(text.data(), text.size());
  SetText(text);
}

void TStrings::SaveToFile(const std::string& FileName) const {
  std::unique_ptr<TFileStream> file;
  try {
    file = std::make_unique<TFileStream>(FileName, fmCreate);
    std::string text = Text();
    file->WriteBuffer(text.data(), text.size());
    file->Flush();
  } catch (const EStreamError& e) {
    throw EInOutError(e.Message());
  }
}

void TStrings::BeginUpdate() {
  if (FUpdateCount++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::Assign(const TPersistent* Source) {
  if (const auto* src = dynamic_cast<const TStrings*>(Source)) {
    if (src == this) return;
    Updating([&] {
      Clear();
      AddStrings(src);
    });
    return;
  }
  TPersistent::Assign(Source);
}

bool TStrings::Equals(const TStrings& Other) const {
  if (Count() != Other.Count()) return false;
  for (int i = 0; i < Count(); ++i)
    if (Get(i) != Other.Get(i)) return false;
  return true;
}

// --- TStringList -----------------------------------------------------------

const TClass& TStringList::StaticClass() {
  static const TClass cls = TClassDef<TStringList>();
  return cls;
}

TStringList::~TStringList() {
  OnChange = nullptr;
  OnChanging = nullptr;
  Clear();
}

void TStringList::CheckIndex(int Index) const {
  if (Index < 0 || Index >= Count()) Error("List index out of bounds (%d)", Index);
}

std::string TStringList::Get(int Index) const {
  CheckIndex(Index);
  return FItems[static_cast<size_t>(Index)].S;
}

void TStringList::Put(int Index, const std::string& S) {
  if (FSorted) Error("Operation not allowed on sorted string list", Index);
  CheckIndex(Index);
  Changing();
  FItems[static_cast<size_t>(Index)].S = S;
  Changed();
}

TObject* TStringList::GetObjectAt(int Index) const {
  CheckIndex(Index);
  return FItems[static_cast<size_t>(Index)].O;
}

void TStringList::PutObjectAt(int Index, TObject* AObject) {
  CheckIndex(Index);
  Changing();
  FItems[static_cast<size_t>(Index)].O = AObject;
  Changed();
}

void TStringList::Insert(int Index, const std::string& S) {
  InsertObject(Index, S, nullptr);
}

void TStringList::InsertObject(int Index, const std::string& S, TObject* AObject) {
  if (FSorted) Error("Operation not allowed on sorted string list", Index);
  if (Index < 0 || Index > Count()) Error("List index out of bounds (%d)", Index);
  InsertItem(Index, S, AObject);
}

void TStringList::InsertItem(int Index, const std::string& S, TObject* AObject) {
  Changing();
  FItems.insert(FItems.begin() + Index, Item{S, AObject});
  Changed();
}

int TStringList::Add(const std::string& S) {
  return AddObject(S, nullptr);
}

int TStringList::AddObject(const std::string& S, TObject* AObject) {
  int index = Count();
  if (FSorted) {
    if (Find(S, index)) {
      if (FDuplicates == dupIgnore) return index;
      if (FDuplicates == dupError) Error("String list does not allow duplicates", 0);
    }
  }
  InsertItem(index, S, AObject);
  return index;
}

void TStringList::Delete(int Index) {
  CheckIndex(Index);
  Changing();
  TObject* o = FItems[static_cast<size_t>(Index)].O;
  FItems.erase(FItems.begin() + Index);
  if (FOwnsObjects) delete o;
  Changed();
}

void TStringList::Clear() {
  if (FItems.empty()) return;
  Changing();
  std::vector<Item> old;
  old.swap(FItems);
  if (FOwnsObjects)
    for (Item& it : old) delete it.O;
  Changed();
}

void TStringList::Exchange(int Index1, int Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  Changing();
  std::swap(FItems[static_cast<size_t>(Index1)], FItems[static_cast<size_t>(Index2)]);
  Changed();
}

int TStringList::CompareStrings(const std::string& A, const std::string& B) const {
  if (FCaseSensitive) return A < B ? -1 : (A == B ? 0 : 1);
  return CompareText(A, B);
}

int TStringList::IndexOf(const std::string& S) const {
  if (!FSorted) {
    for (int i = 0; i < Count(); ++i)
      if (CompareStrings(FItems[static_cast<size_t>(i)].S, S) == 0) return i;
    return -1;
  }
  int index;
  return Find(S, index) ? index : -1;
}

bool TStringList::Find(const std::string& S, int& Index) const {
  // First match among duplicates, as lookups by name expect.
  int lo = 0, hi = Count() - 1;
  bool found = false;
  while (lo <= hi) {
    int mid = (lo + hi) / 2;
    int c = CompareStrings(FItems[static_cast<size_t>(mid)].S, S);
    if (c < 0) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
      if (c == 0) {
        found = true;
        if (FDuplicates != dupAccept) lo = mid;
      }
    }
  }
  Index = lo;
  return found;
}

void TStringList::Sort() {
  Changing();
  std::stable_sort(FItems.begin(), FItems.end(),
                   [this](const Item& a, const Item& b) { return CompareStrings(a.S, b.S) < 0; });
  Changed();
}

void TStringList::SetSorted(bool Value) {
  if (FSorted == Value) return;
  if (Value) Sort();
  FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
  if (FCaseSensitive == Value) return;
  FCaseSensitive = Value;
  if (FSorted) Sort();
}

void TStringList::SetUpdateState(bool IsUpdating) {
  if (IsUpdating)
    Changing();
  else
    Changed();
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

}  // namespace fw
