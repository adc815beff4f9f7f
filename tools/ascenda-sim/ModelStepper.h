#pragma once
#include "view/Scene.h"

// The scene's timer passes with the drawing left out. The runner spends most of its time in
// drawing that a null surface throws away, so it steps the model through this instead: the same
// StepLift and StepPerson calls, in the same order and with the same arguments as CScene's passes
// (erase then draw, per lift and per person), and the same legend counters afterwards. The
// button pass only reads the buttons, so it shrinks to counting the lit ones for g_calls.
class CModelStepper {
public:
    // Reads the settings from the scene on every pass, so a setter's change takes effect as in the
    // scene's own passes.
    explicit CModelStepper(const CScene& scene) : m_scene(scene) {}

    void RunLiftPass() const;
    void RunPeoplePass() const;

private:
    const CScene& m_scene;
};
