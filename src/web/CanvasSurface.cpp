#include "CanvasSurface.h"

#include <emscripten/emscripten.h>

// The scene draws on an OffscreenCanvas that the page's canvas element shows. Its frames go to
// the browser's compositor directly, with no style, layout, paint and commit of the page for each
// of the ten or so frames a second: that halves the renderer's work. A browser without it draws on
// the element itself. The context is opaque: the page behind never shows through.
EM_JS(void, CanvasStart, (), {
    const canvas = Module.canvas;
    Module.sceneCanvas = canvas.transferControlToOffscreen ? canvas.transferControlToOffscreen() : canvas;
    Module.sceneContext = Module.sceneCanvas.getContext('2d', {alpha : false});
    // The lines the legend takes: one, or where it is wider than the canvas less a margin (the
    // legend starts a few pixels in, at a 67th of the screen factor's width at most), as many as
    // its bars need, each indented as the first.
    Module.sceneLines = function(text)
    {
        const context = Module.sceneContext;
        const room = Module.sceneCanvas.width * 0.97;
        if (context.measureText(text).width <= room)
            return [text];
        const indent = text.slice(0, text.length - text.trimStart().length);
        const lines = [];
        for (const part of text.trim().split(' | ')) {
            const last = lines.length - 1;
            if (last >= 0 && context.measureText(lines[last] + ' | ' + part).width <= room)
                lines[last] += ' | ' + part;
            else
                lines.push(indent + part);
        }
        return lines;
    };
    // The same text again, on a layer of its own over the canvas at the device's resolution, where
    // the canvas has fewer pixels than the screen: the box at (x, y) of the canvas's pixels.
    Module.drawTextLayer = function(x, y, lines, width, textRgb, backRgb)
    {
        let layer = Module.legendLayer;
        if (!layer) {
            layer = document.createElement('canvas');
            layer.setAttribute('aria-hidden', 'true');
            layer.style.cssText = 'position: fixed; pointer-events: none;';
            Module.canvas.after(layer);
            Module.legendLayer = layer;
        }
        const scale = Module.sceneTextScale;
        const ratio = Module.sceneRatio;
        const lineHeight = Module.sceneLineHeight;
        const box = Module.canvas.getBoundingClientRect();
        layer.style.left = (box.left + x / ratio) + 'px';
        layer.style.top = (box.top + y / ratio) + 'px';
        layer.style.width = (Math.ceil(width) / ratio) + 'px';
        layer.style.height = (lineHeight * lines.length / ratio) + 'px';
        layer.width = Math.round(Math.ceil(width) * scale);
        layer.height = Math.round(lineHeight * lines.length * scale);
        const context = layer.getContext('2d', {alpha : false});
        context.font = (parseFloat(Module.sceneContext.font) * scale) + 'px monospace';
        context.textBaseline = 'top';
        context.fillStyle = '#' + (0x1000000 + backRgb).toString(16).slice(1);
        context.fillRect(0, 0, layer.width, layer.height);
        context.fillStyle = '#' + (0x1000000 + textRgb).toString(16).slice(1);
        for (let index = 0; index < lines.length; ++index)
            context.fillText(lines[index], 0, lineHeight * scale * index);
        layer.hidden = false;
    };
});

EM_JS(void, CanvasSetSize, (int32_t width, int32_t height, int32_t fontPixels, double ratio, double textScale), {
    const canvas = Module.sceneCanvas;
    if (canvas.width != width || canvas.height != height) {
        canvas.width = width;
        canvas.height = height;
    }
    Module.sceneRatio = ratio;
    Module.sceneTextScale = textScale;
    // Enlarged by a whole factor without smoothing, each box keeps its sharp edges.
    Module.canvas.style.imageRendering = textScale > 1 ? 'pixelated' : "";
    // The legend's layer shows again once the legend is drawn on the new canvas.
    if (Module.legendLayer)
        Module.legendLayer.hidden = true;
    // A new buffer has a new context state, so the font is set each time.
    const context = Module.sceneContext;
    context.font = fontPixels + 'px monospace';
    context.textBaseline = 'top';
    Module.sceneLineHeight = Math.ceil(fontPixels * 1.2);
});

EM_JS(int32_t, CanvasTextWidth, (const char* text, int32_t length), {
    const lines = Module.sceneLines(UTF8ToString(text, length));
    let width = 0;
    for (const line of lines)
        width = Math.max(width, Module.sceneContext.measureText(line).width);
    return Math.ceil(width);
});

EM_JS(int32_t, CanvasTextHeight, (const char* text, int32_t length),
      { return Module.sceneLineHeight * Module.sceneLines(UTF8ToString(text, length)).length; });

