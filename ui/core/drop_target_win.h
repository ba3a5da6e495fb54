#pragma once

#include <ole2.h>

#include "core/orvik_api.h"

namespace Orvik {

// The OLE drop target a paint manager registers for its window. Dropping onto a
// dialog is not part of this library's behaviour, so every drag is refused. The
// object lives inside its paint manager, which revokes the registration before it
// goes, so the reference count is not what keeps it alive.
class ORVIK_API CIDropTarget : public IDropTarget {
public:
    CIDropTarget() = default;
    virtual ~CIDropTarget();
    CIDropTarget(const CIDropTarget&) = delete;
    CIDropTarget& operator=(const CIDropTarget&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

    // Kept for the interface; no drop is ever accepted, so nothing calls it.
    virtual bool OnDrop(IDataObject* data, DWORD* effect);
};

}  // namespace Orvik
