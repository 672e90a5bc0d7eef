#pragma once

#include "ui/edit_name.h"

namespace zemrak {
class MacroLibrary;
}

namespace zemrak::pages {

// Asks for the name of a new or renamed macro folder or macro, checked against the macro
// library. See ui::CEditName for the modes and the result.
class CEditMacroName final : public ui::CEditName {
public:
    CEditMacroName(QWidget* owner, const MacroLibrary& library);
};

} // namespace zemrak::pages
