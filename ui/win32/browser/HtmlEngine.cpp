#include "ui/win32/browser/HtmlEngine.h"

#include "ui/win32/base/Win32.h"

#include <objbase.h>
#include <shlwapi.h>

#include <string>

namespace qvs::win32 {

namespace {

// MSHTML's document class; libuuid does not define it.
constexpr CLSID HtmlDocumentClass = {
    0x25336920, 0x03F9, 0x11CF, {0x8F, 0xD0, 0x00, 0xAA, 0x00, 0x68, 0x6F, 0x13}};

// The newest document mode, whatever the page's DOCTYPE says.
constexpr DWORD Edge11Mode = 11001;

constexpr wchar_t EmulationKey[] = L"Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl"
                                   L"\\FEATURE_BROWSER_EMULATION";

std::wstring ExecutableName() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return PathFindFileNameW(path.c_str());
        }
        path.resize(path.size() * 2);
    }
}

} // namespace

bool HtmlEngineAvailable() {
    IUnknown* document = nullptr;
    const HRESULT result = CoCreateInstance(HtmlDocumentClass, nullptr, CLSCTX_INPROC_SERVER,
                                            IID_IUnknown, reinterpret_cast<void**>(&document));
    if (FAILED(result) || document == nullptr) {
        return false;
    }
    document->Release();
    return true;
}

void RegisterBrowserEmulation() {
    const std::wstring name = ExecutableName();
    if (name.empty()) {
        return;
    }
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, EmulationKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        return;
    }
    const DWORD mode = Edge11Mode;
    RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&mode),
                   sizeof mode);
    RegCloseKey(key);
}

} // namespace qvs::win32
