// The page library as a COM server: registration by regsvr32, creation through
// CoCreateInstance, the host interface's slots, the event that asks for a connection, and
// the library unloaded and loaded again in one process.
#include <gtest/gtest.h>
#include <ocidl.h>
#include <ole2.h>
#include <olectl.h>
#include <wrl/client.h>

#include "TuvekHarness.h"
#include "UiDriver.h"

using Microsoft::WRL::ComPtr;
using namespace tuvektest;

namespace {

std::string ReadValue(HKEY Root, const std::string& Path, const char* Name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(Root, Path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "(no key)";
  char value[1024] = {};
  DWORD size = sizeof value - 1;
  LONG status = RegQueryValueExA(key, Name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(key);
  return status == ERROR_SUCCESS ? std::string(value) : "(no value)";
}

bool KeyExists(HKEY Root, const std::string& Path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(Root, Path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// Frees the libraries COM holds that may go (Wine frees them on the second request).
void FreeUnusedLibraries() {
  for (int i = 0; i < 3; ++i) CoFreeUnusedLibrariesEx(0, 0);
}

struct ComFrameTest : ::testing::Test {
  TSavedPageRegistry Saved;
  void SetUp() override { ASSERT_EQ(consolehost::RunRegsvr32(LibraryPath(), false), 0); }
  void TearDown() override { FreeUnusedLibraries(); }
};

}  // namespace

TEST_F(ComFrameTest, Regsvr32WritesTheClassAndItsTypeLibraryAndRemovesThem) {
  std::string clsid = kPageClassKey;
  EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, clsid + "\\InprocServer32", nullptr), LibraryPath());
  EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, clsid + "\\InprocServer32", "ThreadingModel"), "Apartment");
  EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, clsid + "\\MiscStatus\\1", nullptr), "73728");
  EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, clsid + "\\ProgID", nullptr), "TuvekPage.ToolPageX");
  EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, clsid + "\\TypeLib", nullptr), "{5027C521-4434-11D2-8352-00A024D5AE34}");
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, clsid + "\\Control"));
  EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, "TuvekPage.ToolPageX\\CLSID", nullptr),
            "{5027C520-4434-11D2-8352-00A024D5AE34}");
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "TypeLib\\{5027C521-4434-11D2-8352-00A024D5AE34}\\1.0"));

  ASSERT_EQ(consolehost::RunRegsvr32(LibraryPath(), true), 0);
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, clsid));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "TuvekPage.ToolPageX"));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "TypeLib\\{5027C521-4434-11D2-8352-00A024D5AE34}"));
  ComPtr<IUnknown> page;
  EXPECT_EQ(CoCreateInstance(PageClassId(), nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                             reinterpret_cast<void**>(page.GetAddressOf())),
            REGDB_E_CLASSNOTREG);
}

