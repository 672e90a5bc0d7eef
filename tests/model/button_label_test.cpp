#include "model/button_functions.h"
#include "model/button_label.h"
#include "model/button_record.h"
#include "model/text_table.h"

#include <filesystem>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

TextTable shipped_texts() {
    return TextTable::load(std::filesystem::path(ZEMRAK_SOURCE_DIR) / "res/Language/lan.xml");
}

ButtonRecord with_code(std::uint8_t code) {
    ButtonRecord record;
    record.set_function_code(code);
    return record;
}

TEST(ButtonLabel, PlainCodesShowTheirFunctionAndUnknownOnesAClick) {
    const TextTable texts = shipped_texts();
    EXPECT_EQ(u"Forward", button_label(with_code(4), texts));
    EXPECT_EQ(u"Disabled", button_label(with_code(0), texts));
    EXPECT_EQ(u"Left Click", button_label(with_code(113), texts));
    EXPECT_EQ(u"Left Click", button_label(with_code(200), texts));
}

TEST(ButtonLabel, AShortcutNamesItsModifiersInOrderThenItsKey) {
    const TextTable texts = shipped_texts();
    ButtonRecord record = with_code(kShortcutFunction);
    record.set_shortcut_key(0x04); // A
    record.set_shortcut_modifiers(ButtonRecord::kShift | ButtonRecord::kCtrl);
    EXPECT_EQ(u"Ctrl+Shift+A", button_label(record, texts));
    record.set_shortcut_modifiers(0);
    EXPECT_EQ(u"A", button_label(record, texts));
    record.set_shortcut_modifiers(ButtonRecord::kWin | ButtonRecord::kAlt | ButtonRecord::kShift |
                                  ButtonRecord::kCtrl);
    record.set_shortcut_key(0x3A); // F1
    EXPECT_EQ(u"Ctrl+Shift+Alt+Super+F1", button_label(record, texts));
}

TEST(ButtonLabel, MacrosAndRecoilPatternsNameTheirFolderAndItem) {
    const TextTable texts = shipped_texts();
    ButtonRecord record = with_code(kMacroFunction);
    record.set_folder_name(u"Fps");
    record.set_item_name(u"Burst");
    EXPECT_EQ(u"Macro: Fps-Burst", button_label(record, texts));
    record.set_function_code(kRecoilFunction);
    EXPECT_EQ(u"Recoil: Fps-Burst", button_label(record, texts));
}

} // namespace
} // namespace zemrak
