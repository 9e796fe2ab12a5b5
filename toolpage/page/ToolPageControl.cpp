#include "ToolPageControl.h"

#include <ocidl.h>
#include <ole2.h>
#include <olectl.h>
#include <wrl/client.h>

#include <atomic>
#include <memory>

#include "ComServer.h"
#include "ToolPage.h"
#include "vx4.h"

using Microsoft::WRL::ComPtr;

namespace toolpage {

namespace {

constexpr DWORD kSinkCookie = 1;

HRESULT ExceptionResult() {
  try {
    throw;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
}

class TToolPageControl : public IToolPage,
                         public IOleObject,
                         public IOleInPlaceObject,
                         public IConnectionPointContainer {
 public:
  TToolPageControl() {
    FPage = fw::CreateFormFromResource<TToolPage>(fw::Application);
    ComServer().ObjectCreated();
  }
  virtual ~TToolPageControl() {
    try {
      if (FPage != nullptr) FPage->Free();
    } catch (...) {
    }
    ComServer().ObjectDestroyed();
  }

  // --- IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Iid, void** Object) override {
    if (Object == nullptr) return E_POINTER;
    *Object = nullptr;
    if (IsEqualIID(Iid, IID_IUnknown) || IsEqualIID(Iid, IID_IDispatch) || IsEqualIID(Iid, IID_IToolPage))
      *Object = static_cast<IToolPage*>(this);
    else if (IsEqualIID(Iid, IID_IOleObject))
      *Object = static_cast<IOleObject*>(this);
    else if (IsEqualIID(Iid, IID_IOleWindow) || IsEqualIID(Iid, IID_IOleInPlaceObject))
      *Object = static_cast<IOleInPlaceObject*>(this);
    else if (IsEqualIID(Iid, IID_IConnectionPointContainer))
      *Object = static_cast<IConnectionPointContainer*>(this);
    else
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++FRefs; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG refs = --FRefs;
    if (refs == 0) delete this;
    return refs;
  }

  // --- IDispatch (IToolPage's methods by their DISPIDs 1..7)
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* Count) override {
    if (Count == nullptr) return E_POINTER;
    *Count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** Info) override {
    if (Info != nullptr) *Info = nullptr;
    return DISP_E_BADINDEX;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* Names, UINT Count, LCID, DISPID* Ids) override {
    static const wchar_t* const kNames[] = {L"SetConnection", L"RefreshPage", L"QueryStatus", L"Reserved4",
                                            L"Reserved5",     L"StopEditing", L"Reserved7"};
    if (Names == nullptr || Ids == nullptr || Count == 0) return E_INVALIDARG;
    HRESULT result = S_OK;
    for (UINT i = 0; i < Count; ++i) Ids[i] = DISPID_UNKNOWN;
    for (DISPID id = 1; id <= 7; ++id)
      if (_wcsicmp(Names[0], kNames[id - 1]) == 0) Ids[0] = id;
    if (Ids[0] == DISPID_UNKNOWN || Count > 1) result = DISP_E_UNKNOWNNAME;
    return result;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID Id, REFIID, LCID, WORD Flags, DISPPARAMS* Params, VARIANT* Result, EXCEPINFO*,
                                   UINT* ArgError) override {
    if ((Flags & DISPATCH_METHOD) == 0) return DISP_E_MEMBERNOTFOUND;
    UINT argCount = Params != nullptr ? Params->cArgs : 0;
    auto intArg = [&](VARTYPE Type, VARIANT& Out) -> HRESULT {
      if (argCount != 1) return DISP_E_BADPARAMCOUNT;
      VariantInit(&Out);
      HRESULT hr = VariantChangeType(&Out, &Params->rgvarg[0], 0, Type);
      if (FAILED(hr) && ArgError != nullptr) *ArgError = 0;
      return FAILED(hr) ? DISP_E_TYPEMISMATCH : S_OK;
    };
    VARIANT arg;
    HRESULT hr;
    switch (Id) {
      case 1:
        if (FAILED(hr = intArg(VT_I4, arg))) return hr;
        return SetConnection(arg.lVal);
      case 2:
        if (FAILED(hr = intArg(VT_BOOL, arg))) return hr;
        return RefreshPage(arg.boolVal);
      case 3: {
        unsigned char value = 0;
        hr = QueryStatus(&value);
        if (Result != nullptr) {
          VariantInit(Result);
          Result->vt = VT_BOOL;
          Result->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
        }
        return hr;
      }
      case 4:
        return Reserved4();
      case 5:
        return Reserved5();
      case 6:
        return StopEditing();
      case 7:
        if (FAILED(hr = intArg(VT_I4, arg))) return hr;
        return Reserved7(arg.lVal);
      default:
        return DISP_E_MEMBERNOTFOUND;
    }
  }

