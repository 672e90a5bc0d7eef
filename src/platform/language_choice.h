#pragma once
// Which language the program shows: the one the user's locale names, when the program has a
// language file for it, else English.

#include <filesystem>
#include <string>
#include <string_view>

namespace zemrak {

// Names a language to use whatever the locale says ("de", "en"; a locale name works too).
inline constexpr const char* kLanguageVariable = "ZEMRAK_LANGUAGE";
// The language of Language/lan.xml, which every other language falls back to.
inline constexpr std::string_view kEnglish = "en";

// The parts of the environment that choose the language, as the process got them; an unset
// variable is empty.
struct LocaleEnvironment {
    std::string forced;      // $ZEMRAK_LANGUAGE
    std::string lc_all;      // $LC_ALL
    std::string lc_messages; // $LC_MESSAGES
    std::string lang;        // $LANG
};

[[nodiscard]] LocaleEnvironment locale_from_process_environment();

// The language code the environment asks for: the first non-empty of ZEMRAK_LANGUAGE,
// LC_ALL, LC_MESSAGES and LANG, as a locale name "language[_TERRITORY][.codeset][@modifier]"
// whose language part is returned in lower case ("de_AT.UTF-8" gives "de"). English (kEnglish)
// when all are empty, for the locales "C" and "POSIX" (any codeset), and for a value whose
// language part is not two or three ASCII letters, so that the result is always safe as a
// folder name.
[[nodiscard]] std::string requested_language(const LocaleEnvironment& environment);

// The language file of `language`, relative to the program folder: Language/lan.xml for
// English, Language/<language>/lan.xml for any other.
[[nodiscard]] std::filesystem::path language_file_name(std::string_view language);

} // namespace zemrak
