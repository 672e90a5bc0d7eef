#pragma once

#include <QDialog>
#include <QString>
#include <memory>

class QLabel;
class QPushButton;

namespace Ui {
class MsgWnd;
}

namespace zemrak::ui {

// The program's one message box: a title and a message, both language keys, with OK, cancel
// and a close button. Warnings and confirmations look alike; the caller decides what the
// answer means. Made on the caller's stack for one question.
class CMsgWnd final : public QDialog {
    Q_OBJECT
public:
    explicit CMsgWnd(QWidget* owner);
    ~CMsgWnd() override;

    CMsgWnd(const CMsgWnd&) = delete;
    CMsgWnd& operator=(const CMsgWnd&) = delete;

    // The labels show the language texts of these keys; an unknown key shows nothing.
    void set_title_key(const QString& key);
    void set_message_key(const QString& key);
    // A message made by the program (it may name files or hold commands to copy): shown as
    // it is, and selectable.
    void set_message_text(const QString& text);
    // One more answer beside OK, labelled with the text of `text_key`; choosing it closes the
    // box with kDialogChoice.
    void add_choice(const QString& text_key);

    // Centres the box over its owner and runs it modally. 1 (kDialogOk) only for OK,
    // kDialogChoice only for the added choice; cancel, the close button, Escape and any other
    // way of closing give 0.
    int show_modal();

private:
    void centre_over_owner();

    std::unique_ptr<Ui::MsgWnd> m_ui;
    QString m_title_key;
    QString m_message_key;
    QPushButton* m_choice = nullptr;
};

// Asks once: makes a box owned by `owner`, shows it and returns its answer.
int show_message(QWidget* owner, const QString& title_key, const QString& message_key);

} // namespace zemrak::ui
