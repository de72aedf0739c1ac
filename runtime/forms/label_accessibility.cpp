#include "runtime/forms/label_accessibility.h"

#include <oleacc.h>

#include <new>
#include <string>

#include "runtime/forms/component.h"

namespace forms {
namespace {

// The annotation service and the live setting's property (UIA_LiveSettingPropertyId), as the
// system documents them; the import libraries carry no definitions the runtime may link.
constexpr CLSID kAccPropServicesClass = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr IID kAccPropServicesInterface = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr MSAAPROPID kLiveSettingProperty = {
    0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr LONG kPolite = 1;  // LiveSetting: Off, Polite, Assertive
// EVENT_OBJECT_LIVEREGIONCHANGED, known from Windows 8 on; earlier systems pass it on unread.
constexpr DWORD kLiveRegionChanged = 0x8019;

// The system functions the object needs, bound by name from the system's own folder.
struct AccessibilityLibrary {
  decltype(&LresultFromObject) lresultFromObject = nullptr;
  decltype(&AccessibleObjectFromWindow) objectFromWindow = nullptr;
  decltype(&SysAllocStringLen) allocateString = nullptr;
};

// Named by its full path: neither library is one the system always takes from its own folder,
// and one of the same name beside the executable must not stand in for it.
HMODULE LoadSystemLibrary(const wchar_t* name) {
  wchar_t path[MAX_PATH + 16];
  const UINT length = GetSystemDirectoryW(path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  path[length] = L'\\';
  lstrcpynW(path + length + 1, name, 15);
  return LoadLibraryW(path);
}

template <typename Function>
void Bind(HMODULE library, const char* name, Function& function) {
  if (library != nullptr) function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// Bound at the first question: only the label's own thread asks (WM_GETOBJECT reaches a window on
// its thread), so plain storage needs no guard.
constinit AccessibilityLibrary boundLibrary;
constinit bool libraryBound = false;

// Null where a function is missing: the label then answers as any window does.
const AccessibilityLibrary* Library() {
  if (!libraryBound) {
    libraryBound = true;
    const HMODULE oleacc = LoadSystemLibrary(L"oleacc.dll");
    const HMODULE oleaut = LoadSystemLibrary(L"oleaut32.dll");
    Bind(oleacc, "LresultFromObject", boundLibrary.lresultFromObject);
    Bind(oleacc, "AccessibleObjectFromWindow", boundLibrary.objectFromWindow);
    Bind(oleaut, "SysAllocStringLen", boundLibrary.allocateString);
  }
  const bool whole = boundLibrary.lresultFromObject != nullptr && boundLibrary.objectFromWindow != nullptr &&
                     boundLibrary.allocateString != nullptr;
  return whole ? &boundLibrary : nullptr;
}

VARIANT Integer(LONG value) {
  VARIANT variant{};
  variant.vt = VT_I4;
  variant.lVal = value;
  return variant;
}

// The label's client area as static text. It keeps only the window's handle and reads the rest
// from the window at each call: a client may hold it long after the label is gone. Its life is
// COM's, which may end after the runtime's: it lives on the process heap.
class StaticTextObject final : public IAccessible {
 public:
  static StaticTextObject* Make(HWND label, const AccessibilityLibrary& library) {
    void* place = HeapAlloc(GetProcessHeap(), 0, sizeof(StaticTextObject));
    return place != nullptr ? new (place) StaticTextObject(label, library) : nullptr;
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
      *object = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) {
      this->~StaticTextObject();
      HeapFree(GetProcessHeap(), 0, this);
    }
    return static_cast<ULONG>(left);
  }

  // No type information: clients call the interface itself.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_INVALIDARG;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info != nullptr) *info = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // The window object of the label is the parent, as for the system's own controls.
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (parent == nullptr) return E_INVALIDARG;
    *parent = nullptr;
    if (!IsWindow(label_)) return E_FAIL;
    return library_.objectFromWindow(label_, static_cast<DWORD>(OBJID_WINDOW), __uuidof(IDispatch),
                                     reinterpret_cast<void**>(parent));
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    if (count == nullptr) return E_INVALIDARG;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** child) override {
    if (child != nullptr) *child = nullptr;
    return E_INVALIDARG;
  }

  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (name == nullptr) return E_INVALIDARG;
    *name = nullptr;
    if (const HRESULT checked = Check(child); checked != S_OK) return checked;
    const std::wstring caption = WindowTextWide(label_);
    if (caption.empty()) return S_FALSE;
    *name = library_.allocateString(caption.data(), static_cast<UINT>(caption.size()));
    return *name != nullptr ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (role == nullptr) return E_INVALIDARG;
    role->vt = VT_EMPTY;
    if (const HRESULT checked = Check(child); checked != S_OK) return checked;
    *role = Integer(ROLE_SYSTEM_STATICTEXT);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (state == nullptr) return E_INVALIDARG;
    state->vt = VT_EMPTY;
    if (const HRESULT checked = Check(child); checked != S_OK) return checked;
    *state = Integer(STATE_SYSTEM_READONLY | (IsWindowVisible(label_) ? 0 : STATE_SYSTEM_INVISIBLE));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child) override {
    if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) return E_INVALIDARG;
    if (const HRESULT checked = Check(child); checked != S_OK) return checked;
    RECT area;
    if (!GetWindowRect(label_, &area)) return E_FAIL;
    *left = area.left;
    *top = area.top;
    *width = area.right - area.left;
    *height = area.bottom - area.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* hit) override {
    if (hit == nullptr) return E_INVALIDARG;
    hit->vt = VT_EMPTY;
    RECT area;
    if (!IsWindow(label_) || !GetWindowRect(label_, &area)) return E_FAIL;
    if (!PtInRect(&area, POINT{x, y})) return S_FALSE;
    *hit = Integer(CHILDID_SELF);
    return S_OK;
  }

