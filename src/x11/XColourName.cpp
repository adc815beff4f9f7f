#include "XColourName.h"

#include <cstdio>

#include "options/ColourNames.h"

bool ReadXColour(Display* display, const char* text, Colour& colour)
{
    if (text == nullptr)
        return false;
    if (ParseColour(text, colour))
        return true;
    // The server's database has each name with single spaces only.
    char name[128];
    XColor exact{};
    if (XParseColor(display, DefaultColormap(display, DefaultScreen(display)), TidyColourName(text, name, sizeof name),
                    &exact) == 0)
        return false;
    // Xlib gives 16 bits a channel; the scene keeps 8.
    colour = MakeColour(exact.red >> 8, exact.green >> 8, exact.blue >> 8);
    return true;
}

void ResolveBackColour(Display* display, CSaverOptions& options)
{
    if (options.m_backColourName == nullptr || ReadXColour(display, options.m_backColourName, options.m_backColour))
        return;
    char warning[160];
    FormatColourWarning("ascenda", options.m_backColourName, warning, sizeof warning);
    std::fprintf(stderr, "%s\n", warning);
}
