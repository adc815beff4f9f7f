#pragma once
#include <windows.h>

#include <vector>

// The monitors as the full-screen saver lays itself out over them, in screen coordinates.
struct MonitorLayout {
    RECT primary;             // from the origin to the primary screen's size
    std::vector<RECT> others; // every other monitor, in the platform's order
};

// The platform's monitors now.
MonitorLayout ListDisplayMonitors();

// Where the saver reads the monitors from; ListDisplayMonitors unless a test puts a display of its
// own in its place.
extern MonitorLayout (*g_listMonitors)();

// The largest rectangle with the picture's aspect that fits target, centred in it. An empty
// picture gives an empty rectangle at target's centre.
RECT FitPicture(int pictureWidth, int pictureHeight, const RECT& target);

// One axis of a part of the picture copied onto its fitted place: picture pixels sourceFrom to
// sourceTo land on fitted pixels targetFrom to targetTo (both counted from the picture's and the
// fitted rectangle's edge).
struct PictureSpan {
    int sourceFrom, sourceTo;
    int targetFrom, targetTo;
};

// The span that holds picture pixels from to to-1 on an axis pictureLength long, fitted into
// fittedLength, widened to whole steps of the two lengths' ratio: there the scaling repeats, so a
// part lands exactly where a copy of the whole picture puts it. Empty when either length is 0.
PictureSpan MapPictureSpan(int from, int to, int pictureLength, int fittedLength);
