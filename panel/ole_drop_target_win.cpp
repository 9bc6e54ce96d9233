#include "panel/ole_drop_target_win.h"

#include <shellapi.h>

#include "platform/dropped_files.h"
#include "platform/text.h"

namespace tilerack {

namespace {

POINT PointOf(POINTL at) { return POINT{at.x, at.y}; }

// The medium a data object handed out, released however the reading ends.
class HeldMedium {
public:
    HeldMedium() = default;
    ~HeldMedium() {
        if (held_) ReleaseStgMedium(&medium_);
    }
    HeldMedium(const HeldMedium&) = delete;
    HeldMedium& operator=(const HeldMedium&) = delete;
    bool Get(IDataObject* data, FORMATETC& format) { return held_ = SUCCEEDED(data->GetData(&format, &medium_)); }
    HGLOBAL Global() const { return medium_.hGlobal; }

private:
    STGMEDIUM medium_{};
    bool held_ = false;
};

}  // namespace

std::vector<std::string> DraggedFiles(IDataObject* data) {
    std::vector<std::string> files;
    if (!data) return files;
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    HeldMedium medium;
    if (!medium.Get(data, format)) return files;
    for (const std::wstring& path : win::DroppedFilePaths(static_cast<HDROP>(medium.Global())))
        files.push_back(win::Narrow(path));
    return files;
}

HRESULT OleDropTarget::QueryInterface(REFIID riid, void** out) {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDropTarget) {
        *out = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG OleDropTarget::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG OleDropTarget::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HRESULT OleDropTarget::DragEnter(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    *effect = host_ ? host_->DragEntered(DraggedFiles(data), keys, PointOf(at), *effect) : DROPEFFECT_NONE;
    return S_OK;
}

HRESULT OleDropTarget::DragOver(DWORD keys, POINTL at, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    *effect = host_ ? host_->DraggedOver(keys, PointOf(at), *effect) : DROPEFFECT_NONE;
    return S_OK;
}

HRESULT OleDropTarget::DragLeave() {
    if (host_) host_->DragLeft();
    return S_OK;
}

HRESULT OleDropTarget::Drop(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    *effect = host_ ? host_->Dropped(DraggedFiles(data), keys, PointOf(at), *effect) : DROPEFFECT_NONE;
    return S_OK;
}

}  // namespace tilerack
