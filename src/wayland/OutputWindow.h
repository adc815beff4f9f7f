#pragma once
#include <cairo.h>
#include <wayland-client.h>

#include <cstdint>
#include <memory>

#include "CairoSurface.h"
#include "DrawnArea.h"
#include "runtime/SceneLayout.h"

struct xdg_wm_base;
struct xdg_surface;
struct xdg_toplevel;
struct wp_viewporter;
struct wp_viewport;
struct wp_fractional_scale_manager_v1;
struct wp_fractional_scale_v1;

// The globals a window is made from; the optional ones are null where the compositor has none.
struct WindowGlobals {
    wl_compositor* compositor;
    wl_shm* shm;
    xdg_wm_base* shell;
    wp_viewporter* viewporter;
    wp_fractional_scale_manager_v1* fractionalScale;
};

// One output and the full-screen window that covers it. The scene draws on a canvas in the
// output's real pixels; Present copies what was drawn since, where it differs from what the output
// shows, into whichever of two shared-memory buffers the compositor has released, marks only that
// area damaged and commits. While the compositor has not asked for a new frame (a frame callback
// is pending), nothing is committed; an output it has stopped showing for a while is not drawn on
// at all, and is painted whole when it shows again.
class COutputWindow {
public:
    static constexpr int64_t HIDDEN_AFTER_MS = 500;

    COutputWindow(uint32_t name, wl_output* output);
    ~COutputWindow();
    COutputWindow(const COutputWindow&) = delete;
    COutputWindow& operator=(const COutputWindow&) = delete;

    // Makes the full-screen window on the output.
    void CreateWindow(const WindowGlobals& globals);
    bool HasWindow() const { return m_surface != nullptr; }
    // Asks again for the window to cover its output, in front of whatever the output shows now.
    void AskForFullScreen();
    // The compositor has given the window its size and the canvas exists.
    bool IsReady() const { return m_canvas != nullptr; }
    uint32_t GetName() const { return m_name; }
    wl_surface* GetSurface() const { return m_surface; }
    int32_t GetWidth() const { return m_pixelWidth; }
    int32_t GetHeight() const { return m_pixelHeight; }
    // Output pixels per logical pixel.
    double GetPixelRatio() const;
    CCairoSurface& GetDrawing() { return *m_drawing; }

    // Where the building is drawn on this window, and whether that layout was made for its present
    // pixels (a new size or pixel ratio needs a new one).
    const SceneLayout& GetLayout() const { return m_layout; }
    void SetLayout(const SceneLayout& layout);
    bool IsLaidOut() const;
    // The compositor asked the window to close (a user's close key or button): the saver ends.
    bool IsCloseRequested() const { return m_closeRequested; }

    // The window needs a whole new picture: it is new, has a new size, or shows again.
    bool NeedsPaint() const { return m_needsPaint && IsReady(); }
    void SetPainted() { m_needsPaint = false; }
    // Whether a pass should draw on it now. An output hidden for HIDDEN_AFTER_MS is not drawn on,
    // and remembers to be painted whole when it shows again.
    bool TakeShown(int64_t nowMs);
    // Sends what was drawn since the last call, when the compositor is ready for it; true when it
    // committed.
    bool Present(int64_t nowMs);

private:
    struct Buffer {
        wl_buffer* buffer;
        uint32_t* pixels;
        bool busy;        // the compositor holds it
        CDrawnArea stale; // where it differs from the canvas
    };

    void Resize(int32_t pixelWidth, int32_t pixelHeight);
    void FreeBuffers();
    bool AllocateBuffers(wl_shm* shm);
    void ApplySize();
    static void CopyRects(uint32_t* to, int32_t toStride, const uint32_t* from, int32_t fromStride,
                          const CDrawnArea& area);

    static void OnOutputGeometry(void*, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*,
                                 const char*, int32_t);
    static void OnOutputMode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t);
    static void OnOutputDone(void* data, wl_output*);
    static void OnOutputScale(void* data, wl_output*, int32_t factor);
    static void OnOutputName(void*, wl_output*, const char*) {}
    static void OnOutputDescription(void*, wl_output*, const char*) {}
    static void OnConfigure(void* data, xdg_surface* surface, uint32_t serial);
    static void OnToplevelConfigure(void* data, xdg_toplevel*, int32_t width, int32_t height, wl_array*);
    static void OnToplevelClose(void* data, xdg_toplevel*);
    static void OnToplevelBounds(void*, xdg_toplevel*, int32_t, int32_t) {}
    static void OnPreferredScale(void* data, wp_fractional_scale_v1*, uint32_t scale);
    static void OnBufferRelease(void* data, wl_buffer* buffer);
    static void OnFrameDone(void* data, wl_callback* callback, uint32_t);

    uint32_t m_name; // the registry's name of the output
    wl_output* m_output;
    wl_shm* m_shm;
    wl_compositor* m_compositor;
    wl_surface* m_surface;
    xdg_surface* m_xdgSurface;
    xdg_toplevel* m_toplevel;
    wp_viewport* m_viewport;
    wp_fractional_scale_v1* m_fractionalScale;

    int32_t m_modeWidth, m_modeHeight; // the output's current mode, pixels
    int32_t m_outputScale;             // the output's whole-number scale
    uint32_t m_preferredScale;         // fractional scale in 120ths, 0 when not offered
    int32_t m_logicalWidth, m_logicalHeight;
    bool m_configured;
    int32_t m_pixelWidth, m_pixelHeight;

    cairo_surface_t* m_canvas;
    void* m_canvasMemory; // the canvas's pixels and then the shown picture's; null where cairo allocated the canvas
    size_t m_canvasSize;  // of each
    std::unique_ptr<CCairoSurface> m_drawing;
    CDrawnArea m_pending; // drawn on the canvas, not yet committed
    Buffer m_buffers[2];
    void* m_mapping;
    size_t m_mappingSize;
    bool m_shownValid; // the copy of what the output shows holds the last commit

    bool m_needsPaint;
    bool m_closeRequested;
    SceneLayout m_layout;
    int32_t m_laidOutWidth, m_laidOutHeight; // the canvas the layout was made for; 0 x 0: none
    double m_laidOutRatio;
    wl_callback* m_frame;
    int64_t m_frameRequestedMs;
    bool m_missedPasses; // passes skipped it while hidden
};
