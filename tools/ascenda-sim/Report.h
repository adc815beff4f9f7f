#pragma once
#include <cstdio>

#include "RunOptions.h"
#include "Simulation.h"

// The runner's reports. A comparison prints its rows in the order given.
void PrintSummary(std::FILE* out, const CRunOptions& options, const CRunSummary& summary);
void PrintTable(std::FILE* out, const CRunOptions& options, const CRunSummary* rows, int count);
// The summary (table false, one row) or the comparison's rows as one JSON object.
void PrintJson(std::FILE* out, const CRunOptions& options, const CRunSummary* rows, int count, bool table);
