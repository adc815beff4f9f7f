#pragma once
#include <cstdint>

#include "PassScheduler.h"

class CScene;
class CSurface;

// Where one window draws the building: the scene's process-wide scale, screen factor and
// origins, as a fit and a paint of that window leave them.
struct SceneLayout {
    int32_t scale;
    int32_t screenFactor;
    int32_t originX;
    int32_t originY;
};

SceneLayout GetSceneLayout();
void ApplySceneLayout(const SceneLayout& layout);

// A surface and the layout it is drawn with.
struct LayoutTarget {
    SceneLayout layout;
    CSurface* surface;
};

// Runs one of the scene's passes on several windows, each drawn in its own layout, while the
// model steps once: the passes step the model as they draw, so before each further window the
// state the pass began with (the records, the random source, the pass counters and the scene's
// brush) is put back, and every window sees the very same steps. With no target the pass still
// runs, drawing nowhere.
void RunScenePassOnEach(CScene& scene, Pass pass, const LayoutTarget* targets, int count);

class CFrameRate;
// RunDuePasses for several windows in their own layouts: each due pass through RunScenePassOnEach,
// the --fps line on each window.
void RunDuePassesOnEach(CPassScheduler& scheduler, CScene& scene, const LayoutTarget* targets, int count,
                        CFrameRate* frameRate, bool showFrameRate, int64_t nowMs);