  // --- IToolPage
  HRESULT STDMETHODCALLTYPE SetConnection(LONG ConnRef) override {
    FPage->SetConnection(static_cast<uint32_t>(ConnRef));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE RefreshPage(VARIANT_BOOL Flag) override {
    if (Flag != 0) return S_OK;
    try {
      FPage->RefreshPage();
      return S_OK;
    } catch (...) {
      return ExceptionResult();
    }
  }
  HRESULT STDMETHODCALLTYPE QueryStatus(unsigned char* Value) override {
    if (Value == nullptr) return E_POINTER;
    *Value = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Reserved4() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Reserved5() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE StopEditing() override {
    try {
      FPage->StopEditing();
      return S_OK;
    } catch (...) {
      return ExceptionResult();
    }
  }
  HRESULT STDMETHODCALLTYPE Reserved7(LONG) override { return S_OK; }

  // --- IOleObject
  HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* Site) override {
    FClientSite = Site;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** Site) override {
    if (Site == nullptr) return E_POINTER;
    *Site = FClientSite.Get();
    if (*Site != nullptr) (*Site)->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Close(DWORD) override { return InPlaceDeactivate(); }
  HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** Moniker) override {
    if (Moniker != nullptr) *Moniker = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject** Data) override {
    if (Data != nullptr) *Data = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DoVerb(LONG Verb, LPMSG, IOleClientSite* ActiveSite, LONG, HWND Parent,
                                   LPCRECT PosRect) override {
    switch (Verb) {
      case OLEIVERB_PRIMARY:
      case OLEIVERB_SHOW:
      case OLEIVERB_INPLACEACTIVATE:
      case OLEIVERB_UIACTIVATE:
        try {
          return InPlaceActivate(ActiveSite != nullptr ? ActiveSite : FClientSite.Get(), Parent, PosRect);
        } catch (...) {
          return ExceptionResult();
        }
      case OLEIVERB_HIDE:
        if (FPage->HandleAllocated()) FPage->SetVisible(false);
        return S_OK;
      default:
        return OLEOBJ_S_INVALIDVERB;
    }
  }
  HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** Enum) override {
    if (Enum != nullptr) *Enum = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* ClassId) override {
    if (ClassId == nullptr) return E_POINTER;
    *ClassId = CLSID_ToolPageX;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR* Name) override {
    return OleRegGetUserType(CLSID_ToolPageX, USERCLASSTYPE_FULL, Name);
  }
  HRESULT STDMETHODCALLTYPE SetExtent(DWORD Aspect, SIZEL* Size) override {
    if (Aspect != DVASPECT_CONTENT || Size == nullptr) return E_INVALIDARG;
    FExtent = *Size;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD Aspect, SIZEL* Size) override {
    if (Aspect != DVASPECT_CONTENT || Size == nullptr) return E_INVALIDARG;
    *Size = FExtent;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD* Connection) override {
    if (Connection != nullptr) *Connection = 0;
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return OLE_E_NOCONNECTION; }
  HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** Enum) override {
    if (Enum != nullptr) *Enum = nullptr;
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD* Status) override {
    if (Status == nullptr) return E_POINTER;
    *Status = kToolPageMiscStatus;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

  // --- IOleWindow / IOleInPlaceObject
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* Window) override {
    if (Window == nullptr) return E_POINTER;
    *Window = FInPlaceSite ? FPage->Handle() : nullptr;
    return *Window != nullptr ? S_OK : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override {
    if (!FInPlaceSite) return S_OK;
    if (FPage->HandleAllocated()) {
      FPage->SetVisible(false);
      FPage->DestroyHandle();
    }
    FPage->SetParentWindow(nullptr);
    ComPtr<IOleInPlaceSite> site = std::move(FInPlaceSite);
    site->OnInPlaceDeactivate();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE UIDeactivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT PosRect, LPCRECT) override {
    if (PosRect == nullptr) return E_INVALIDARG;
    FPage->SetBounds(PosRect->left, PosRect->top, PosRect->right - PosRect->left, PosRect->bottom - PosRect->top);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override { return INPLACE_E_NOTUNDOABLE; }

  // --- IConnectionPointContainer (one point: ToolEvents)
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** Enum) override {
    if (Enum != nullptr) *Enum = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID Iid, IConnectionPoint** Point) override {
    if (Point == nullptr) return E_POINTER;
    *Point = nullptr;
    if (!IsEqualIID(Iid, DIID_ToolEvents)) return CONNECT_E_NOCONNECTION;
    *Point = &FEventPoint;
    AddRef();
    return S_OK;
  }

 private:
  // The connection point of ToolEvents (one sink at a time); it lives and counts with the control.
  class TEventPoint : public IConnectionPoint {
   public:
    explicit TEventPoint(TToolPageControl* Owner) : FOwner(Owner) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Iid, void** Object) override {
      if (Object == nullptr) return E_POINTER;
      *Object = nullptr;
      if (!IsEqualIID(Iid, IID_IUnknown) && !IsEqualIID(Iid, IID_IConnectionPoint)) return E_NOINTERFACE;
      *Object = static_cast<IConnectionPoint*>(this);
      AddRef();
      return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return FOwner->AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return FOwner->Release(); }
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* Iid) override {
      if (Iid == nullptr) return E_POINTER;
      *Iid = DIID_ToolEvents;
      return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** Container) override {
      if (Container == nullptr) return E_POINTER;
      *Container = static_cast<IConnectionPointContainer*>(FOwner);
      FOwner->AddRef();
      return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* Sink, DWORD* Cookie) override {
      if (Sink == nullptr || Cookie == nullptr) return E_POINTER;
      *Cookie = 0;
      if (FOwner->FPage->Events() != nullptr) return CONNECT_E_ADVISELIMIT;
      ComPtr<IDispatch> events;
      if (FAILED(Sink->QueryInterface(DIID_ToolEvents, reinterpret_cast<void**>(events.GetAddressOf()))) &&
          FAILED(Sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(events.GetAddressOf()))))
        return CONNECT_E_CANNOTCONNECT;
      FOwner->FPage->EventSinkChanged(events.Get());
      *Cookie = kSinkCookie;
      return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD Cookie) override {
      if (Cookie != kSinkCookie || FOwner->FPage->Events() == nullptr) return CONNECT_E_NOCONNECTION;
      FOwner->FPage->EventSinkChanged(nullptr);
      return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** Enum) override {
      if (Enum != nullptr) *Enum = nullptr;
      return E_NOTIMPL;
    }

