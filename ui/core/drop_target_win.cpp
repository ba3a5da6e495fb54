#include "core/drop_target_win.h"

namespace Orvik {

namespace {

HRESULT Refuse(DWORD* effect) {
    if (effect != nullptr) {
        *effect = DROPEFFECT_NONE;
    }
    return S_OK;
}

}  // namespace

CIDropTarget::~CIDropTarget() = default;

HRESULT CIDropTarget::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
        *object = static_cast<IDropTarget*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG CIDropTarget::AddRef() { return 1; }
ULONG CIDropTarget::Release() { return 1; }

HRESULT CIDropTarget::DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) { return Refuse(effect); }
HRESULT CIDropTarget::DragOver(DWORD, POINTL, DWORD* effect) { return Refuse(effect); }
HRESULT CIDropTarget::DragLeave() { return S_OK; }
HRESULT CIDropTarget::Drop(IDataObject*, DWORD, POINTL, DWORD* effect) { return Refuse(effect); }

bool CIDropTarget::OnDrop(IDataObject*, DWORD*) { return false; }

}  // namespace Orvik
