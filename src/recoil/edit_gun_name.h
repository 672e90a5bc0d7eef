#pragma once

#include "ui/edit_name.h"

namespace zemrak {
class RecoilLibrary;
}

namespace zemrak::pages {

// Asks for the name of a new or renamed recoil folder or pattern, checked against the recoil
// library. See ui::CEditName for the modes and the result.
class CEditGunName final : public ui::CEditName {
public:
    CEditGunName(QWidget* owner, const RecoilLibrary& library);
};

} // namespace zemrak::pages
