#include "ui/ui_script.h"

#include "ui/modal.h"
#include "ui/popup_menu.h"
#include "ui/typed_keys.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QEnterEvent>
#include <QFile>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QRectF>
#include <QSpinBox>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <iostream>
#include <tuple>
#include <utility>

namespace zemrak::ui {
namespace {

// How often wait-apply looks again; only while a script waits for an apply.
constexpr int kApplyRecheckMs = 20;

// The first word of `text` and the rest after the blanks that follow it.
std::pair<QString, QString> split_first(const QString& text) {
    qsizetype end = 0;
    while (end < text.size() && !text.at(end).isSpace()) {
        ++end;
    }
    return {text.left(end), text.mid(end).trimmed()};
}

bool is_one_word(const QString& text) {
    return !text.isEmpty() && split_first(text).second.isEmpty();
}

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// Real focus changes need an active window; a program in the tray has none, so there the
// control gets the events a focus change would send.
void give_focus(QWidget* control) {
    if (control->window()->isActiveWindow()) {
        control->setFocus(Qt::OtherFocusReason);
        if (control->hasFocus()) {
            return;
        }
    }
    QFocusEvent focus_in(QEvent::FocusIn, Qt::OtherFocusReason);
    QCoreApplication::sendEvent(control, &focus_in);
}

void take_focus(QWidget* control) {
    if (control->hasFocus()) {
        control->clearFocus();
        if (!control->hasFocus()) {
            return;
        }
    }
    QFocusEvent focus_out(QEvent::FocusOut, Qt::OtherFocusReason);
    QCoreApplication::sendEvent(control, &focus_out);
}

void warn(const UiScriptStep& step, const QString& message) {
    std::cerr << "zemrak-mouse: ui script: line " << step.line << ": "
              << message.toLocal8Bit().constData() << '\n';
}

} // namespace

UiScript::UiScript(QWidget* main_window, ApplyIdle apply_idle, Quit quit, QObject* parent)
    : QObject(parent), m_mainWindow(main_window), m_applyIdle(std::move(apply_idle)),
      m_quit(std::move(quit)) {}

UiScript::~UiScript() = default;

UiScriptParse UiScript::parse(const QString& text) {
    UiScriptParse result;
    QList<int> held; // the keys pressed by earlier lines and not released
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype index = 0; index < lines.size(); ++index) {
        const QString line = lines.at(index).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) {
            continue;
        }
        UiScriptStep step;
        step.line = static_cast<int>(index) + 1;
        const auto [verb, rest] = split_first(line);
        const auto error = [&](const QString& message) {
            result.steps.clear();
            result.error = QStringLiteral("line %1: %2").arg(step.line).arg(message);
        };

