#include "macros/edit_macro_name.h"

#include "macros/macro_library.h"

namespace zemrak::pages {
namespace {

constexpr ui::NameTextTable kMacroTexts = {{
    {"add_macro_dir_text", "input_macro_dir_text"},
    {"add_macro_text", "input_macro_text"},
    {"rename_macro_dir_text", "input_macro_dir_text"},
    {"rename_macro_text", "input_macro_text"},
}};

} // namespace

CEditMacroName::CEditMacroName(QWidget* owner, const MacroLibrary& library)
    : CEditName(owner, library, kMacroTexts, QStringLiteral("EditMacroName")) {}

} // namespace zemrak::pages
