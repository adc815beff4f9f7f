#include "SettingsStore.h"

Colour ReadBackColour(CSettingsStore& store)
{
    // Blue first: the order the view has always read them in.
    const uint32_t blue = static_cast<uint32_t>(store.Read(Setting::ColorBlue));
    const uint32_t green = static_cast<uint32_t>(store.Read(Setting::ColorGreen));
    const uint32_t red = static_cast<uint32_t>(store.Read(Setting::ColorRed));
    return MakeColour(red, green, blue);
}

Colour GetDefaultBackColour()
{
    return MakeColour(static_cast<uint32_t>(Setting::ColorRed.defaultValue),
                      static_cast<uint32_t>(Setting::ColorGreen.defaultValue),
                      static_cast<uint32_t>(Setting::ColorBlue.defaultValue));
}

void WriteBackColour(CSettingsStore& store, Colour colour)
{
    store.Write(Setting::ColorRed, static_cast<int32_t>(RedOf(colour)));
    store.Write(Setting::ColorGreen, static_cast<int32_t>(GreenOf(colour)));
    store.Write(Setting::ColorBlue, static_cast<int32_t>(BlueOf(colour)));
}
