// A small notification area for tests on a bare X server (Xvfb): it claims the screen's
// system tray selection, announces itself to the clients on the root window as the system
// tray protocol asks (Qt decides from this that a tray is available), and docks the icons
// that ask for it, XEmbed style, in a strip of its own. It runs until the X server goes away,
// it loses the selection, or it is killed.
//
//   DISPLAY=:5 test_tray_host

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <xcb/xcb.h>

namespace {

// The opcode of a dock request (_NET_SYSTEM_TRAY_OPCODE) and of the XEmbed notice that tells
// a client it has been embedded (_XEMBED).
constexpr std::uint32_t kRequestDock = 0;
constexpr std::uint32_t kEmbeddedNotify = 0;
constexpr std::uint16_t kIconSize = 22;
constexpr std::uint16_t kStripWidth = 10 * kIconSize;

template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

xcb_atom_t intern(xcb_connection_t* connection, const std::string& name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(name.size()), name.c_str());
    const ReplyPtr<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

void send_message(xcb_connection_t* connection, xcb_window_t destination, std::uint32_t mask,
                  xcb_window_t window, xcb_atom_t type, const std::uint32_t (&data)[5]) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = type;
    for (int i = 0; i < 5; ++i) {
        message.data.data32[i] = data[i];
    }
    xcb_send_event(connection, 0, destination, mask, reinterpret_cast<const char*>(&message));
}

} // namespace

int main() {
    int screen_number = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screen_number);
    if (xcb_connection_has_error(connection) != 0) {
        std::fprintf(stderr, "test_tray_host: cannot reach the X server\n");
        return EXIT_FAILURE;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screen_number && screens.rem > 0; ++i) {
        xcb_screen_next(&screens);
    }
    const xcb_screen_t* screen = screens.data;
    const xcb_atom_t selection =
        intern(connection, "_NET_SYSTEM_TRAY_S" + std::to_string(screen_number));
    const xcb_atom_t opcode = intern(connection, "_NET_SYSTEM_TRAY_OPCODE");
    const xcb_atom_t manager = intern(connection, "MANAGER");
    const xcb_atom_t xembed = intern(connection, "_XEMBED");

    // The strip the icons live in: a panel of its own, left alone by any window manager.
    const xcb_window_t strip = xcb_generate_id(connection);
    const std::uint32_t values[] = {screen->black_pixel, 1, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY};
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, strip, screen->root, 0, 0, kStripWidth,
                      kIconSize, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
    xcb_map_window(connection, strip);

    xcb_set_selection_owner(connection, strip, selection, XCB_CURRENT_TIME);
    const ReplyPtr<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, selection),
                                      nullptr),
        &std::free);
    if (!owner || owner->owner != strip) {
        std::fprintf(stderr, "test_tray_host: another tray owns the selection\n");
        return EXIT_FAILURE;
    }
    // Clients that started before the tray learn of it from this message.
    send_message(connection, screen->root, XCB_EVENT_MASK_STRUCTURE_NOTIFY, screen->root, manager,
                 {XCB_CURRENT_TIME, selection, strip, 0, 0});
    xcb_flush(connection);

    std::int16_t next_slot = 0;
    while (xcb_generic_event_t* raw = xcb_wait_for_event(connection)) {
        const ReplyPtr<xcb_generic_event_t> event(raw, &std::free);
        const std::uint8_t type = event->response_type & 0x7f;
        if (type == XCB_SELECTION_CLEAR) {
            break;
        }
        if (type != XCB_CLIENT_MESSAGE) {
            continue;
        }
        const auto* message = reinterpret_cast<const xcb_client_message_event_t*>(raw);
        if (message->type != opcode || message->data.data32[1] != kRequestDock) {
            continue;
        }
        const xcb_window_t icon = message->data.data32[2];
        const std::uint32_t size[] = {kIconSize, kIconSize};
        xcb_reparent_window(connection, icon, strip, next_slot, 0);
        xcb_configure_window(connection, icon, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT,
                             size);
        xcb_map_window(connection, icon);
        send_message(connection, icon, XCB_EVENT_MASK_NO_EVENT, icon, xembed,
                     {XCB_CURRENT_TIME, kEmbeddedNotify, 0, strip, 0});
        xcb_flush(connection);
        next_slot = static_cast<std::int16_t>(next_slot + kIconSize);
    }
    xcb_disconnect(connection);
    return EXIT_SUCCESS;
}
