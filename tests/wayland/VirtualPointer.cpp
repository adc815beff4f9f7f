// virtual-pointer: gives a headless compositor's seat a pointer, so that its own commands
// ("swaymsg seat - cursor move") reach the windows under it as a user's pointer would. Stays
// until it is killed or the compositor goes. Prints "ready" once the pointer exists.
//
// The protocol's two interfaces are declared here by hand: no package ships their description.
#include <wayland-client.h>

#include <cstdio>
#include <cstring>

namespace {

extern const wl_interface VIRTUAL_POINTER_INTERFACE;

const wl_interface* CREATE_TYPES[] = {&wl_seat_interface, &VIRTUAL_POINTER_INTERFACE};
const wl_message MANAGER_REQUESTS[] = {
    {"create_virtual_pointer", "?on", CREATE_TYPES},
    {"destroy", "", nullptr},
};
const wl_interface MANAGER_INTERFACE = {"zwlr_virtual_pointer_manager_v1", 1, 2, MANAGER_REQUESTS, 0, nullptr};

const wl_interface* NO_TYPES[] = {nullptr, nullptr, nullptr, nullptr, nullptr};
const wl_message POINTER_REQUESTS[] = {
    {"motion", "uff", NO_TYPES},   {"motion_absolute", "uuuuu", NO_TYPES},
    {"button", "uuu", NO_TYPES},   {"axis", "uuf", NO_TYPES},
    {"frame", "", nullptr},        {"axis_source", "u", NO_TYPES},
    {"axis_stop", "uu", NO_TYPES}, {"axis_discrete", "uufi", NO_TYPES},
    {"destroy", "", nullptr},
};
const wl_interface VIRTUAL_POINTER_INTERFACE = {"zwlr_virtual_pointer_v1", 1, 9, POINTER_REQUESTS, 0, nullptr};

struct Globals {
    wl_seat* seat = nullptr;
    wl_proxy* manager = nullptr;
};

void OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t)
{
    auto* globals = static_cast<Globals*>(data);
    if (std::strcmp(interface, "wl_seat") == 0 && globals->seat == nullptr)
        globals->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    if (std::strcmp(interface, MANAGER_INTERFACE.name) == 0)
        globals->manager = static_cast<wl_proxy*>(wl_registry_bind(registry, name, &MANAGER_INTERFACE, 1));
}

void OnGlobalRemove(void*, wl_registry*, uint32_t) {}

} // namespace

int main()
{
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "virtual-pointer: no compositor\n");
        return 1;
    }
    Globals globals;
    static const wl_registry_listener listener = {OnGlobal, OnGlobalRemove};
    wl_registry_add_listener(wl_display_get_registry(display), &listener, &globals);
    wl_display_roundtrip(display);
    if (globals.seat == nullptr || globals.manager == nullptr) {
        std::fprintf(stderr, "virtual-pointer: the compositor has no virtual pointers\n");
        return 1;
    }
    wl_proxy_marshal_constructor(globals.manager, 0, &VIRTUAL_POINTER_INTERFACE, globals.seat, nullptr);
    wl_display_roundtrip(display);
    std::printf("ready\n");
    std::fflush(stdout);
    while (wl_display_dispatch(display) >= 0) {
    }
    return 0;
}
