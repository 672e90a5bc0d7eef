#pragma once

#include "macros/macro_recorder.h"
#include "ui/input_capture.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <QPointer>

class QWidget;

namespace zemrak::pages {

class MacroRecordingTarget;

// Records live keys and mouse buttons into the macro the page shows, and takes a key pressed
// while the action's key field has the focus as the selected action's new key.
//
// The page's controls, found by name under its container: `btn_record` (a checkable button
// that starts and stops the recording), `record_scope_label` (hidden; while recording it says
// where the events come from) and `edit_macro_action` (the key field). While recording, the
// button and the label carry the style property "recording" and the button reacts to the
// mouse only: Space and Return are keys to record, not commands.
class MacroRecording final : public QObject {
    Q_OBJECT
public:
    // `target` and `capture` outlive this object. Missing controls leave their part out.
    MacroRecording(QWidget* container, MacroRecordingTarget& target, ui::InputCapture& capture,
                   MacroRecorder::Clock clock = {});
    ~MacroRecording() override;
    MacroRecording(const MacroRecording&) = delete;
    MacroRecording& operator=(const MacroRecording&) = delete;

    [[nodiscard]] bool recording() const { return m_recorder.recording(); }
    // Ends a recording and stores the macro; nothing when not recording.
    void stop();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void on_record_clicked();
    void start();
    // The page's side of an ended recording: hooks gone, button and label back, macro stored.
    void finish();
    void on_event(const InputEvent& event);
    void start_key_capture();
    void stop_key_capture();
    void show_recording(bool on);

    MacroRecordingTarget& m_target;
    ui::InputCapture& m_capture;
    MacroRecorder m_recorder;
    // The controls may go before this object does.
    QPointer<QAbstractButton> m_record;
    QPointer<QLabel> m_scope;
    QPointer<QLineEdit> m_keyField;
    bool m_capturingKeys = false;
};

} // namespace zemrak::pages
