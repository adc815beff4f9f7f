#pragma once

// The most pixels the page's canvas holds: a 4K screen's. The browser's cost of a frame follows
// the canvas's pixels, and a canvas of a 4K screen at pixel ratio 2 would hold four times as many
// as that screen shows any detail of the building with.
constexpr double MAX_CANVAS_PIXELS = 3840.0 * 2160.0;

// Canvas pixels per CSS pixel for a canvas element of this CSS size on a screen of this device
// pixel ratio: the device's own ratio, so that the building is sharp on dense screens, unless the
// canvas would then hold more than MAX_CANVAS_PIXELS. Then the ratio is halved until it fits, so
// that the browser enlarges the canvas by a whole factor and every box's edge stays sharp; but it
// is never less than one canvas pixel per CSS pixel.
double GetCanvasPixelRatio(double cssWidth, double cssHeight, double devicePixelRatio);
