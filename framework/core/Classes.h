// The root classes: TObject with its run-time class, TPersistent (Assign) and
// TComponent (ownership, names, state, free notifications, Loaded).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Sets.h"
#include "SysUtils.h"
#include "TypInfo.h"

// The one line that makes a class part of the run-time class system:
//
//   class TFoo : public TComponent {
//     FW_CLASS(TFoo, TComponent)
//
// Base must be the C++ base; TClassDef<TFoo>() checks that at compile time and takes
// the class name and parent from here. The class's .cpp defines StaticClass().
#define FW_CLASS(Class, Base)                                                  \
 public:                                                                       \
  using inherited = Base;                                                      \
  using ThisClass = Class;                                                     \
  static constexpr const char* StaticClassName() { return #Class; }           \
  static const ::fw::TClass& StaticClass();                                    \
  const ::fw::TClass& ClassType() const override { return StaticClass(); }     \
                                                                               \
 private:

namespace fw {

class TObject {
 public:
  virtual ~TObject() = default;
  static const TClass& StaticClass();
  virtual const TClass& ClassType() const { return StaticClass(); }
  const std::string& ClassName() const { return ClassType().ClassName(); }
  bool InheritsFrom(const TClass& cls) const { return ClassType().InheritsFrom(cls); }

 protected:
  TObject() = default;
  TObject(const TObject&) = default;
  TObject& operator=(const TObject&) = default;
};

class TPersistent : public TObject {
  FW_CLASS(TPersistent, TObject)
 public:
  TPersistent() = default;
  // Copies Source into this object; raises EConvertError when the classes do not fit.
  virtual void Assign(const TPersistent* Source);

 protected:
  virtual void AssignTo(TPersistent* Dest) const;
};

enum class TComponentStateFlag { csLoading, csReading, csWriting, csDestroying, csDesigning, csFreeNotification };
using TComponentState = TSet<TComponentStateFlag>;
using enum TComponentStateFlag;

enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
  FW_CLASS(TComponent, TPersistent)
 public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return FOwner; }
  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int Index) const;
  int ComponentIndex() const;
  // The owned component of that name (case-insensitive), or nil.
  TComponent* FindComponent(std::string_view AName) const;

  const std::string& Name() const { return FName; }
  // A valid identifier (or empty), unique among the owner's components.
  virtual void SetName(const std::string& NewName);
  int Tag() const { return FTag; }
  void SetTag(int Value) { FTag = Value; }

  TComponentState ComponentState() const { return FComponentState; }
  bool IsLoading() const { return FComponentState.Contains(csLoading); }
  void SetDesigning(bool Value, bool SetChildren = true);

  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);
  void DestroyComponents();
  // Marks this component and those it owns as being destroyed.
  void Destroying();
  // Runs before the destructors: the last moment at which the whole object, with
  // its derived parts, still exists (forms fire OnDestroy here).
  virtual void BeforeDestruction() { Destroying(); }
  // The way to free a component: BeforeDestruction, then delete. Owners free
  // their components this way.
  void Free();

  // Asks to be told (Notification opRemove) when AComponent is destroyed.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  // Called by the form loader: state while the component's properties are read.
  void BeginLoading();
  void EndReading() { FComponentState.Exclude(csReading); }
  // Runs once everything in the resource is read and every reference resolved.
  virtual void Loaded();

  // Parent relation used by the loader for components nested inside another (controls).
  virtual void SetParentComponent(TComponent* Value) {}

 protected:
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  virtual void ValidateRename(TComponent* AComponent, const std::string& CurName, const std::string& NewName);

 private:
  void RemoveNotification(TComponent* AComponent);

  TComponent* FOwner = nullptr;
  std::string FName;
  int FTag = 0;
  TComponentState FComponentState;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
};

// Frees components held outside an owner: std::unique_ptr<T, TFreeDeleter>.
struct TFreeDeleter {
  void operator()(TComponent* Component) const { Component->Free(); }
};
template <class T>
using TOwnedPtr = std::unique_ptr<T, TFreeDeleter>;

// Creates a component of Class the way a form loader does: its state already holds
// csLoading and csReading while its constructor runs.
TComponent* CreateComponentForLoading(const TClass& Class, TComponent* Owner);

// Raises EComponentError for a name that is neither empty nor an identifier.
void CheckComponentName(const std::string& Name);

}  // namespace fw
