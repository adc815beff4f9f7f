// virtual-pointer: gives a headless compositor's seat a pointer, so that its own commands
// ("swaymsg seat - cursor move") reach the windows under it as a user's pointer would. Stays
// until it is killed or the compositor goes. Prints "ready" once the pointer exists.
//
// virtual-pointer move DX DY, or virtual-pointer wheel STEPS: one movement or wheel turn of a
// pointer of its own, then it ends. Unlike the compositor's commands, this is input from a
// device, which the compositor counts as the user's activity (an idle daemon hears of it).
//
// The protocol's two interfaces are declared here by hand: no package ships their description.
#include <wayland-client.h>

#include <cstdio>
#include <cstdlib>
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

// The protocol's requests by their place in its description.
enum Request { MOTION = 0, AXIS = 3, FRAME = 4, AXIS_SOURCE = 5, AXIS_DISCRETE = 7 };
constexpr uint32_t AXIS_VERTICAL = 0;
constexpr uint32_t SOURCE_WHEEL = 0;
constexpr double WHEEL_STEP = 15.0; // what one notch scrolls, as libinput reports it

void Act(wl_proxy* pointer, const char* action, int argc, char** argv)
{
    if (std::strcmp(action, "move") == 0 && argc == 4) {
        wl_proxy_marshal(pointer, MOTION, 0u, wl_fixed_from_double(std::atof(argv[2])),
                         wl_fixed_from_double(std::atof(argv[3])));
    } else if (std::strcmp(action, "wheel") == 0 && argc == 3) {
        const int steps = std::atoi(argv[2]);
        wl_proxy_marshal(pointer, AXIS_SOURCE, SOURCE_WHEEL);
        wl_proxy_marshal(pointer, AXIS_DISCRETE, 0u, AXIS_VERTICAL, wl_fixed_from_double(steps * WHEEL_STEP), steps);
    } else {
        std::fprintf(stderr, "usage: virtual-pointer [move DX DY | wheel STEPS]\n");
        std::exit(2);
    }
    wl_proxy_marshal(pointer, FRAME);
}

int main(int argc, char** argv)
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
    wl_proxy* pointer =
        wl_proxy_marshal_constructor(globals.manager, 0, &VIRTUAL_POINTER_INTERFACE, globals.seat, nullptr);
    wl_display_roundtrip(display);
    if (argc > 1) {
        Act(pointer, argv[1], argc, argv);
        wl_display_roundtrip(display);
        return 0;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    while (wl_display_dispatch(display) >= 0) {
    }
    return 0;
}