   private:
    TToolPageControl* FOwner;
  };

  HRESULT InPlaceActivate(IOleClientSite* Site, HWND Parent, LPCRECT PosRect) {
    if (FInPlaceSite) {
      FPage->Show();
      return S_OK;
    }
    if (Site == nullptr) return E_INVALIDARG;
    ComPtr<IOleInPlaceSite> site;
    if (FAILED(Site->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(site.GetAddressOf()))))
      return E_NOINTERFACE;
    if (site->CanInPlaceActivate() != S_OK) return E_FAIL;
    HWND window = Parent;
    if (window == nullptr && FAILED(site->GetWindow(&window))) return E_FAIL;
    site->OnInPlaceActivate();
    FInPlaceSite = site;
    RECT rect{0, 0, FPage->Width(), FPage->Height()};
    if (PosRect != nullptr) rect = *PosRect;
    FPage->SetParentWindow(window);
    FPage->SetBounds(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    FPage->Show();
    return S_OK;
  }

  std::atomic<ULONG> FRefs{1};
  TToolPage* FPage = nullptr;
  ComPtr<IOleClientSite> FClientSite;
  ComPtr<IOleInPlaceSite> FInPlaceSite;
  TEventPoint FEventPoint{this};
  SIZEL FExtent{13520, 10583};  // 511 x 400 pixels at 96 dpi, in HIMETRIC
};

}  // namespace

HRESULT CreateToolPageControl(REFIID Iid, void** Object) {
  TToolPageControl* control = nullptr;
  try {
    control = new TToolPageControl();
  } catch (...) {
    return ExceptionResult();
  }
  HRESULT hr = control->QueryInterface(Iid, Object);
  control->Release();
  return hr;
}

}  // namespace toolpage
