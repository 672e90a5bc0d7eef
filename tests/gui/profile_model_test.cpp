#include "application/app_data.h"
#include "model/button_functions.h"
#include "model/library_error.h"
#include "pages/profile_model.h"
#include "test_support/temp_dir.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace zemrak::pages {
namespace {

// The model over the data of an empty program folder: one default profile, empty libraries.
class ProfileModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_data.load_settings();
        static_cast<void>(m_data.load_data());
        ASSERT_NE(nullptr, m_model.current());
    }

    test::TempDir m_dir;
    AppData m_data{folders_in(m_dir.path())};
    ProfileModel m_model{m_data};
    QSignalSpy m_profile{&m_model, &ProfileModel::profileChanged};
    QSignalSpy m_buttons{&m_model, &ProfileModel::buttonsChanged};
    QSignalSpy m_macros{&m_model, &ProfileModel::macrosChanged};
    QSignalSpy m_recoils{&m_model, &ProfileModel::recoilsChanged};
};

TEST_F(ProfileModelTest, ALibraryChangeReachingTheCurrentProfileRedrawsTheButtons) {
    const LibraryResult folder = m_model.change_macros(
        [](MacroLibrary& library, ProfileList&) { return library.add_folder(u"Games"); });
    ASSERT_TRUE(folder.ok());
    const LibraryResult added = m_model.change_macros(
        [](MacroLibrary& library, ProfileList&) { return library.add_item(u"Games", u"Combo"); });
    ASSERT_TRUE(added.ok());
    EXPECT_EQ(2, m_macros.count());
    EXPECT_EQ(0, m_buttons.count()) << "no button uses the new macro yet";

    ButtonRecord& button = m_model.current()->button(3);
    button.set_function_code(22);
    button.set_macro_index(added.position);
    const LibraryResult removed =
        m_model.change_macros([&added](MacroLibrary& library, ProfileList& profiles) {
            return library.delete_item(added.position, profiles);
        });
    ASSERT_TRUE(removed.ok());
    EXPECT_TRUE(removed.current_profile_touched);
    EXPECT_EQ(3, m_macros.count());
    ASSERT_EQ(1, m_buttons.count());
    EXPECT_EQ(m_model.current(), m_buttons.at(0).at(0).value<ConfigBlock*>());
    EXPECT_EQ(default_function_code(3), button.function_code());
    EXPECT_EQ(0, m_recoils.count());
    EXPECT_EQ(0, m_profile.count()) << "the profile itself stays the one shown";
}

TEST_F(ProfileModelTest, ARefusedChangeTellsNobody) {
    ASSERT_TRUE(m_model
                    .change_recoils([](RecoilLibrary& library, ProfileList&) {
                        return library.add_folder(u"Rifles");
                    })
                    .ok());
    const LibraryResult refused = m_model.change_recoils(
        [](RecoilLibrary& library, ProfileList&) { return library.add_folder(u"RIFLES"); });
    EXPECT_EQ(make_error_code(LibraryError::name_taken), refused.error);
    EXPECT_EQ(1, m_recoils.count());
    EXPECT_EQ(0, m_buttons.count());
    EXPECT_EQ(0, m_macros.count());

    m_model.current_replaced();
    ASSERT_EQ(1, m_profile.count());
    EXPECT_EQ(m_model.current(), m_profile.at(0).at(0).value<ConfigBlock*>());
}

} // namespace
} // namespace zemrak::pages
