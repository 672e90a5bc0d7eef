#include "macros/macro_recording.h"

#include "macros/macro_recording_target.h"
#include "ui/row_controls.h"
#include "ui/texts.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace zemrak::pages {
namespace {

// Tab and Shift+Tab: they leave the key field as they leave any other.
bool moves_focus(const QEvent* event) {
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Tab || key == Qt::Key_Backtab;
}

} // namespace

MacroRecording::MacroRecording(QWidget* container, MacroRecordingTarget& target,
                               ui::InputCapture& capture, MacroRecorder::Clock clock)
    : m_target(target), m_capture(capture), m_recorder(std::move(clock)),
      m_record(container->findChild<QAbstractButton*>(QStringLiteral("btn_record"))),
      m_scope(container->findChild<QLabel*>(QStringLiteral("record_scope_label"))),
      m_keyField(container->findChild<QLineEdit*>(QStringLiteral("edit_macro_action"))) {
    if (m_record != nullptr) {
        m_record->setCheckable(true);
        m_record->installEventFilter(this);
        connect(m_record, &QAbstractButton::clicked, this, &MacroRecording::on_record_clicked);
    }
    if (m_keyField != nullptr) {
        m_keyField->installEventFilter(this);
    }
    if (m_scope != nullptr) {
        // A language may need a second line.
        m_scope->setWordWrap(true);
    }
    show_recording(false);
    // A recording still running when the program quits is kept, as if stopped.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &MacroRecording::stop);
}

MacroRecording::~MacroRecording() {
    // Anything to store was stored when the program began to quit; the hooks just end.
    if (m_recorder.recording() || m_capturingKeys) {
        m_capture.remove(InputDevice::keyboard);
        m_capture.remove(InputDevice::mouse);
    }
}

void MacroRecording::on_record_clicked() {
    if (m_recorder.recording()) {
        stop();
    } else {
        start();
    }
}

void MacroRecording::start() {
    const int selected = m_target.selected_action();
    if (!m_recorder.start(m_target.editing_macro(), selected, m_target.default_delay())) {
        show_recording(false);
        return;
    }
    // The recording takes the keyboard over from the key field.
    stop_key_capture();
    if (selected < 0) {
        // Recorded anew: the old actions are gone from the list at once.
        m_target.show_actions(-1);
        m_target.show_action_details();
    }
    const auto sink = [this](const InputEvent& event) { on_event(event); };
    m_capture.install(InputDevice::keyboard, sink);
    m_capture.install(InputDevice::mouse, sink);
    // The pointer is still over the button whose click started the recording: the click that
    // stops it must not be recorded. Leaving the button turns the mouse on.
    m_capture.enable(InputDevice::mouse, m_record == nullptr || !m_record->underMouse());
    show_recording(true);
}

void MacroRecording::stop() {
    if (!m_recorder.recording()) {
        return;
    }
    m_recorder.stop();
    finish();
}

void MacroRecording::finish() {
    m_capture.remove(InputDevice::keyboard);
    m_capture.remove(InputDevice::mouse);
    show_recording(false);
    m_target.commit();
    if (m_keyField != nullptr && m_keyField->hasFocus()) {
        start_key_capture();
    }
}

void MacroRecording::on_event(const InputEvent& event) {
    const bool was_recording = m_recorder.recording();
    MacroRecord* macro = m_target.editing_macro();
    if (was_recording && macro == nullptr) {
        // The macro is no longer shown (or was locked meanwhile): nothing to record into.
        stop();
        return;
    }
    const MacroRecorder::Outcome outcome =
        m_recorder.handle(event, macro, m_target.selected_action(), m_target.delay_mode());
    if (!outcome.changed) {
        return;
    }
    if (was_recording) {
        m_target.set_selected_action(outcome.selected_action);
        m_target.show_actions(outcome.selected_action);
        if (outcome.reached_limit) {
            finish();
        }
        return;
    }
    m_target.show_actions(outcome.selected_action);
    m_target.show_action_details();
    m_target.commit();
}

void MacroRecording::start_key_capture() {
    if (m_capturingKeys || m_recorder.recording()) {
        return;
    }
    m_capturingKeys = true;
    m_capture.install(InputDevice::keyboard, [this](const InputEvent& event) { on_event(event); });
    m_capture.enable(InputDevice::keyboard, true);
}

void MacroRecording::stop_key_capture() {
    if (!m_capturingKeys) {
        return;
    }
    m_capturingKeys = false;
    if (!m_recorder.recording()) {
        m_capture.remove(InputDevice::keyboard);
    }
}

bool MacroRecording::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    const bool key = type == QEvent::KeyPress || type == QEvent::KeyRelease;
    if (watched == m_record && m_recorder.recording()) {
        if (type == QEvent::Enter || type == QEvent::Leave) {
            m_capture.enable(InputDevice::mouse, type == QEvent::Leave);
        } else if (key || type == QEvent::ShortcutOverride) {
            // Every key is recorded; none works the button or a shortcut meanwhile.
            event->accept();
            return true;
        }
    } else if (watched == m_keyField) {
        if (type == QEvent::FocusIn) {
            start_key_capture();
        } else if (type == QEvent::FocusOut) {
            stop_key_capture();
        } else if (m_capturingKeys && (key || type == QEvent::ShortcutOverride) &&
                   !moves_focus(event)) {
            // The key pressed is the action's new key, never typed text.
            event->accept();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void MacroRecording::show_recording(bool on) {
    if (m_record != nullptr) {
        m_record->setChecked(on);
        m_record->setText(ui::Texts::text(on ? "stop_recording_text" : "start_recording_text"));
        ui::set_style_flag(m_record, "recording", on);
    }
    if (m_scope == nullptr) {
        return;
    }
    if (on) {
        // One short line over the actions; the whole story is in its tool tip.
        const bool everywhere = m_capture.scope() == ui::CaptureScope::system_wide;
        QString story =
            ui::Texts::text(everywhere ? "recording_system_tip_text" : "recording_window_tip_text");
        if (!everywhere && m_capture.library_without_devices()) {
            story += QLatin1Char(' ') + ui::Texts::text("capture_permission_text");
        }
        m_scope->setText(
            ui::Texts::text(everywhere ? "recording_system_text" : "recording_window_text"));
        m_scope->setToolTip(story);
    }
    ui::set_style_flag(m_scope, "recording", on);
    m_scope->setVisible(on);
}

} // namespace zemrak::pages
