#pragma once

// The signals that stop a Linux saver (SIGTERM, SIGINT, SIGHUP) as a pipe its event loop polls
// beside its display connection: the handler only writes a byte, so the loop ends between passes
// and cleans up. Afterwards EndByStopSignal ends the process by that same signal, as if it had not
// been caught, so that whoever sent it (a screen-saver daemon, an idle manager) sees the saver die
// by its signal, the normal end of a hack. SIGINT or SIGHUP ignored when the program starts (a
// job started with `&` from a script, or under nohup) stays ignored.

// False when the pipe or a handler cannot be set up (errno says why).
bool InstallStopSignals();
// The pipe's end to poll: readable once a stop signal has arrived.
int GetStopSignalFd();
// Raises the stop signal that arrived, with its default action; returns when none did.
void EndByStopSignal();
