#include "ModelStepper.h"

#include "sim/Building.h"

// A simulated day makes about a million passes, each a few hundred small model calls. The
// compiler's size limits keep the steps out of line; folding them whole into the two passes
// saves about a third of the instructions (callgrind, see the README).
#if defined(__GNUC__)
#define FOLD_CALLS __attribute__((flatten))
#else
#define FOLD_CALLS
#endif

namespace {

// One DrawLift's model call, with the fresh outputs DrawLift gives it.
inline void StepOneLift(int32_t liftIndex, int32_t erase, int32_t capacity, int32_t liftPause)
{
    int32_t direction = 0;
    int32_t position = 0;
    int32_t load = 0;
    g_building.StepLift(liftIndex, erase, direction, position, load, capacity, liftPause);
}

// One DrawPerson's model call and its count: whoever reported a wait, drawn or not.
inline void StepOnePerson(int32_t personIndex, int32_t erase, int32_t capacity, int32_t passPause, int32_t temper)
{
    int32_t height = 0;
    Colour colour = COLOUR_GREY;
    int32_t wait = 0;
    g_building.StepPerson(personIndex, erase, height, colour, capacity, passPause, temper, wait);
    if (wait > 0) {
        ++g_waitStats.count;
        g_waitStats.sum += wait;
    }
}

} // namespace

FOLD_CALLS void CModelStepper::RunLiftPass() const
{
    const int32_t capacity = m_scene.m_capacity;
    const int32_t liftPause = m_scene.m_liftPause;
    for (int32_t liftIndex = 0; liftIndex < g_liftCount; ++liftIndex) {
        StepOneLift(liftIndex, 1, capacity, liftPause);
        StepOneLift(liftIndex, 0, capacity, liftPause);
    }
    // What DrawCallButton counts through QueryCall: the lit buttons after every car has moved in
    // this tick. The scene's floor count lies within the tables, so the arrays are read directly,
    // without a branch per button, whose outcome no predictor could guess.
    int32_t calls = 0;
    for (int32_t floor = 1; floor <= m_scene.m_floors; ++floor)
        calls += static_cast<int32_t>(g_building.m_upCalls[floor] > 0) +
                 static_cast<int32_t>(g_building.m_downCalls[floor] > 0);
    g_calls = calls;
}

FOLD_CALLS void CModelStepper::RunPeoplePass() const
{
    const int32_t capacity = m_scene.m_capacity;
    const int32_t passPause = m_scene.m_passPause;
    const int32_t temper = m_scene.m_temper;
    g_waitStats = {0, 0};
    for (int32_t personIndex = 0; personIndex < m_scene.m_people; ++personIndex) {
        StepOnePerson(personIndex, 1, capacity, passPause, temper);
        StepOnePerson(personIndex, 0, capacity, passPause, temper);
    }
}
