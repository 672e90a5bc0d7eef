#include "application/library_assignment.h"
#include "model/button_assignment.h"
#include "model/button_functions.h"
#include "model/byte_io.h"
#include "test_support/library_support.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

using test::bytes_of;

constexpr std::uint8_t kForward = 4;

MacroAction press(std::uint8_t code, std::uint16_t delay) {
    MacroAction action;
    action.set_code(code);
    action.set_kind(MacroAction::Press);
    action.set_delay(delay);
    return action;
}

class LibraryAssignmentTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_macros.add_folder(u"Fps").ok());
        ASSERT_TRUE(m_macros.add_item(u"Fps", u"Burst").ok());
        ASSERT_TRUE(m_macros.add_item(u"Fps", u"Empty").ok());
        MacroRecord burst = *m_macros.record_at(1);
        burst.set_action(0, press(0x04, 30));
        burst.set_action(1, press(0x05, 40));
        burst.set_action_count(2);
        burst.set_loop_count(7);
        ASSERT_TRUE(m_macros.update_item(1, burst, m_profiles).ok());

        ASSERT_TRUE(m_recoils.add_folder(u"Rifles").ok());
        ASSERT_TRUE(m_recoils.add_item(u"Rifles", u"Ak").ok());
        RecoilRecord ak = *m_recoils.record_at(1);
        ak.set_bullet_count(12);
        ak.set_second_parameter(3);
        ak.set_bullet(0, Bullet{-4, 9, 25});
        ASSERT_TRUE(m_recoils.update_item(1, ak, m_profiles).ok());
    }

    ConfigBlock& profile() { return *m_profiles.current(); }

    test::TempDir m_dir;
    ProfileList m_profiles = test::profiles_of(1);
    MacroLibrary m_macros{m_dir.path() / "Data"};
    RecoilLibrary m_recoils{m_dir.path() / "Data"};
};

TEST_F(LibraryAssignmentTest, AMacroIsCopiedWholeIntoTheButton) {
    ButtonRecord& button = profile().button(5);
    button.set_item_name(u"A much longer name than the macro has");
    ASSERT_TRUE(prepare_macro(profile(), 5));
    EXPECT_EQ(PickOutcome::assigned, assign_macro(profile(), 5, 1, 2, m_macros));

    const MacroRecord burst = *m_macros.record_at(1);
    EXPECT_EQ(kMacroFunction, button.function_code());
    EXPECT_EQ(1, button.macro_index());
    EXPECT_EQ(2, button.repeat_mode());
    EXPECT_EQ(2, button.action_count());
    EXPECT_EQ(7, button.loop_count());
    EXPECT_EQ(u"Fps", button.folder_name());
    EXPECT_EQ(u"Burst", button.item_name());
    // Nothing of the old name is left after the new one's terminator.
    const auto name_field = button.bytes().subspan(ButtonRecord::kItemNameOffset, 100);
    EXPECT_TRUE(std::all_of(name_field.begin() + 10, name_field.end(),
                            [](std::uint8_t b) { return b == 0; }));
    const auto actions = button.bytes().subspan(ButtonRecord::kActionsOffset);
    EXPECT_EQ(bytes_of(burst.actions()), bytes_of(actions));
}

TEST_F(LibraryAssignmentTest, NoMacroPickedGivesTheDefaultAndAnEmptyMacroChangesNothing) {
    for (const std::int32_t position : {-1, 0, 9}) {
        ConfigBlock& block = profile();
        block.button(5).set_function_code(kForward);
        EXPECT_EQ(PickOutcome::defaulted, assign_macro(block, 5, position, 1, m_macros))
            << position;
        EXPECT_EQ(default_function_code(5), block.button(5).function_code()) << position;
    }
    // A macro without actions counts as a cancel.
    const std::vector<std::uint8_t> before = bytes_of(profile().bytes());
    EXPECT_EQ(PickOutcome::unchanged, assign_macro(profile(), 5, 2, 1, m_macros));
    EXPECT_EQ(before, bytes_of(profile().bytes()));

    // So does an empty library give the default.
    test::TempDir other;
    const MacroLibrary empty(other.path());
    profile().button(20).set_function_code(kForward);
    EXPECT_EQ(PickOutcome::defaulted, assign_macro(profile(), 20, 0, 0, empty));
    EXPECT_EQ(default_function_code(20), profile().button(20).function_code());
}

TEST_F(LibraryAssignmentTest, ARecoilPatternIsCopiedWithItsColour) {
    ButtonRecord& button = profile().button(18);
    ASSERT_TRUE(prepare_recoil(profile(), 18));
    EXPECT_EQ(kNewRecoilColour, button.recoil_colour());
    EXPECT_EQ(PickOutcome::assigned, assign_recoil(profile(), 18, 1, 1, 0x00FF8000u, m_recoils));
    EXPECT_EQ(kRecoilFunction, button.function_code());
    EXPECT_EQ(1, button.recoil_index());
    EXPECT_EQ(1, button.repeat_mode());
    EXPECT_EQ(0x00FF8000u, button.recoil_colour());
    EXPECT_EQ(12, button.action_count());
    EXPECT_EQ(3, button.loop_count());
    EXPECT_EQ(u"Rifles", button.folder_name());
    EXPECT_EQ(u"Ak", button.item_name());
    EXPECT_EQ(bytes_of(m_recoils.record_at(1)->bullets()), bytes_of(button.recoil_data()));

    EXPECT_EQ(PickOutcome::defaulted, assign_recoil(profile(), 18, 0, 1, 0, m_recoils));
    EXPECT_EQ(default_function_code(18), button.function_code());
}

TEST_F(LibraryAssignmentTest, AButtonGivenAnotherFunctionIsLeftAloneWhenItsOldItemGoes) {
    ASSERT_TRUE(prepare_macro(profile(), 3));
    ASSERT_EQ(PickOutcome::assigned, assign_macro(profile(), 3, 1, 0, m_macros));
    ASSERT_TRUE(prepare_recoil(profile(), 4));
    ASSERT_EQ(PickOutcome::assigned, assign_recoil(profile(), 4, 1, 0, 0, m_recoils));
    store_function(profile(), 3, kForward);
    store_function(profile(), 4, kForward);

    EXPECT_FALSE(m_macros.delete_item(1, m_profiles).current_profile_touched);
    EXPECT_FALSE(m_recoils.delete_item(1, m_profiles).current_profile_touched);
    EXPECT_EQ(kForward, profile().button(3).function_code());
    EXPECT_EQ(kForward, profile().button(4).function_code());
}

} // namespace
} // namespace zemrak