TEST_F(ComFrameTest, TheHostInterfaceAnswersInItsSlotOrder) {
  ComPtr<IToolPage> page;
  ASSERT_EQ(CoCreateInstance(PageClassId(), nullptr, CLSCTX_INPROC_SERVER, IID_IToolPage,
                             reinterpret_cast<void**>(page.GetAddressOf())),
            S_OK);
  // The slots after IDispatch's seven, called by position as the host's compiler does.
  void** slots = *reinterpret_cast<void***>(page.Get());
  using TQueryStatus = HRESULT(STDMETHODCALLTYPE*)(IToolPage*, unsigned char*);
  using TNoArgs = HRESULT(STDMETHODCALLTYPE*)(IToolPage*);
  using TIntArg = HRESULT(STDMETHODCALLTYPE*)(IToolPage*, LONG);
  unsigned char status = 0xAA;
  EXPECT_EQ(reinterpret_cast<TQueryStatus>(slots[7 + 2])(page.Get(), &status), S_OK);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(reinterpret_cast<TNoArgs>(slots[7 + 3])(page.Get()), S_OK);
  EXPECT_EQ(reinterpret_cast<TNoArgs>(slots[7 + 4])(page.Get()), S_OK);
  EXPECT_EQ(reinterpret_cast<TNoArgs>(slots[7 + 5])(page.Get()), S_OK);
  EXPECT_EQ(reinterpret_cast<TIntArg>(slots[7 + 6])(page.Get(), 42), S_OK);
  // A refresh with a non-zero flag does nothing, not even ask for a connection.
  EXPECT_EQ(page->RefreshPage(VARIANT_TRUE), S_OK);

  // The same through late binding.
  DISPID id = 0;
  LPOLESTR name = const_cast<LPOLESTR>(L"QueryStatus");
  ASSERT_EQ(page->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), S_OK);
  EXPECT_EQ(id, 3);
  VARIANT result;
  VariantInit(&result);
  DISPPARAMS none{};
  ASSERT_EQ(page->Invoke(3, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, &result, nullptr, nullptr), S_OK);
  EXPECT_EQ(result.vt, VT_BOOL);
  EXPECT_EQ(result.boolVal, VARIANT_FALSE);
  EXPECT_EQ(page->Invoke(99, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
            DISP_E_MEMBERNOTFOUND);

  ComPtr<IOleObject> ole;
  ComPtr<IOleInPlaceObject> inPlace;
  ComPtr<IConnectionPointContainer> points;
  ASSERT_EQ(page.As(&ole), S_OK);
  EXPECT_EQ(page.As(&inPlace), S_OK);
  ASSERT_EQ(page.As(&points), S_OK);
  DWORD misc = 0;
  EXPECT_EQ(ole->GetMiscStatus(DVASPECT_CONTENT, &misc), S_OK);
  EXPECT_EQ(misc, 0x12000u);
  ComPtr<IConnectionPoint> point;
  EXPECT_EQ(points->FindConnectionPoint(DIID_ToolEvents, &point), S_OK);
  EXPECT_EQ(points->FindConnectionPoint(IID_IToolPage, &point), CONNECT_E_NOCONNECTION);
}

TEST_F(ComFrameTest, APageWithoutConnectionAsksTheHostForOne) {
  TToolsFolder tools;
  auto server = MakeServer(411, false);
  consolehost::TConsoleHost host;
  host.Open(PageClassId());
  ASSERT_TRUE(IsShown(host.PageWindow()));
  // Without a reference to give, the host is asked, and the page stays without a server.
  EXPECT_EQ(host.Page()->RefreshPage(VARIANT_FALSE), S_OK);
  EXPECT_EQ(host.ConnectionRequests(), 1);
  host.ConnRef = 1;
  EXPECT_EQ(host.Page()->RefreshPage(VARIANT_FALSE), S_OK);
  EXPECT_EQ(host.ConnectionRequests(), 2);
  EXPECT_EQ(ShownSheet(host), TShownSheet::Install);
  // Once the page has its connection it does not ask again.
  EXPECT_EQ(host.Page()->RefreshPage(VARIANT_FALSE), S_OK);
  EXPECT_EQ(host.ConnectionRequests(), 2);
}

TEST_F(ComFrameTest, TheLibraryUnloadsAndLoadsAgainWithoutLeavingWindowClasses) {
  TToolsFolder tools;
  auto server = MakeServer(411, true);
  HMODULE first = nullptr;
  for (int round = 0; round < 2; ++round) {
    {
      consolehost::TConsoleHost host;
      host.Open(PageClassId());
      host.ConnRef = 1;
      ASSERT_EQ(host.Page()->RefreshPage(VARIANT_FALSE), S_OK);
      EXPECT_EQ(ShownSheet(host), TShownSheet::Control);
      HMODULE module = GetModuleHandleA("Tuvek.kvx");
      ASSERT_NE(module, nullptr);
      if (round == 0) first = module;
      WNDCLASSEXA info{sizeof info};
      EXPECT_TRUE(GetClassInfoExA(module, "TToolPage", &info));
    }
    FreeUnusedLibraries();
    EXPECT_EQ(GetModuleHandleA("Tuvek.kvx"), nullptr) << "round " << round;
    WNDCLASSEXA info{sizeof info};
    for (const char* cls : {"TToolPage", "TPageSheet", "TPageSheets", "TExToolBar", "TPagePanel"})
      EXPECT_FALSE(GetClassInfoExA(first, cls, &info)) << cls << " left registered";
  }
}
