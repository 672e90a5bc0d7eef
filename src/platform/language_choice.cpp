#include "platform/language_choice.h"

#include "platform/folders.h"

#include <algorithm>
#include <cstdlib>

namespace zemrak {
namespace {

std::string env_or_empty(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

bool is_ascii_letter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char to_lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string language_of_locale(std::string_view locale) {
    const std::string_view name = locale.substr(0, locale.find_first_of(".@"));
    if (name == "C" || name == "POSIX") {
        return std::string(kEnglish);
    }
    const std::string_view language = name.substr(0, name.find('_'));
    if (language.size() < 2 || language.size() > 3 ||
        !std::ranges::all_of(language, is_ascii_letter)) {
        return std::string(kEnglish);
    }
    std::string lower(language);
    std::ranges::transform(lower, lower.begin(), to_lower);
    return lower;
}

} // namespace

LocaleEnvironment locale_from_process_environment() {
    return {env_or_empty(kLanguageVariable), env_or_empty("LC_ALL"), env_or_empty("LC_MESSAGES"),
            env_or_empty("LANG")};
}

std::string requested_language(const LocaleEnvironment& environment) {
    // As the C library does for messages, the first variable that is set decides, even when
    // it names nothing usable: a later one is not consulted.
    for (const std::string* value :
         {&environment.forced, &environment.lc_all, &environment.lc_messages, &environment.lang}) {
        if (!value->empty()) {
            return language_of_locale(*value);
        }
    }
    return std::string(kEnglish);
}

std::filesystem::path language_file_name(std::string_view language) {
    const std::filesystem::path english = kLanguageFileName;
    if (language == kEnglish) {
        return english;
    }
    return english.parent_path() / language / english.filename();
}

} // namespace zemrak
