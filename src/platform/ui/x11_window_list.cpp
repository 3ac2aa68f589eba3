// Top-level windows of an X11 display: the window manager's client list (EWMH) or the window
// tree, titles from _NET_WM_NAME or WM_NAME, raising by an _NET_ACTIVE_WINDOW request.
#include "platform/ui/x11_window_list.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/window_list.h"

namespace tessary {
namespace {

// Replies are owned here and freed with the holder, also on every early return.
template <class T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;
template <class T>
Reply<T> Hold(T* reply) {
  return Reply<T>(reply, &std::free);
}

// Takes a request's error, if any, so that a window gone in between is an answer here and
// never an error report in the application's event queue.
class ErrorSink {
 public:
  ErrorSink() = default;
  ErrorSink(const ErrorSink&) = delete;
  ErrorSink& operator=(const ErrorSink&) = delete;
  ~ErrorSink() { std::free(error_); }
  xcb_generic_error_t** operator&() { return &error_; }

 private:
  xcb_generic_error_t* error_ = nullptr;
};

// Sends a request and waits for its outcome, dropping any error.
void Checked(xcb_connection_t* c, xcb_void_cookie_t cookie) {
  std::free(xcb_request_check(c, cookie));
}

class UnavailableWindowList final : public WindowList {
 public:
  Result<std::vector<TopWindow>> Windows() override {
    return Error{std::string(kCannotListWindowsMessage)};
  }
  Status Activate(WindowId) override { return Error{std::string(kCannotListWindowsMessage)}; }
};

class X11WindowList final : public WindowList {
 public:
  X11WindowList(xcb_connection_t* c, xcb_window_t root) : c_(c), root_(root) {
    client_list_ = Atom("_NET_CLIENT_LIST");
    active_window_ = Atom("_NET_ACTIVE_WINDOW");
    wm_name_ = Atom("_NET_WM_NAME");
    utf8_ = Atom("UTF8_STRING");
  }

  Result<std::vector<TopWindow>> Windows() override {
    std::vector<xcb_window_t> ids = ClientList();
    if (ids.empty()) ids = TreeWindows();
    std::vector<TopWindow> out;
    for (xcb_window_t w : ids) {
      std::string title = Title(w);
      if (!title.empty()) out.push_back(TopWindow{w, std::move(title)});
    }
    return out;
  }

  Status Activate(WindowId id) override {
    const auto w = static_cast<xcb_window_t>(id);
    auto attributes =
        Hold(xcb_get_window_attributes_reply(c_, xcb_get_window_attributes(c_, w), &ErrorSink()));
    if (!attributes) return Error{std::string(kWindowGoneMessage)};
    // A minimised window is unmapped; mapping it asks the window manager to restore it.
    if (attributes->map_state != XCB_MAP_STATE_VIEWABLE) Checked(c_, xcb_map_window_checked(c_, w));
    SendActivation(w);
    // Without a window manager nobody answers the request: raise and focus it directly.
    if (!HasWindowManager()) {
      const uint32_t above = XCB_STACK_MODE_ABOVE;
      Checked(c_, xcb_configure_window_checked(c_, w, XCB_CONFIG_WINDOW_STACK_MODE, &above));
      Checked(c_, xcb_set_input_focus_checked(c_, XCB_INPUT_FOCUS_PARENT, w, XCB_CURRENT_TIME));
    }
    xcb_flush(c_);
    return Success();
  }

 private:
  xcb_atom_t Atom(const char* name) {
    auto r = Hold(xcb_intern_atom_reply(
        c_, xcb_intern_atom(c_, 0, static_cast<uint16_t>(std::string_view(name).size()), name),
        &ErrorSink()));
    return r ? r->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
  }

  // The property's bytes, empty when the window or the property is missing.
  std::string Property(xcb_window_t w, xcb_atom_t property, xcb_atom_t type) {
    auto r = Hold(xcb_get_property_reply(
        c_, xcb_get_property(c_, 0, w, property, type, 0, 1u << 16), &ErrorSink()));
    if (!r || r->type == XCB_ATOM_NONE) return {};
    const auto* bytes = static_cast<const char*>(xcb_get_property_value(r.get()));
    const int length = xcb_get_property_value_length(r.get());
    return length > 0 ? std::string(bytes, static_cast<size_t>(length)) : std::string();
  }

  std::vector<xcb_window_t> ClientList() {
    const std::string bytes = Property(root_, client_list_, XCB_ATOM_WINDOW);
    std::vector<xcb_window_t> ids(bytes.size() / sizeof(xcb_window_t));
    for (size_t i = 0; i < ids.size(); ++i)
      std::memcpy(&ids[i], bytes.data() + i * sizeof(xcb_window_t), sizeof(xcb_window_t));
    return ids;
  }

  bool HasWindowManager() { return !ClientList().empty(); }

  // No window manager: the mapped children of the root, bottom to top.
  std::vector<xcb_window_t> TreeWindows() {
    std::vector<xcb_window_t> ids;
    auto tree = Hold(xcb_query_tree_reply(c_, xcb_query_tree(c_, root_), &ErrorSink()));
    if (!tree) return ids;
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    const int count = xcb_query_tree_children_length(tree.get());
    for (int i = 0; i < count; ++i) {
      auto a = Hold(xcb_get_window_attributes_reply(c_, xcb_get_window_attributes(c_, children[i]),
                                                    &ErrorSink()));
      if (a && a->map_state == XCB_MAP_STATE_VIEWABLE && !a->override_redirect)
        ids.push_back(children[i]);
    }
    return ids;
  }

  std::string Title(xcb_window_t w) {
    std::string title = Property(w, wm_name_, utf8_);
    if (!title.empty()) return title;
    return Latin1ToUtf8(Property(w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING));
  }

  static std::string Latin1ToUtf8(std::string_view s) {
    std::string out;
    for (const char ch : s) {
      const auto c = static_cast<unsigned char>(ch);
      if (c < 0x80) {
        out += ch;
      } else {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
      }
    }
    return out;
  }

  void SendActivation(xcb_window_t w) {
    xcb_client_message_event_t e{};
    e.response_type = XCB_CLIENT_MESSAGE;
    e.format = 32;
    e.window = w;
    e.type = active_window_;
    e.data.data32[0] = 2;  // from a pager-like tool: the user asked for it
    e.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(c_, 0, root_,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&e));
  }

  xcb_connection_t* c_;
  xcb_window_t root_;
  xcb_atom_t client_list_ = XCB_ATOM_NONE;
  xcb_atom_t active_window_ = XCB_ATOM_NONE;
  xcb_atom_t wm_name_ = XCB_ATOM_NONE;
  xcb_atom_t utf8_ = XCB_ATOM_NONE;
};

}  // namespace

std::unique_ptr<WindowList> SessionWindowList() {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  xcb_connection_t* c = x11 ? x11->connection() : nullptr;
  if (!c) return std::make_unique<UnavailableWindowList>();
  const xcb_setup_t* setup = xcb_get_setup(c);
  const xcb_screen_t* screen = xcb_setup_roots_iterator(setup).data;
  if (!screen) return std::make_unique<UnavailableWindowList>();
  return std::make_unique<X11WindowList>(c, screen->root);
}

}  // namespace tessary
