#include "application/app_data.h"

#include "model/profile_files.h"
#include "model/unicode.h"

#include <utility>

namespace zemrak {

AppData::AppData(Folders folders)
    : m_store(std::move(folders)), m_macros(m_store.folders().data),
      m_recoils(m_store.folders().data) {}

void AppData::load_settings(std::string_view language) {
    const std::filesystem::path& program = folders().program;
    m_settingsProblems.clear();
    const auto note = [this](const std::filesystem::path& file, std::error_code error) {
        if (error) {
            m_settingsProblems.push_back({file, error});
        }
    };
    std::error_code error;
    m_params = read_device_params(program / kSettingsFileName, error);
    note(program / kSettingsFileName, error);
    m_texts = TextTable::load(program / kLanguageFileName, error);
    note(program / kLanguageFileName, error);
    if (language != kEnglish) {
        const std::filesystem::path translation = program / language_file_name(language);
        m_texts.overlay(TextTable::load(translation, error));
        note(translation, error);
    }
    m_store.load_factory_image(m_params.sensor);
}

StartupLoad AppData::load_data() {
    StartupLoad load;
    load.data_folder_error = folder_write_error(folders().data);
    load.profiles = load_profiles();
    load.macros = m_macros.load();
    load.recoils = m_recoils.load();
    return load;
}

StartupReport AppData::load_profiles() {
    return m_store.load_all(m_params.sensor, profile_base_name());
}

std::u16string AppData::profile_base_name() const {
    return to_utf16(m_texts.text("profile_text"));
}

ProfileImport AppData::import_profile(const std::filesystem::path& file) {
    ProfileImport result;
    ConfigBlock block;
    if (const std::error_code error = load_profile_image(file, block)) {
        result.error = error;
        return result;
    }
    ProfileList& list = profiles();
    block.set_name(list.unique_name(block.name()));
    list.append(block);
    result.added = true;
    result.index = list.size() - 1;
    result.name = block.name();
    result.error = m_store.save_profiles();
    return result;
}

std::error_code AppData::export_profile(std::size_t index,
                                        const std::filesystem::path& file) const {
    if (index >= profiles().size()) {
        return std::make_error_code(std::errc::invalid_argument);
    }
    return save_profile_image(file, profiles().at(index));
}

} // namespace zemrak
