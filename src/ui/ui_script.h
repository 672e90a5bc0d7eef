#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

class QWidget;
class QWindow;

namespace zemrak::ui {

// A running program performs the lines of the file named by this variable on its own widgets,
// for tests and for reproducing bug reports.
inline constexpr const char* kUiScriptVariable = "ZEMRAK_UI_SCRIPT";
// The program's exit status when a script cannot be performed.
inline constexpr int kUiScriptFailureStatus = 3;

// One line of a UI script.
//
//   click NAME         press and release a button, option or check box
//   set NAME VALUE     a slider's value, a drop-down's or list's row (from 0), an edit's text;
//                      the control has the focus while it changes and loses it afterwards
//   menu ITEM          choose an item of the pop-up menu that is open, or of one of its
//                      submenus; the tray menu's profiles are profile_0, profile_1, ...
//   tray left|right    click the tray icon as the notification area reports a click (a
//                      right click opens the tray menu at the pointer); fails where no tray
//                      shows the icon
//   answer OK|CANCEL   how the next modal dialog closes unless later lines close it
//   expect NAME TEXT   the control shows TEXT (a button's, label's or edit's text, a drop-down's
//                      current item, compared exactly); the script fails when it does not
//   key KEY            press and release a key on the window's focused widget, as the desktop
//                      delivers it (with its scan code, so the program's own capture sees it);
//                      KEY as Qt names it: A, 1, -, Tab, Space, Return, F5, Shift, Control...
//   press KEY          hold a key down (Shift, Control, Alt and Meta held modify the keys
//                      typed meanwhile)
//   release KEY        let a key go that an earlier line pressed
//   mouse left|right|middle NAME
//                      move the pointer onto the control (it leaves the one it was over) and
//                      press and release the button there, through the control's window
//   wait MS            pause
//   wait-apply         pause until the apply worker is idle
//   quit               end the program as the tray menu's "exit" does
//
// Blank lines and lines starting with '#' are skipped. A NAME is looked up in the open modal
// dialog first, then in the main window.
struct UiScriptStep {
    enum class Verb {
        Click,
        Set,
        Menu,
        Tray,
        Answer,
        Expect,
        Wait,
        WaitApply,
        Quit,
        Key,
        Press,
        Release,
        Mouse
    };
    enum TrayButton { kTrayLeft = 0, kTrayRight = 1 };

    Verb verb = Verb::Quit;
    QString name;   // the control of click, set, expect and mouse, the item of menu, the key
                    // of key, press and release as written
    QString value;  // the value of set and the text of expect, as written
    int number = 0; // the pause of wait in milliseconds, the close code of answer, the
                    // TrayButton of tray, the Qt::Key of key, press and release, the
                    // Qt::MouseButton of mouse
    int line = 0;   // counted from 1, for messages

    friend bool operator==(const UiScriptStep&, const UiScriptStep&) = default;
};

struct UiScriptParse {
    std::vector<UiScriptStep> steps;
    QString error; // the first line not understood; empty when every line is
};

// Performs a script on the real widgets, so that the same signals and notifications run as
// for a person. One line runs per event-loop turn, and each line waits one turn more for
// what the line before it started (a deferred menu command, say). A line that opens a modal
// dialog does not hold the script up: the following lines run inside the dialog's own loop
// and may close it. Nothing is left waiting once the script has ended.
class UiScript final : public QObject {
    Q_OBJECT
public:
    // True while no apply is queued or running.
    using ApplyIdle = std::function<bool()>;
    using Quit = std::function<void()>;
    using Failure = std::function<void(const QString& message)>;

    UiScript(QWidget* main_window, ApplyIdle apply_idle, Quit quit, QObject* parent = nullptr);
    ~UiScript() override;

    UiScript(const UiScript&) = delete;
    UiScript& operator=(const UiScript&) = delete;

    [[nodiscard]] static UiScriptParse parse(const QString& text);

    // Loads the script to run; returns the error that will stop it, empty when it loaded.
    QString load(const QString& path);
    QString load_text(const QString& text);

    // Loads the file and begins. A file that cannot be read or understood stops the program
    // like any other script failure.
    [[nodiscard]] static std::unique_ptr<UiScript> start(const QString& path, QWidget* main_window,
                                                         ApplyIdle apply_idle, Quit quit);

    // Begins with the next event-loop turn.
    void run();

    // By default a failure (an unknown name, a value that does not fit its control, a script
    // that did not load) is written to standard error and the program ends with
    // kUiScriptFailureStatus.
    void set_failure_handler(Failure failure);

    [[nodiscard]] bool is_finished() const { return m_stopped; }

signals:
    // The script has ended: every line ran, or "quit", or a failure.
    void finished();

private:
    void schedule(int delay_ms);
    void turn();
    void wait_for_apply();
    void perform(const UiScriptStep& step);
    void click(const UiScriptStep& step);
    void set(const UiScriptStep& step);
    void expect(const UiScriptStep& step);
    void choose_menu_item(const UiScriptStep& step);
    void click_tray_icon(const UiScriptStep& step);
    void type_key(const UiScriptStep& step);
    void click_mouse(const UiScriptStep& step);
    [[nodiscard]] QWidget* find(const QString& name) const;
    void fail(const UiScriptStep& step, const QString& message);
    void fail(const QString& message);
    void stop();

    QPointer<QWidget> m_mainWindow;
    ApplyIdle m_applyIdle;
    Quit m_quit;
    Failure m_failure;
    std::vector<UiScriptStep> m_steps;
    QString m_loadError;
    std::size_t m_next = 0;
    bool m_started = false;
    bool m_stopped = false;
    // Whether this turn only makes way for what the previous line posted.
    bool m_settling = true;
    // The keys pressed and not yet released, in the order pressed.
    QList<int> m_heldKeys;
    // The window the pointer of mouse lines is over; none before the first.
    QPointer<QWindow> m_pointerWindow;
};

} // namespace zemrak::ui
