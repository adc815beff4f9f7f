#include "SaverApp.h"

// The one application object, made before the entry point runs.
CSaverApp g_theApp;
