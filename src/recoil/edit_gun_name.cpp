#include "recoil/edit_gun_name.h"

#include "recoil/recoil_library.h"

namespace zemrak::pages {
namespace {

constexpr ui::NameTextTable kGunTexts = {{
    {"add_gun_dir_text", "input_gun_dir_text"},
    {"add_gun_text", "input_gun_text"},
    {"rename_gun_dir_text", "input_gun_dir_text"},
    {"rename_gun_text", "input_gun_text"},
}};

} // namespace

CEditGunName::CEditGunName(QWidget* owner, const RecoilLibrary& library)
    : CEditName(owner, library, kGunTexts, QStringLiteral("EditGunName")) {}

} // namespace zemrak::pages