        if (verb == u"click" || verb == u"menu") {
            step.verb = verb == u"click" ? UiScriptStep::Verb::Click : UiScriptStep::Verb::Menu;
            step.name = rest;
            if (!is_one_word(rest)) {
                error(quoted(verb) + QStringLiteral(" takes one name"));
                return result;
            }
        } else if (verb == u"set") {
            step.verb = UiScriptStep::Verb::Set;
            std::tie(step.name, step.value) = split_first(rest);
            if (step.name.isEmpty()) {
                error(QStringLiteral("\"set\" takes a name and a value"));
                return result;
            }
        } else if (verb == u"expect") {
            step.verb = UiScriptStep::Verb::Expect;
            std::tie(step.name, step.value) = split_first(rest);
            if (step.name.isEmpty()) {
                error(QStringLiteral("\"expect\" takes a name and a text"));
                return result;
            }
        } else if (verb == u"tray") {
            step.verb = UiScriptStep::Verb::Tray;
            if (rest == u"left") {
                step.number = UiScriptStep::kTrayLeft;
            } else if (rest == u"right") {
                step.number = UiScriptStep::kTrayRight;
            } else {
                error(QStringLiteral("\"tray\" takes left or right, not ") + quoted(rest));
                return result;
            }
        } else if (verb == u"answer") {
            step.verb = UiScriptStep::Verb::Answer;
            if (rest.compare(u"OK", Qt::CaseInsensitive) == 0) {
                step.number = kDialogOk;
            } else if (rest.compare(u"CANCEL", Qt::CaseInsensitive) == 0) {
                step.number = kDialogCancel;
            } else {
                error(QStringLiteral("\"answer\" takes OK or CANCEL, not ") + quoted(rest));
                return result;
            }
        } else if (verb == u"wait") {
            step.verb = UiScriptStep::Verb::Wait;
            bool number = false;
            step.number = rest.toInt(&number);
            if (!number || step.number < 0) {
                error(QStringLiteral("\"wait\" takes a pause in milliseconds, not ") +
                      quoted(rest));
                return result;
            }
        } else if (verb == u"key" || verb == u"press" || verb == u"release") {
            step.verb = verb == u"key"     ? UiScriptStep::Verb::Key
                        : verb == u"press" ? UiScriptStep::Verb::Press
                                           : UiScriptStep::Verb::Release;
            step.name = rest;
            const std::optional<TypedKey> key =
                is_one_word(rest) ? typed_key(rest) : std::optional<TypedKey>();
            if (!key) {
                error(quoted(verb) +
                      QStringLiteral(" takes a key as Qt names it (A, Tab, F5, Shift...), not ") +
                      quoted(rest));
                return result;
            }
            step.number = key->key;
            if (step.verb == UiScriptStep::Verb::Press) {
                held.append(step.number);
            } else if (step.verb == UiScriptStep::Verb::Release && !held.removeOne(step.number)) {
                error(QStringLiteral("\"release\" of ") + quoted(rest) +
                      QStringLiteral(", which is not pressed"));
                return result;
            }
        } else if (verb == u"mouse") {
            step.verb = UiScriptStep::Verb::Mouse;
            QString button;
            std::tie(button, step.name) = split_first(rest);
            if (button == u"left") {
                step.number = Qt::LeftButton;
            } else if (button == u"right") {
                step.number = Qt::RightButton;
            } else if (button == u"middle") {
                step.number = Qt::MiddleButton;
            }
            if (step.number == 0 || !is_one_word(step.name)) {
                error(QStringLiteral("\"mouse\" takes left, right or middle and one name, not ") +
                      quoted(rest));
                return result;
            }
        } else if (verb == u"wait-apply" || verb == u"quit") {
            step.verb = verb == u"quit" ? UiScriptStep::Verb::Quit : UiScriptStep::Verb::WaitApply;
            if (!rest.isEmpty()) {
                error(quoted(verb) + QStringLiteral(" takes nothing after it"));
                return result;
            }
        } else {
            error(QStringLiteral("unknown command ") + quoted(verb));
            return result;
        }
        result.steps.push_back(std::move(step));
    }
    return result;
}

QString UiScript::load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        m_steps.clear();
        m_loadError = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return m_loadError;
    }
    return load_text(QString::fromUtf8(file.readAll()));
}

QString UiScript::load_text(const QString& text) {
    UiScriptParse parsed = parse(text);
    m_steps = std::move(parsed.steps);
    m_loadError = std::move(parsed.error);
    return m_loadError;
}

std::unique_ptr<UiScript> UiScript::start(const QString& path, QWidget* main_window,
                                          ApplyIdle apply_idle, Quit quit) {
    auto script = std::make_unique<UiScript>(main_window, std::move(apply_idle), std::move(quit));
    static_cast<void>(script->load(path)); // a load error stops the program from run()
    script->run();
    return script;
}

void UiScript::run() {
    if (m_started) {
        return;
    }
    m_started = true;
    schedule(0);
}

void UiScript::set_failure_handler(Failure failure) {
    m_failure = std::move(failure);
}

void UiScript::schedule(int delay_ms) {
    QTimer::singleShot(delay_ms, this, &UiScript::turn);
}

