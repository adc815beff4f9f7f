#include "app/Configure.h"

// Stands in until the configure sequence is part of the build: configure mode then ends at once.
void RunConfigure()
{
}
