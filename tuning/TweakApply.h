// The optimize and restore runs' registry work over the user's choices:
// the plans carried out through the program key and the registry access
// layer, one registry operation per step, in the plan's order and in the
// registry view the plan gives the step. Failures are the access layer's: a
// read that fails gives the row's backup default, a write or delete that
// fails changes nothing, and the next step follows all the same.
#pragma once

#include <vector>

#include "tuning/TuningChoices.h"
#include "tuning/TweakPlan.h"

namespace lumora {

// Stopped at any point (the process ended, the power cut), either run leaves
// the program key with the Restore flag and every copy, so that the next
// restore does the whole work again, or without the flag and with nothing
// to lose: no tuned value written yet, or every copy already written back.
// The next optimize run then copies the values in place afresh.

// What the optimize run does to the program key as it starts: it reads the
// Restore flag, then stores the choices. The plan it gives takes the backup
// copies only when the flag was not set.
OptimizePlan StartOptimize(const TuningChoices& choices);

// The optimize run's registry work: the plan's backup copies, then the
// Restore flag, then the rows. Each copy is written to the program key right
// after its value was read.
void ApplyOptimizePlan(const OptimizePlan& plan);

// The restore run's registry work for the choices in force: the copies
// written back and the other values deleted, then the Restore flag deleted,
// then the copies.
void RestoreTuning(const TuningChoices& choices);
void ApplyRestorePlan(const std::vector<RestoreStep>& plan);

}  // namespace lumora
