#include "startup.h"

#include <utility>

namespace zemrak::ctl {

Startup::Startup(const Context& context) : data(context.folders) {
    data.load_settings();
    for (const FileProblem& problem : data.settings_problems()) {
        context.err << "zemrakctl: " << problem.file.string() << ": " << problem.error.message()
                    << '\n';
    }
    report = data.load_profiles();
    const ProfileStore& store = data.store();
    for (const auto& [file, error] :
         {std::pair{store.index_file(), report.index_read_error},
          std::pair{store.profiles_file(), report.profiles_read_error}}) {
        if (error) {
            context.err << "zemrakctl: " << file.string() << ": " << error.message() << '\n';
        }
    }
    if (!report.damaged_copy.empty()) {
        context.err << "zemrakctl: profile.bin was incomplete; the original is kept as "
                    << report.damaged_copy.string() << '\n';
    }
    if (report.save_error) {
        context.err << "zemrakctl: could not save in " << context.folders.data.string() << ": "
                    << report.save_error.message() << '\n';
    }
}

} // namespace zemrak::ctl
