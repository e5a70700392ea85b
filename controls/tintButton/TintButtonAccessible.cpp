#include "controls/tintButton/TintButtonAccessible.h"

#include "controls/tintButton/TintButtonModel.h"
#include "host/ComPtr.h"
#include "host/Control.h"
#include "host/SystemLibrary.h"

#include <oleacc.h>

#include <new>
#include <utility>

namespace qm {

namespace {

// IID_IAccessible, spelled out: MinGW's uuid and oleacc import libraries both define it.
constexpr GUID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

// Loaded on the first WM_GETOBJECT: most runs never meet an accessibility client.
constexpr wchar_t kOleAut[] = L"oleaut32.dll";
constexpr wchar_t kOleAcc[] = L"oleacc.dll";

HRESULT ReturnText(const std::wstring& text, BSTR* out)
{
    static const auto allocString = SystemFunction<decltype(&SysAllocStringLen)>(kOleAut, "SysAllocStringLen");
    *out = allocString ? allocString(text.data(), static_cast<UINT>(text.size())) : nullptr;
    return *out ? S_OK : E_OUTOFMEMORY;
}

bool IsSelf(const VARIANT& child)
{
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// The platform's object for a plain window, with what makes it a button: the role, the
// caption without its marks, the access key the button really has, pressed state, and the
// default action. Holds only the window handle, so it outlives the button harmlessly.
class ButtonAccessible final : public IAccessible {
public:
    ButtonAccessible(HWND button, ComPtr<IAccessible> standard) : button_(button), standard_(std::move(standard)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, kIidAccessible)) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const auto left = static_cast<ULONG>(InterlockedDecrement(&refs_));
        if (left == 0)
            delete this;
        return left;
    }

    // Accessibility clients call the IAccessible methods directly, not through IDispatch.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        if (!name)
            return E_POINTER;
        *name = nullptr;
        return IsSelf(child) ? ReturnText(ShownCaption(WindowText(button_)), name) : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override
    {
        if (!role)
            return E_POINTER;
        role->vt = VT_EMPTY;
        if (!IsSelf(child))
            return E_INVALIDARG;
        role->vt = VT_I4;
        role->lVal = ROLE_SYSTEM_PUSHBUTTON;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        const HRESULT hr = standard_->get_accState(child, state);
        if (SUCCEEDED(hr) && IsSelf(child) && state->vt == VT_I4 &&
            (SendMessageW(button_, BM_GETSTATE, 0, 0) & (BST_PUSHED | BST_CHECKED)) != 0)
            state->lVal |= STATE_SYSTEM_PRESSED;
        if (SUCCEEDED(hr) && IsSelf(child) && state->vt == VT_I4 && SendMessageW(button_, kGetSelectedMessage, 0, 0))
            state->lVal |= STATE_SYSTEM_SELECTED;
        return hr;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override
    {
        if (!shortcut)
            return E_POINTER;
        *shortcut = nullptr;
        if (!IsSelf(child))
            return E_INVALIDARG;
        const std::wstring key = AccessKeyFor(WindowText(button_));
        return key.empty() ? S_FALSE : ReturnText(L"Alt+" + key, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        if (!action)
            return E_POINTER;
        *action = nullptr;
        return IsSelf(child) ? ReturnText(L"Press", action) : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        if (!IsSelf(child))
            return E_INVALIDARG;
        if (!IsWindowEnabled(button_))
            return E_FAIL;
        // Posted: the click handler may open a modal window, which must not run inside the
        // client's call.
        return PostMessageW(button_, BM_CLICK, 0, 0) ? S_OK : E_FAIL;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return standard_->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override { return standard_->get_accChildCount(count); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override
    {
        return standard_->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override
    {
        return standard_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override
    {
        return standard_->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override
    {
        return standard_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override
    {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return standard_->get_accFocus(child); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override
    {
        return standard_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override { return standard_->accSelect(flags, child); }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override
    {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override
    {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override
    {
        return standard_->accHitTest(left, top, child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    HWND button_;
    ComPtr<IAccessible> standard_;
    LONG refs_ = 1;
};

} // namespace

std::wstring ShownCaption(std::wstring_view caption)
{
    std::wstring shown;
    shown.reserve(caption.size());
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == L'&')
            ++i;
        if (i < caption.size())
            shown.push_back(caption[i]);
    }
    return shown;
}

LRESULT ButtonAccessibleObject(HWND button, WPARAM wParam, LPARAM lParam)
{
    if (static_cast<LONG>(lParam) != OBJID_CLIENT)
        return 0;
    static const auto createStandard =
        SystemFunction<decltype(&CreateStdAccessibleObject)>(kOleAcc, "CreateStdAccessibleObject");
    static const auto resultFromObject = SystemFunction<decltype(&LresultFromObject)>(kOleAcc, "LresultFromObject");
    static const auto initializeCom = SystemFunction<decltype(&CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
    if (!createStandard || !resultFromObject || !initializeCom)
        return 0;
    // The object reaches other processes through COM, which this thread then needs for as
    // long as it runs: initialised once, never closed. Any apartment will do.
    static thread_local const HRESULT com = initializeCom(nullptr, COINIT_APARTMENTTHREADED);
    (void)com;
    ComPtr<IAccessible> standard;
    if (FAILED(createStandard(button, OBJID_CLIENT, kIidAccessible, standard.put())))
        return 0;
    // When no memory is had, the object is not made and the standard one goes with its owner.
    const ComPtr<ButtonAccessible> object(new (std::nothrow) ButtonAccessible(button, std::move(standard)));
    if (!object)
        return 0;
    const LRESULT result = resultFromObject(kIidAccessible, wParam, object.get());
    return result > 0 ? result : 0;
}

} // namespace qm
