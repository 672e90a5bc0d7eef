#pragma once

#include "model/config_block.h"
#include "model/record_library.h"

#include <QObject>
#include <functional>

namespace zemrak {
class AppData;
class MacroLibrary;
class ProfileList;
class RecoilLibrary;
} // namespace zemrak

namespace zemrak::pages {

// The program's data as the pages see it, and the news of its changes. Pages listen and redraw
// themselves; whoever changes the data through here does not have to know who shows it.
class ProfileModel final : public QObject {
    Q_OBJECT
public:
    explicit ProfileModel(AppData& data, QObject* parent = nullptr);

    [[nodiscard]] AppData& data() { return m_data; }
    // The current profile; null when there is none.
    [[nodiscard]] ConfigBlock* current() const;

    // Another profile became current, or the current one was replaced as a whole (start-up
    // load, switch, reset, deletion): every page shows it again.
    void current_replaced();

    // Runs one operation of a library (see RecordLibrary) and tells the pages what it
    // changed: the library's own page whenever the operation succeeded or changed anything,
    // the button page too when it reached button records of the current profile. Returns the
    // operation's result.
    using MacroChange = std::function<LibraryResult(MacroLibrary&, ProfileList&)>;
    using RecoilChange = std::function<LibraryResult(RecoilLibrary&, ProfileList&)>;
    LibraryResult change_macros(const MacroChange& change);
    LibraryResult change_recoils(const RecoilChange& change);

signals:
    // The profile every page shows; null when there is none.
    void profileChanged(zemrak::ConfigBlock* profile);
    // A change of a library reached button records of the current profile.
    void buttonsChanged(zemrak::ConfigBlock* profile);
    void macrosChanged();
    void recoilsChanged();

private:
    void announce(const LibraryResult& result, void (ProfileModel::*library_changed)());

    AppData& m_data;
};

} // namespace zemrak::pages