  // Static text has no value, description, help, shortcut or action, and takes no focus.
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* text) override { return Nothing(child, text); }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override { return Nothing(child, text); }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override { return Nothing(child, text); }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* text) override {
    return Nothing(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* text) override {
    return Nothing(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    if (topic != nullptr) *topic = -1;
    return Nothing(child, file);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override { return NoneHeld(focus); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override { return NoneHeld(selection); }
  HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG, VARIANT, VARIANT* end) override { return NoneHeld(end); }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  StaticTextObject(HWND label, const AccessibilityLibrary& library) : label_(label), library_(library) {}
  ~StaticTextObject() = default;

  // The object has no children: only CHILDID_SELF names it.
  HRESULT Check(const VARIANT& child) const {
    if (child.vt != VT_I4 || child.lVal != CHILDID_SELF) return E_INVALIDARG;
    return IsWindow(label_) ? S_OK : E_FAIL;
  }
  HRESULT Nothing(const VARIANT& child, BSTR* text) const {
    if (text == nullptr) return E_INVALIDARG;
    *text = nullptr;
    const HRESULT checked = Check(child);
    return checked != S_OK ? checked : S_FALSE;
  }
  static HRESULT NoneHeld(VARIANT* answer) {
    if (answer == nullptr) return E_INVALIDARG;
    answer->vt = VT_EMPTY;
    return S_FALSE;
  }

  LONG references_ = 1;
  const HWND label_;
  const AccessibilityLibrary& library_;
};

// The system's annotation service, or null where it is missing (or COM is not running).
IAccPropServices* AnnotationService() {
  void* service = nullptr;
  if (FAILED(CoCreateInstance(kAccPropServicesClass, nullptr, CLSCTX_INPROC_SERVER,
                              kAccPropServicesInterface, &service)))
    return nullptr;
  return static_cast<IAccPropServices*>(service);
}

}  // namespace

bool AnswerAccessibleObject(HWND label, WPARAM flags, LPARAM objectId, LRESULT& result) {
  if (static_cast<LONG>(objectId) != OBJID_CLIENT) return false;
  const AccessibilityLibrary* library = Library();
  if (library == nullptr) return false;
  StaticTextObject* object = StaticTextObject::Make(label, *library);
  if (object == nullptr) return false;
  // The reference handed out is the client's; ours ends here.
  const LRESULT answer = library->lresultFromObject(__uuidof(IAccessible), flags, object);
  object->Release();
  if (FAILED(static_cast<HRESULT>(answer))) return false;
  result = answer;
  return true;
}

void AnnounceCaptionChange(HWND label, bool& markedLive) {
  if (!markedLive) {
    markedLive = true;
    if (IAccPropServices* service = AnnotationService()) {
      service->SetHwndProp(label, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, kLiveSettingProperty,
                           Integer(kPolite));
      service->Release();
    }
  }
  NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, label, OBJID_CLIENT, CHILDID_SELF);
  NotifyWinEvent(kLiveRegionChanged, label, OBJID_CLIENT, CHILDID_SELF);
}

void ForgetLiveRegion(HWND label) {
  if (IAccPropServices* service = AnnotationService()) {
    service->ClearHwndProps(label, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &kLiveSettingProperty, 1);
    service->Release();
  }
}

}  // namespace forms