EM_JS(void, CanvasShowExtent, (int32_t scale, int32_t screenFactor, int32_t bottom), {
    Module.sceneExtent = {scale : scale, screenFactor : screenFactor, bottom : bottom, ratio : Module.sceneRatio};
    if (Module.onSceneExtent)
        Module.onSceneExtent(Module.sceneExtent);
});

// `rgb` is 0xRRGGBB, the order CSS writes a colour in.
EM_JS(void, CanvasFill, (int32_t left, int32_t top, int32_t width, int32_t height, uint32_t rgb), {
    const context = Module.sceneContext;
    context.fillStyle = '#' + (0x1000000 + rgb).toString(16).slice(1);
    context.fillRect(left, top, width, height);
});

EM_JS(void, CanvasText, (int32_t x, int32_t y, const char* text, int32_t length, uint32_t textRgb, uint32_t backRgb), {
    const context = Module.sceneContext;
    const line = UTF8ToString(text, length);
    const lines = Module.sceneLines(line);
    let width = 0;
    for (const part of lines)
        width = Math.max(width, context.measureText(part).width);
    context.fillStyle = '#' + (0x1000000 + backRgb).toString(16).slice(1);
    context.fillRect(x, y, Math.ceil(width), Module.sceneLineHeight * lines.length);
    context.fillStyle = '#' + (0x1000000 + textRgb).toString(16).slice(1);
    for (let index = 0; index < lines.length; ++index)
        context.fillText(lines[index], x, y + Module.sceneLineHeight * index);
    if (Module.sceneTextScale > 1)
        Module.drawTextLayer(x, y, lines, width, textRgb, backRgb);
    // What the picture says, for screen readers (and whoever cannot read pixels).
    Module.canvas.setAttribute('aria-label', line.trim());
});

namespace {
uint32_t ToRgb(Colour colour)
{
    return (RedOf(colour) << 16) | (GreenOf(colour) << 8) | BlueOf(colour);
}

int32_t Smaller(int32_t a, int32_t b)
{
    return a < b ? a : b;
}

int32_t Larger(int32_t a, int32_t b)
{
    return a > b ? a : b;
}
} // namespace

CCanvasSurface::CCanvasSurface()
{
    CanvasStart();
}

void CCanvasSurface::MeasureText(const char* text, int32_t length, int32_t& width, int32_t& height)
{
    width = CanvasTextWidth(text, length);
    height = CanvasTextHeight(text, length);
}

void CCanvasSurface::ShowExtent(int32_t scale, int32_t screenFactor, int32_t bottom)
{
    CanvasShowExtent(scale, screenFactor, bottom);
}

void CCanvasSurface::SetSize(int32_t width, int32_t height, int32_t fontPixels, double ratio, double textScale)
{
    CanvasSetSize(width, height, fontPixels, ratio, textScale);
}

void CCanvasSurface::DrawPolygon(const BrushDescription& brush, const DevicePoint corners[4])
{
    // The scene's polygons are upright boxes. Filled and outlined, a box covers its corners
    // inclusive: one pixel more each way than the corners' differences.
    int32_t left = corners[0].x, right = corners[0].x, top = corners[0].y, bottom = corners[0].y;
    for (int index = 1; index < 4; ++index) {
        left = Smaller(left, corners[index].x);
        right = Larger(right, corners[index].x);
        top = Smaller(top, corners[index].y);
        bottom = Larger(bottom, corners[index].y);
    }
    CanvasFill(left, top, right - left + 1, bottom - top + 1, ToRgb(brush.colour));
}

void CCanvasSurface::DrawLine(const BrushDescription& brush, DevicePoint from, DevicePoint to)
{
    // The scene draws upright lines only (boxes too narrow to fill); the end point is left out.
    const int32_t length = Larger(from.y, to.y) - Smaller(from.y, to.y);
    if (from.x != to.x || length == 0)
        return;
    CanvasFill(from.x, from.y < to.y ? from.y : to.y + 1, 1, length, ToRgb(brush.colour));
}

void CCanvasSurface::DrawOpaqueText(int32_t x, int32_t y, const char* text, int32_t length, Colour textColour,
                                    Colour backColour)
{
    CanvasText(x, y, text, length, ToRgb(textColour), ToRgb(backColour));
}

void CCanvasSurface::FillRectangle(int32_t left, int32_t top, int32_t right, int32_t bottom, Colour colour)
{
    if (right <= left || bottom <= top)
        return;
    CanvasFill(left, top, right - left, bottom - top, ToRgb(colour));
}