void UiScript::turn() {
    if (m_stopped) {
        return;
    }
    if (m_settling) {
        // Whatever the previous line posted (a deferred command, a dialog closing itself
        // with a queued answer) runs before the next line.
        m_settling = false;
        schedule(0);
        return;
    }
    m_settling = true;
    if (!m_loadError.isEmpty()) {
        fail(m_loadError);
        return;
    }
    if (m_next >= m_steps.size()) {
        stop();
        return;
    }
    const UiScriptStep step = m_steps[m_next++];
    switch (step.verb) {
    case UiScriptStep::Verb::Wait:
        schedule(step.number);
        return;
    case UiScriptStep::Verb::WaitApply:
        wait_for_apply();
        return;
    case UiScriptStep::Verb::Quit: {
        const Quit quit = m_quit; // ending the program may destroy this script
        stop();
        if (quit) {
            quit();
        } else {
            QCoreApplication::quit();
        }
        return;
    }
    default:
        break;
    }
    // The next turn is due before this line runs: a line that opens a modal dialog returns
    // only when the dialog has closed, and the lines that close it run inside its loop.
    schedule(0);
    perform(step);
}

void UiScript::wait_for_apply() {
    if (m_stopped) {
        return;
    }
    if (!m_applyIdle || m_applyIdle()) {
        schedule(0);
        return;
    }
    QTimer::singleShot(kApplyRecheckMs, this, &UiScript::wait_for_apply);
}

void UiScript::perform(const UiScriptStep& step) {
    switch (step.verb) {
    case UiScriptStep::Verb::Click:
        click(step);
        break;
    case UiScriptStep::Verb::Set:
        set(step);
        break;
    case UiScriptStep::Verb::Menu:
        choose_menu_item(step);
        break;
    case UiScriptStep::Verb::Expect:
        expect(step);
        break;
    case UiScriptStep::Verb::Tray:
        click_tray_icon(step);
        break;
    case UiScriptStep::Verb::Answer:
        ModalAnswers::queue(step.number);
        break;
    case UiScriptStep::Verb::Key:
    case UiScriptStep::Verb::Press:
    case UiScriptStep::Verb::Release:
        type_key(step);
        break;
    case UiScriptStep::Verb::Mouse:
        click_mouse(step);
        break;
    default:
        break;
    }
}

QWidget* UiScript::find(const QString& name) const {
    for (QWidget* root : {QApplication::activeModalWidget(), m_mainWindow.data()}) {
        if (root == nullptr) {
            continue;
        }
        if (root->objectName() == name) {
            return root;
        }
        if (auto* control = root->findChild<QWidget*>(name)) {
            return control;
        }
    }
    return nullptr;
}

