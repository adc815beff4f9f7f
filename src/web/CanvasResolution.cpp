#include "CanvasResolution.h"

double GetCanvasPixelRatio(double cssWidth, double cssHeight, double devicePixelRatio)
{
    double ratio = devicePixelRatio;
    while (ratio > 1 && cssWidth * ratio * cssHeight * ratio > MAX_CANVAS_PIXELS)
        ratio = ratio / 2 < 1 ? 1 : ratio / 2;
    return ratio;
}
