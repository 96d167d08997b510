#pragma once

#include <cstdint>

// Runs loading steps for about budgetNanoseconds (at least one step while any
// remain), so the loading picture keeps being drawn between the slices.
void RunLoadingSlice(int64_t budgetNanoseconds);
