// String lists: TStrings (the abstract list of lines with objects) and TStringList.
#pragma once

#include <string>
#include <vector>

#include "Classes.h"
#include "Events.h"

namespace fw {

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStrings : public TPersistent {
  FW_CLASS(TStrings, TPersistent)
 public:
  TStrings() = default;

  virtual int Count() const = 0;
  virtual std::string Get(int Index) const = 0;
  virtual void Put(int Index, const std::string& S);
  // Named apart from windows.h's GetObject macro, which would rename them in some units.
  virtual TObject* GetObjectAt(int Index) const { return nullptr; }
  virtual void PutObjectAt(int Index, TObject* AObject) {}
  virtual void Insert(int Index, const std::string& S) = 0;
  virtual void InsertObject(int Index, const std::string& S, TObject* AObject);
  virtual void Delete(int Index) = 0;
  virtual void Clear() = 0;
  virtual int Add(const std::string& S);
  virtual int AddObject(const std::string& S, TObject* AObject);
  virtual void AddStrings(const TStrings* Strings);
  virtual void Move(int CurIndex, int NewIndex);
  virtual void Exchange(int Index1, int Index2);
  // Case-insensitive, like the framework's lists.
  virtual int IndexOf(const std::string& S) const;
  int IndexOfObject(const TObject* AObject) const;
  // "Name=Value" lines.
  int IndexOfName(const std::string& Name) const;
  std::string Values(const std::string& Name) const;

  std::string Strings(int Index) const { return Get(Index); }
  TObject* Objects(int Index) const { return GetObjectAt(Index); }

  // The lines joined with CR LF after each; setting splits at CR LF, LF or CR.
  virtual std::string Text() const;
  virtual void SetText(const std::string& Value);
  std::vector<std::string> ToVector() const;
  void SetVector(const std::vector<std::string>& Lines);

  // Raises EInOutError when the file cannot be read or written.
  virtual void LoadFromFile(const std::string& FileName);
  virtual void LoadFromStream(class TStream& Stream);
  void SaveToFile(const std::string& FileName) const;

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }
  // Runs Change between BeginUpdate and EndUpdate, also when it raises.
  template <class F>
  void Updating(F&& Change) {
    BeginUpdate();
    try {
      Change();
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
  }

  void Assign(const TPersistent* Source) override;
  bool Equals(const TStrings& Other) const;

 protected:
  virtual void SetUpdateState(bool IsUpdating) {}
  [[noreturn]] void Error(const char* Msg, int Index) const;

 private:
  int FUpdateCount = 0;
};

class TStringList : public TStrings {
  FW_CLASS(TStringList, TStrings)
 public:
  TStringList() = default;
  ~TStringList() override;

  int Count() const override { return static_cast<int>(FItems.size()); }
  std::string Get(int Index) const override;
  void Put(int Index, const std::string& S) override;
  TObject* GetObjectAt(int Index) const override;
  void PutObjectAt(int Index, TObject* AObject) override;
  void Insert(int Index, const std::string& S) override;
  void InsertObject(int Index, const std::string& S, TObject* AObject) override;
  void Delete(int Index) override;
  void Clear() override;
  int Add(const std::string& S) override;
  int AddObject(const std::string& S, TObject* AObject) override;
  void Exchange(int Index1, int Index2) override;
  int IndexOf(const std::string& S) const override;
  // Binary search of a sorted list; Index is where S is or would go.
  bool Find(const std::string& S, int& Index) const;

  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value);
  // When set, the list frees the objects of deleted lines.
  bool OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }
  void Sort();

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  void SetUpdateState(bool IsUpdating) override;
  virtual void Changed();
  virtual void Changing();
  int CompareStrings(const std::string& A, const std::string& B) const;

 private:
  struct Item {
    std::string S;
    TObject* O = nullptr;
  };
  void InsertItem(int Index, const std::string& S, TObject* AObject);
  void CheckIndex(int Index) const;

  std::vector<Item> FItems;
  bool FSorted = false;
  bool FCaseSensitive = false;
  bool FOwnsObjects = false;
  TDuplicates FDuplicates = dupIgnore;
};

}  // namespace fw
