#include "platform/language_choice.h"

#include <cstdlib>
#include <filesystem>
#include <utility>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

TEST(LanguageChoice, TheFirstSetVariableOfTheLocaleDecides) {
    const struct {
        LocaleEnvironment environment; // forced, LC_ALL, LC_MESSAGES, LANG
        const char* language;
    } cases[] = {
        {{"", "", "", ""}, "en"},
        {{"", "", "", "de_DE.UTF-8"}, "de"},
        {{"", "", "", "de_AT"}, "de"},
        {{"", "", "", "de"}, "de"},
        {{"", "", "", "de_CH.ISO-8859-1@euro"}, "de"},
        {{"", "", "", "de.UTF-8"}, "de"},
        {{"", "", "", "de@euro"}, "de"},
        {{"", "", "", "en_GB.UTF-8"}, "en"},
        {{"", "", "", "fr_FR.UTF-8"}, "fr"},
        {{"", "", "", "nds_DE"}, "nds"},
        {{"", "", "", "DE_de"}, "de"},
        // C and POSIX, with or without a codeset, mean the program's own English.
        {{"", "", "", "C"}, "en"},
        {{"", "", "", "C.UTF-8"}, "en"},
        {{"", "", "", "POSIX"}, "en"},
        // LC_ALL over LC_MESSAGES over LANG, whatever the later ones say.
        {{"", "", "de_DE.UTF-8", "en_US.UTF-8"}, "de"},
        {{"", "", "en_US.UTF-8", "de_DE.UTF-8"}, "en"},
        {{"", "de_DE.UTF-8", "en_US.UTF-8", "en_US.UTF-8"}, "de"},
        {{"", "C", "de_DE.UTF-8", "de_DE.UTF-8"}, "en"},
        {{"", "C.UTF-8", "", "de_DE.UTF-8"}, "en"},
        // The program's own variable over the locale.
        {{"de", "C", "en_US.UTF-8", "en_US.UTF-8"}, "de"},
        {{"en", "de_DE.UTF-8", "", "de_DE.UTF-8"}, "en"},
        {{"de_AT", "", "", ""}, "de"},
        // A value that names no language is English; it must never reach a folder name.
        {{"", "", "", "../../etc"}, "en"},
        {{"", "", "", "de/../../x"}, "en"},
        {{"", "", "", "d"}, "en"},
        {{"", "", "", "deutsch"}, "en"},
        {{"", "", "", "_DE"}, "en"},
        {{"", "", "", "d3_DE"}, "en"},
        {{"", "", "", "ü_DE"}, "en"},
    };
    for (const auto& [environment, language] : cases) {
        SCOPED_TRACE("forced=" + environment.forced + " LC_ALL=" + environment.lc_all +
                     " LC_MESSAGES=" + environment.lc_messages + " LANG=" + environment.lang);
        EXPECT_EQ(language, requested_language(environment));
    }
}

TEST(LanguageChoice, ReadsTheVariablesOfTheProcess) {
    const LocaleEnvironment before = locale_from_process_environment();
    ASSERT_EQ(0, ::setenv(kLanguageVariable, "x1", 1));
    ASSERT_EQ(0, ::setenv("LC_ALL", "x2", 1));
    ASSERT_EQ(0, ::setenv("LC_MESSAGES", "x3", 1));
    ASSERT_EQ(0, ::setenv("LANG", "x4", 1));
    const LocaleEnvironment read = locale_from_process_environment();
    for (const char* name : {kLanguageVariable, "LC_ALL", "LC_MESSAGES", "LANG"}) {
        ASSERT_EQ(0, ::unsetenv(name));
    }
    EXPECT_EQ("x1", read.forced);
    EXPECT_EQ("x2", read.lc_all);
    EXPECT_EQ("x3", read.lc_messages);
    EXPECT_EQ("x4", read.lang);
    const LocaleEnvironment unset = locale_from_process_environment();
    EXPECT_EQ("en", requested_language(unset));
    for (const auto& [name, value] :
         {std::pair{kLanguageVariable, &before.forced}, std::pair{"LC_ALL", &before.lc_all},
          std::pair{"LC_MESSAGES", &before.lc_messages}, std::pair{"LANG", &before.lang}}) {
        if (!value->empty()) {
            ::setenv(name, value->c_str(), 1);
        }
    }
}

TEST(LanguageChoice, EachTranslationHasAFolderBesideTheEnglishFile) {
    EXPECT_EQ(std::filesystem::path("Language/lan.xml"), language_file_name("en"));
    EXPECT_EQ(std::filesystem::path("Language/de/lan.xml"), language_file_name("de"));
}

} // namespace
} // namespace zemrak
