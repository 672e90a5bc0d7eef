#include "startup.h"

#include "printable.h"

#include <utility>

namespace zemrak::ctl {

Startup::Startup(const Context& context) : data(context.folders), hold(data.folder_lock()) {
    data.load_settings();
    for (const FileProblem& problem : data.settings_problems()) {
        context.err << "zemrakctl: " << printable_path(problem.file) << ": "
                    << problem.error.message() << '\n';
    }
    if (const std::error_code error = folder_write_error(context.folders.data)) {
        context.err << "zemrakctl: " << printable_path(context.folders.data)
                    << " cannot be written (" << error.message() << "); changes cannot be kept\n";
    }
    report = data.load_profiles();
    const ProfileStore& store = data.store();
    for (const auto& [file, error] :
         {std::pair{store.index_file(), report.index_read_error},
          std::pair{store.profiles_file(), report.profiles_read_error}}) {
        if (error) {
            context.err << "zemrakctl: " << printable_path(file) << ": " << error.message() << '\n';
        }
    }
    if (!report.damaged_copy.empty()) {
        context.err << "zemrakctl: profile.bin was incomplete; the original is kept as "
                    << printable_path(report.damaged_copy) << '\n';
    }
    if (report.save_error) {
        context.err << "zemrakctl: could not save in " << printable_path(context.folders.data)
                    << ": " << report.save_error.message() << '\n';
    }
}

} // namespace zemrak::ctl
