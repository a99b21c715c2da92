// What a run does to the registry for the choices it was started with: which
// catalogue rows an optimize run copies and writes, with which values, and
// which rows a restore run writes back or deletes, each in the run's order.
// No registry access here; TweakApply.h carries the plans out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tuning/TuningChoices.h"
#include "tuning/TweakCatalogue.h"

namespace lumora {

// A value as it is written: text, 32-bit integer or raw bytes, by type.
struct TweakData {
    TweakType type;
    std::wstring text;
    std::int32_t number;
    std::vector<std::uint8_t> bytes;
};

struct TweakWrite {
    const TweakRow* row;
    TweakData data;
    RegistryView view;  // TweakView of the row's key
};

// Whether an optimize run takes backup copies: only when the program key holds
// none yet (its Restore flag is not set).
enum class BackupCopies { Take, Kept };

struct OptimizePlan {
    // Rows whose current values the run saves in the program key, in this
    // order, before it writes anything; none when the copies are kept. Kept
    // rows are all in the program's own view.
    std::vector<const TweakRow*> backupCopies;
    // Rows written, in this order, with their values and views.
    std::vector<TweakWrite> writes;
};

OptimizePlan PlanOptimize(const TuningChoices& choices, BackupCopies copies = BackupCopies::Take);

// The value an optimize run writes to a row.
TweakData DataToWrite(const TweakRow& row, std::int32_t speedSetting);

enum class RestoreAction {
    WriteBackCopy,  // read the row's copy from the program key, write it to the row
    DeleteCopy,     // delete the row's copy from the program key
    DeleteValue,    // delete the row's value from its key
};

struct RestoreStep {
    RestoreAction action;
    const TweakRow* row;
    RegistryView view;  // of the row's value; copies are in the program key's view
};

// The restore run's steps, in order: the values given back or deleted, then
// the copies deleted. Its conditions are evaluated on the choices in force at
// the restore, not on those of the optimize run. A value deleted in the
// native view is deleted from the program's own view right after it: earlier
// versions of the program wrote it there.
std::vector<RestoreStep> PlanRestore(std::int32_t osIndex, std::int32_t connectionType,
                                     WindowsWidth width = WindowsWidth::Bits32);

}  // namespace lumora
