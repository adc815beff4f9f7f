#pragma once
#include <cstdint>
#include <memory>

#include "CanvasSurface.h"
#include "PageOptions.h"
#include "runtime/ImageSurface.h"
#include "runtime/PassScheduler.h"
#include "view/Scene.h"

// The saver on the page's canvas: the scene's three passes with their periods, which like window
// timers fire late rather than in bursts, and a repaint after every size or setting change.
//
// The passes share one browser timer and run grouped (see CPassScheduler): the browser then makes
// one frame of the canvas for passes that fall due close together, and a frame costs it far more
// than the drawing does. With no scale given the building is fitted to the canvas again on every
// size or setting change; a scale given in the address or the panel is kept.
class CWebSaver {
public:
    // Runs the scene with these options on Module.canvas, whose element `selector` names, and
    // follows the browser window's size from now on.
    CWebSaver(const char* selector, const CDisplayOptions& options);
    CWebSaver(const CWebSaver&) = delete;
    CWebSaver& operator=(const CWebSaver&) = delete;

    // The element's size or the device pixel ratio may have changed: the canvas takes the
    // element's size in device pixels, so that it is sharp on dense screens (up to a 4K screen's
    // pixels: see GetCanvasPixelRatio), and the new size reaches the scene as a window's size
    // message does, followed by a repaint.
    void OnSize();
    // One setting from the page's panel, in the address's form. When it is taken, it reaches the
    // scene through the setter the settings dialog's preview uses, and the view is repainted.
    bool Set(const char* name, const char* value);
    const CDisplayOptions& GetOptions() const { return m_options; }
    // The frame check's hook: frozen, the passes wait and the scene's whole picture of that
    // moment is drawn afresh into memory, for the test to compare with the canvas.
    void Freeze(bool frozen);
    const CImageSurface* GetReference() const { return m_reference.get(); }

private:
    void Apply(PageSetter setter);
    // Starts the pass's schedule again with this period, as SetTimer does for a window.
    void SetTimer(Pass pass, int32_t period);
    // The canvas's size and font, and the scale: fitted, or as given.
    void ApplySize();
    // Tells the page where the building lies (see CCanvasSurface::ShowExtent).
    void ShowExtent();
    // The legend line's size in the canvas's font as it is now.
    void MeasureLegend(int32_t& width, int32_t& height) const;
    void Repaint();
    // Runs the passes that are due and sets the browser timer for the next one.
    void RunDuePasses();
    static void OnTimer(void* saver);

    char m_selector[64]; // a copy: the caller's text lives only as long as its call
    CDisplayOptions m_options;
    CScene m_scene;
    CCanvasSurface m_surface;
    CPassScheduler m_scheduler;
    long m_browserTimer; // 0: none set
    int32_t m_width;
    int32_t m_height;
    double m_canvasRatio; // canvas pixels per CSS pixel (see GetCanvasPixelRatio)
    double m_textScale;   // device pixels per canvas pixel: above 1, the legend is drawn on a layer of its own
    bool m_frozen;
    std::unique_ptr<CImageSurface> m_reference; // of the last freeze
};
