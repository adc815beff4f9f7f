// The functions the page calls: start the saver on its canvas, change a setting, and read the
// settings back for the panel and the address.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "WebSaver.h"
#include "input/InputRule.h"

namespace {
CWebSaver* g_saver = nullptr; // one saver per page, for the page's lifetime
char g_text[1024];            // the text the last call returned; the page copies it at once
CInputRule g_inputRule;       // in full screen, in the screen's CSS pixels

CDisplayOptions GetOptions()
{
    return g_saver != nullptr ? g_saver->GetOptions() : CDisplayOptions();
}
} // namespace

extern "C" {

// Starts the saver on the canvas `selector` names, with the settings of the address's query.
// Returns how many parameters were ignored, then those that fit, one a line: "2\nname=value\n...".
EMSCRIPTEN_KEEPALIVE const char* AscendaStart(const char* selector, const char* query)
{
    CDisplayOptions options;
    char ignored[sizeof g_text - 16];
    const int32_t ignoredCount = ParsePageQuery(query, options, ignored, sizeof ignored);
    std::snprintf(g_text, sizeof g_text, "%d\n%s", static_cast<int>(ignoredCount), ignored);
    if (g_saver == nullptr)
        g_saver = new CWebSaver(selector, options);
    return g_text;
}

// One setting from the panel; 1 when it was taken, 0 when the value is not one of its range.
EMSCRIPTEN_KEEPALIVE int AscendaSet(const char* name, const char* value)
{
    return g_saver != nullptr && g_saver->Set(name, value) ? 1 : 0;
}

// The canvas element changed size without the window doing so (the panel opened beside it).
EMSCRIPTEN_KEEPALIVE void AscendaResize()
{
    if (g_saver != nullptr)
        g_saver->OnSize();
}

// The settings, one line each: "name value minimum maximum default". The background colour's
// values are RRGGBB, and its range is every colour.
EMSCRIPTEN_KEEPALIVE const char* AscendaDescribe()
{
    const CDisplayOptions options = GetOptions();
    const CDisplayOptions defaults;
    g_text[0] = '\0';
    size_t used = 0;
    for (int32_t index = 0; index < PAGE_SETTING_COUNT && used < sizeof g_text; ++index) {
        const PageSetting& setting = PAGE_SETTINGS[index];
        char value[16];
        char defaultValue[16];
        FormatPageOption(options, setting, value, sizeof value);
        FormatPageOption(defaults, setting, defaultValue, sizeof defaultValue);
        const int minimum = setting.key != nullptr ? setting.key->minimum : 0;
        const int maximum = setting.key != nullptr ? setting.key->maximum : 0xFFFFFF;
        const int written = std::snprintf(g_text + used, sizeof g_text - used, "%s %s %d %d %s\n", setting.name, value,
                                          minimum, maximum, defaultValue);
        used += written > 0 ? static_cast<size_t>(written) : 0;
    }
    return g_text;
}

// Whether an input event in full screen ends it, by the rule every saver follows. `type` names
// the browser's event ("keydown", "keyup", "pointerdown", "wheel"), or "touch" for a finger.
EMSCRIPTEN_KEEPALIVE int AscendaInputEnds(const char* type)
{
    const struct {
        const char* type;
        UserInput input;
    } inputs[] = {{"keydown", UserInput::KEY_PRESS},
                  {"keyup", UserInput::KEY_RELEASE},
                  {"pointerdown", UserInput::BUTTON},
                  {"wheel", UserInput::WHEEL},
                  {"touch", UserInput::TOUCH}};
    for (const auto& known : inputs) {
        if (std::strcmp(type, known.type) == 0)
            return CInputRule::Ends(known.input) ? 1 : 0;
    }
    return 0;
}

// Whether the pointer at (x, y) in full screen ends it: the first report is where it rests.
EMSCRIPTEN_KEEPALIVE int AscendaPointerEnds(double x, double y)
{
    return g_inputRule.OnPointerAt(x, y) == POINTER_MOVED ? 1 : 0;
}

// Full screen began or ended: the next pointer report is where it rests.
EMSCRIPTEN_KEEPALIVE void AscendaForgetPointer()
{
    g_inputRule.ForgetPointer();
}

// The frame check's hook (tests/frame): 1 freezes the passes and draws the scene's whole picture
// of that moment into memory, 0 lets them run again.
EMSCRIPTEN_KEEPALIVE void AscendaFreeze(int frozen)
{
    if (g_saver != nullptr)
        g_saver->Freeze(frozen != 0);
}

// Row y of the picture the last freeze drew, as RGBA bytes, the canvas's own order; null when
// there is none. The legend's text is not drawn: AscendaReferenceText gives where it starts.
EMSCRIPTEN_KEEPALIVE const uint8_t* AscendaReferenceRow(int y)
{
    static std::vector<Colour> pixels;
    static std::vector<uint8_t> row;
    const CImageSurface* reference = g_saver != nullptr ? g_saver->GetReference() : nullptr;
    if (reference == nullptr || y < 0 || y >= reference->GetHeight())
        return nullptr;
    pixels.resize(static_cast<size_t>(reference->GetWidth()));
    row.resize(pixels.size() * 4);
    reference->ReadRow(y, pixels.data());
    for (size_t x = 0; x < pixels.size(); ++x) {
        row[x * 4] = static_cast<uint8_t>(RedOf(pixels[x]));
        row[x * 4 + 1] = static_cast<uint8_t>(GreenOf(pixels[x]));
        row[x * 4 + 2] = static_cast<uint8_t>(BlueOf(pixels[x]));
        row[x * 4 + 3] = 255;
    }
    return row.data();
}

// "X Y" of the legend's text in that picture, or "-1 -1".
EMSCRIPTEN_KEEPALIVE const char* AscendaReferenceText()
{
    DevicePoint corner{-1, -1};
    const CImageSurface* reference = g_saver != nullptr ? g_saver->GetReference() : nullptr;
    if (reference == nullptr || !reference->GetTextCorner(corner))
        corner = {-1, -1};
    std::snprintf(g_text, sizeof g_text, "%d %d", static_cast<int>(corner.x), static_cast<int>(corner.y));
    return g_text;
}

// The query that shares the current settings as a link ("" for the defaults).
EMSCRIPTEN_KEEPALIVE const char* AscendaQuery()
{
    FormatPageQuery(GetOptions(), g_text, sizeof g_text);
    return g_text;
}
}
