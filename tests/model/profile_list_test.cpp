#include "model/button_functions.h"
#include "model/profile_list.h"

#include <gtest/gtest.h>

namespace zemrak {
namespace {

ConfigBlock named(std::u16string_view name) {
    ConfigBlock block;
    block.set_name(name);
    return block;
}

ProfileList list_of(std::initializer_list<std::u16string_view> names) {
    ProfileList list;
    for (const auto name : names) {
        list.append(named(name));
    }
    return list;
}

TEST(ProfileNames, NewNameIsBaseTextAndNextNumber) {
    const ProfileList list = list_of({u"A", u"B", u"C"});
    EXPECT_EQ(u"Profile4", list.default_name(u"Profile"));
}

TEST(ProfileNames, TakenNameGetsACounterSuffixWhateverTheCase) {
    ProfileList list = list_of({u"A", u"B", u"profile4"});
    EXPECT_EQ(u"Profile4_1", list.default_name(u"Profile"));
    list.remove(0);
    list.append(named(u"PROFILE4_1"));
    EXPECT_EQ(u"Profile4_2", list.default_name(u"Profile"));
}

TEST(ProfileNames, DeletingTheSecondOfThreeAndAddingCountsFromTheSize) {
    ProfileList list = list_of({u"Profile1", u"Profile2", u"Profile3"});
    list.remove(1);
    EXPECT_EQ(u"Profile3_1", list.default_name(u"Profile"));
    list.append(named(u"Profile3_1"));
    list.remove(0);
    EXPECT_EQ(u"Profile3_2", list.default_name(u"Profile"));
}

TEST(ProfileNames, ImportedNameClashGetsSuffixOne) {
    const ProfileList list = list_of({u"Rifle"});
    EXPECT_EQ(u"Rifle_1", list.unique_name(u"Rifle"));
    EXPECT_EQ(u"rifle_1", list.unique_name(u"rifle"));
    EXPECT_EQ(u"Sniper", list.unique_name(u"Sniper"));
}

TEST(ProfileNames, GeneratedNamesNeverExceed49Units) {
    const std::u16string long_base(60, u'x');
    ProfileList list;
    const std::u16string first = list.default_name(long_base);
    EXPECT_EQ(std::u16string(48, u'x') + u"1", first);
    list.append(named(first));
    list.remove(0);
    list.append(named(std::u16string(48, u'x') + u"2"));
    const std::u16string clash = list.default_name(long_base);
    EXPECT_EQ(std::u16string(46, u'x') + u"2_1", clash);
    EXPECT_EQ(49u, clash.size());
}

TEST(ProfileNames, ShorteningDoesNotSplitASurrogatePair) {
    std::u16string base(48, u'x');
    base += u"\U0001F3AE"; // two units: only one fits
    EXPECT_EQ(std::u16string(48, u'x'), fit_name(base));
}

TEST(ProfileList, NameExistsIgnoresCaseAndCoversEveryProfile) {
    const ProfileList list = list_of({u"Office", u"Game"});
    EXPECT_TRUE(list.name_exists(u"GAME"));
    EXPECT_TRUE(list.name_exists(u"office"));
    EXPECT_FALSE(list.name_exists(u"Gam"));
}

TEST(ProfileList, SelectionOutsideTheListIsRefused) {
    ProfileList list = list_of({u"One", u"Two"});
    EXPECT_TRUE(list.select(1));
    EXPECT_FALSE(list.select(2));
    EXPECT_FALSE(list.select(-1));
    EXPECT_EQ(1, list.current_index());
    ASSERT_NE(nullptr, list.current());
    EXPECT_EQ(u"Two", list.current()->name());
    list.remove(1);
    EXPECT_EQ(nullptr, list.current()) << "a stale index selects nothing";
}

TEST(ProfileList, LastAppliedIsACopyNotAnAlias) {
    ProfileList list = list_of({u"One"});
    ASSERT_TRUE(list.select(0));
    list.current()->set_pointer_speed(9);
    list.take_last_applied();
    list.current()->set_pointer_speed(2);
    EXPECT_EQ(9, list.last_applied().pointer_speed());
}

TEST(ProfileList, NewDefaultProfileHasSensorDefaultsAndAName) {
    ProfileList list;
    const ConfigBlock& block = list.add_default_profile(3050, u"Profile");
    EXPECT_EQ(u"Profile1", block.name());
    EXPECT_EQ(12, block.stage_dpi_code(7));
    EXPECT_EQ(2, block.polling_rate_index());
    EXPECT_EQ(8, block.stage_count());
    for (std::size_t n = 0; n < 7; ++n) {
        EXPECT_EQ(default_function_code(n), block.button(n).function_code());
    }
    EXPECT_EQ(1u, list.size());
}

} // namespace
} // namespace zemrak
