#pragma once
#include "view/Scene.h"

// The frame check's hook, installed only by the savers' test builds: SIGUSR1 freezes the passes
// and writes the scene's whole picture of that moment, drawn afresh into memory, to the file
// $ASCENDA_FRAME_REFERENCE; SIGUSR2 lets the passes run again. The test then compares what the
// screen shows with that file. The handlers only write a byte to a pipe the event loop polls.

// False when the pipe or a handler cannot be set up.
bool InstallFrameFreeze();
// The pipe's end to poll: -1 while the hook is not installed.
int GetFrameFreezeFd();
// Reads the signals that arrived; returns whether the passes are frozen after them.
bool TakeFrameFreezeRequests(bool frozen);
// The scene's DrawWhole on a width x height image, written as a binary PPM whose comment gives
// the corner of the legend's text ("# text X Y"; -1 -1 without one): the text is not compared.
// The file appears whole, under its name, or not at all.
bool WriteFrameReference(CScene& scene, int32_t width, int32_t height);
