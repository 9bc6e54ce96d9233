#pragma once
// The panel as the target of the shell's drag and drop (IDropTarget): the
// files of a drag read once as it enters, then every step of it handed to
// the DropTargetHost, which answers with the drop effect the cursor shows.
// The host cuts the object off when it goes; later calls answer
// DROPEFFECT_NONE (the system may hold the object a little longer).
#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

namespace tilerack {

class DropTargetHost {
public:
    virtual ~DropTargetHost() = default;
    // `keys` are the MK_* flags, `screen` the pointer, `allowed` the
    // effects the source offers; each answers the effect it takes.
    virtual DWORD DragEntered(std::vector<std::string> files, DWORD keys, POINT screen, DWORD allowed) = 0;
    virtual DWORD DraggedOver(DWORD keys, POINT screen, DWORD allowed) = 0;
    virtual void DragLeft() = 0;
    // The files read again at the drop: a source may give them only then.
    virtual DWORD Dropped(std::vector<std::string> files, DWORD keys, POINT screen, DWORD allowed) = 0;
};

class OleDropTarget final : public IDropTarget {
public:
    explicit OleDropTarget(DropTargetHost* host) : host_(host) {}
    void Disconnect() { host_ = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL at, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) override;

private:
    ~OleDropTarget() = default;

    DropTargetHost* host_;
    LONG references_ = 1;
};

// The paths of the files a data object carries (CF_HDROP), or none.
std::vector<std::string> DraggedFiles(IDataObject* data);

}  // namespace tilerack
