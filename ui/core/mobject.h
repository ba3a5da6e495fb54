#pragma once

#include "core/orvik_api.h"
#include "core/rect.h"

namespace Orvik {

class MControl;

// Root of dialogs and controls: a class name for identity tests and the two hooks
// through which a control reports to whatever owns it.
class ORVIK_API MObject {
public:
    MObject() = default;
    virtual ~MObject();

    // 1 when GetClassNameW() is exactly `name` (case-sensitive, whole string), else 0.
    // An object without a class name is no class at all: 0.
    virtual int IsClass(const wchar_t* name) const;
    virtual const wchar_t* GetClassNameW() const;
    virtual const wchar_t* GetObjectClass() const;
    virtual const wchar_t* BaseObjectClassName() const;
    // A control reports an event: its id, the event code and two values.
    virtual long OnBaseMessage(unsigned controlId, unsigned event, unsigned wParam, long lParam);
    // A control asks for `rect` to be redrawn, itself too when `redrawControl` is non-zero.
    virtual long OnControlUpdate(CRect rect, int redrawControl, MControl* control);
};

}  // namespace Orvik
