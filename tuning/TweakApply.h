// Carries out the runs' plans through the registry access layer: one registry
// operation per step, in the plan's order, always with the 64-bit view off.
// Failures are the access layer's: a read that fails gives the row's backup
// default, a write or delete that fails changes nothing, and the next step
// follows all the same.
#pragma once

#include <vector>

#include "tuning/TweakPlan.h"

namespace lumora {

// Stopped at any point (the process ended, the power cut), either run leaves
// the program key with the Restore flag and every copy, so that the next
// restore does the whole work again, or without the flag and with nothing
// to lose: no tuned value written yet, or every copy already written back.
// The next optimize run then copies the values in place afresh.

// The optimize run's registry work: the backup copies unless the program key
// holds them already (its Restore flag, as read when the run started), then
// the Restore flag, then the rows. Each copy is written to the program key
// right after its value was read.
void ApplyOptimizePlan(const OptimizePlan& plan, bool copiesKept);

// The restore run's registry work: the copies written back and the other
// values deleted, then the Restore flag deleted, then the copies.
void ApplyRestorePlan(const std::vector<RestoreStep>& plan);

}  // namespace lumora
