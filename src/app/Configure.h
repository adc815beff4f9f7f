#pragma once

// The configure sequence: version bookkeeping, greeting, monthly reminder, then the main settings
// dialog; returns when that dialog has closed.
void RunConfigure();