void UiScript::click(const UiScriptStep& step) {
    QWidget* control = find(step.name);
    if (control == nullptr) {
        fail(step, QStringLiteral("no control named ") + quoted(step.name));
        return;
    }
    if (!control->isEnabled()) {
        warn(step, quoted(step.name) + QStringLiteral(" is disabled; the click does nothing"));
        return;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->click();
        return;
    }
    // A control of our own that takes the mouse itself gets a press and a release.
    const QPointer<QWidget> guard(control);
    const QPointF centre = QRectF(control->rect()).center();
    const QPointF global = control->mapToGlobal(centre);
    QMouseEvent press(QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(control, &press);
    if (guard != nullptr) {
        QMouseEvent release(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(guard.data(), &release);
    }
}

void UiScript::set(const UiScriptStep& step) {
    QWidget* control = find(step.name);
    if (control == nullptr) {
        fail(step, QStringLiteral("no control named ") + quoted(step.name));
        return;
    }
    if (!control->isEnabled()) {
        warn(step, quoted(step.name) + QStringLiteral(" is disabled; it keeps its value"));
        return;
    }
    bool is_number = false;
    const int number = step.value.toInt(&is_number);
    auto* slider = qobject_cast<QAbstractSlider*>(control);
    auto* spin = qobject_cast<QSpinBox*>(control);
    auto* combo = qobject_cast<QComboBox*>(control);
    auto* view = qobject_cast<QAbstractItemView*>(control);
    auto* edit = qobject_cast<QLineEdit*>(control);

    if (slider == nullptr && spin == nullptr && combo == nullptr && view == nullptr &&
        edit == nullptr) {
        fail(step, quoted(step.name) + QStringLiteral(" is not a slider, drop-down, list or edit"));
        return;
    }
    if (edit == nullptr && !is_number) {
        fail(step,
             quoted(step.name) + QStringLiteral(" takes a number, not ") + quoted(step.value));
        return;
    }
    int rows = 0;
    if (combo != nullptr) {
        rows = combo->count();
    } else if (view != nullptr && view->model() != nullptr) {
        rows = view->model()->rowCount(view->rootIndex());
    }
    if ((combo != nullptr || view != nullptr) && (number < 0 || number >= rows)) {
        fail(step, quoted(step.name) + QStringLiteral(" has no row %1").arg(number));
        return;
    }

    const QPointer<QWidget> guard(control);
    give_focus(control);
    if (slider != nullptr) {
        slider->setValue(number);
    } else if (spin != nullptr) {
        spin->setValue(number);
    } else if (combo != nullptr) {
        combo->setCurrentIndex(number);
    } else if (view != nullptr) {
        view->setCurrentIndex(view->model()->index(number, 0, view->rootIndex()));
    } else {
        // As typed: the edit's length limit and validator apply and textEdited fires.
        edit->selectAll();
        edit->insert(step.value);
    }
    if (guard != nullptr) {
        take_focus(guard.data());
    }
}

void UiScript::expect(const UiScriptStep& step) {
    QWidget* control = find(step.name);
    if (control == nullptr) {
        fail(step, QStringLiteral("no control named ") + quoted(step.name));
        return;
    }
    QString shown;
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        shown = button->text();
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        shown = label->text();
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        shown = edit->text();
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        shown = combo->currentText();
    } else {
        fail(step,
             quoted(step.name) + QStringLiteral(" is not a button, label, edit or drop-down"));
        return;
    }
    if (shown != step.value) {
        fail(step, quoted(step.name) + QStringLiteral(" shows ") + quoted(shown) +
                       QStringLiteral(", not ") + quoted(step.value));
    }
}

void UiScript::choose_menu_item(const UiScriptStep& step) {
    PopupMenu* menu = PopupMenu::open_menu();
    if (menu == nullptr) {
        fail(step, QStringLiteral("no pop-up menu is open to choose ") + quoted(step.name));
    } else if (!menu->choose(step.name)) {
        fail(step, QStringLiteral("the open menu has no item ") + quoted(step.name));
    }
}

void UiScript::click_tray_icon(const UiScriptStep& step) {
    QSystemTrayIcon* icon =
        m_mainWindow != nullptr ? m_mainWindow->findChild<QSystemTrayIcon*>() : nullptr;
    // Without a notification area nobody could click the icon.
    if (icon == nullptr || !icon->isVisible() || !QSystemTrayIcon::isSystemTrayAvailable()) {
        fail(step, QStringLiteral("no tray shows the program's icon"));
        return;
    }
    const bool right = step.number == UiScriptStep::kTrayRight;
    // An X tray shows the icon's menu at the pointer itself on a right click (a StatusNotifier
    // host shows its own copy of it), and the signal the platform sends follows.
    if (QMenu* menu = icon->contextMenu(); right && menu != nullptr) {
        menu->popup(QCursor::pos());
    }
    emit icon->activated(right ? QSystemTrayIcon::Context : QSystemTrayIcon::Trigger);
}

void UiScript::type_key(const UiScriptStep& step) {
    // Keys go where the desktop sends them: to an open pop-up menu, else to the dialog in
    // front, else to the main window; there to the focused widget.
    QWidget* window = QApplication::activePopupWidget();
    if (window == nullptr) {
        window = QApplication::activeModalWidget();
    }
    if (window == nullptr) {
        window = m_mainWindow;
    }
    QWindow* handle = window != nullptr && window->isVisible() ? window->windowHandle() : nullptr;
    if (handle == nullptr) {
        fail(step, QStringLiteral("no window is shown to type ") + quoted(step.name) +
                       QStringLiteral(" on"));
        return;
    }
    const std::optional<TypedKey> key = typed_key(step.name);
    if (!key) {
        return; // the parser let no such line through
    }
    const auto modifiers = [this] {
        Qt::KeyboardModifiers held;
        for (const int down : m_heldKeys) {
            held |= modifier_of(static_cast<Qt::Key>(down));
        }
        return held;
    };
    const QPointer<QWindow> guard(handle);
    if (step.verb != UiScriptStep::Verb::Release) {
        if (!m_heldKeys.contains(key->key)) {
            m_heldKeys.append(key->key);
        }
        QKeyEvent press = typed_key_event(*key, true, modifiers());
        QCoreApplication::sendEvent(handle, &press);
    }
    if (step.verb != UiScriptStep::Verb::Press) {
        m_heldKeys.removeOne(key->key);
        if (guard != nullptr) {
            QKeyEvent release = typed_key_event(*key, false, modifiers());
            QCoreApplication::sendEvent(guard.data(), &release);
        }
    }
}

void UiScript::click_mouse(const UiScriptStep& step) {
    QWidget* control = find(step.name);
    if (control == nullptr) {
        fail(step, QStringLiteral("no control named ") + quoted(step.name));
        return;
    }
    QWidget* window = control->window();
    QWindow* handle = control->isVisible() ? window->windowHandle() : nullptr;
    if (handle == nullptr) {
        fail(step, quoted(step.name) + QStringLiteral(" is not shown"));
        return;
    }
    // The window gets the events, as from the desktop: it hands them to the widget under the
    // pointer, which gets its enter and leave events on the way, and input filters on the
    // application see them as they see a person's.
    const QPointF at = control->mapTo(window, QRectF(control->rect()).center());
    const QPointF global = window->mapToGlobal(at);
    const QPointer<QWindow> guard(handle);
    if (m_pointerWindow != handle) {
        if (m_pointerWindow != nullptr) {
            QEvent leave(QEvent::Leave);
            QCoreApplication::sendEvent(m_pointerWindow.data(), &leave);
        }
        m_pointerWindow = handle;
        QEnterEvent enter(at, at, global);
        QCoreApplication::sendEvent(handle, &enter);
    }
    const auto button = static_cast<Qt::MouseButton>(step.number);
    const auto send = [&](QEvent::Type type, Qt::MouseButton changed, Qt::MouseButtons down) {
        if (guard == nullptr) {
            return; // the window went with the event before
        }
        QMouseEvent event(type, at, at, global, changed, down, Qt::NoModifier);
        QCoreApplication::sendEvent(guard.data(), &event);
    };
    send(QEvent::MouseMove, Qt::NoButton, Qt::NoButton);
    send(QEvent::MouseButtonPress, button, button);
    send(QEvent::MouseButtonRelease, button, Qt::NoButton);
}

void UiScript::fail(const UiScriptStep& step, const QString& message) {
    fail(QStringLiteral("line %1: %2").arg(step.line).arg(message));
}

void UiScript::fail(const QString& message) {
    if (m_stopped) {
        return;
    }
    const Failure failure = m_failure; // the handler may destroy this script
    stop();
    if (failure) {
        failure(message);
        return;
    }
    std::cerr << "zemrak-mouse: ui script: " << message.toLocal8Bit().constData() << std::endl;
    // Leaves every running loop, modal ones included, and makes exec() return this status.
    QCoreApplication::exit(kUiScriptFailureStatus);
}

void UiScript::stop() {
    m_stopped = true;
    emit finished();
}

} // namespace zemrak::ui
