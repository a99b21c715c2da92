// What a run does to the registry for the choices it was started with: which
// catalogue rows an optimize run copies and writes, with which values, and
// which rows a restore run writes back or deletes, each in the run's order.
// No registry access here; TweakApply.h carries the plans out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tuning/TweakCatalogue.h"

namespace lumora {

// The main window's selections at the moment a run starts its registry work.
struct TuningChoices {
    std::int32_t osIndex;          // ConvertWindowsVersion of the edition item
    std::int32_t connectionIndex;  // item of the connection list
    std::int32_t speedSetting;     // track bar position
};

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
};

struct OptimizePlan {
    // Rows whose current values a run that finds no copies in the program key
    // saves there, in this order, before it writes anything.
    std::vector<const TweakRow*> backupCopies;
    // Rows written, in this order, with their values.
    std::vector<TweakWrite> writes;
};

OptimizePlan PlanOptimize(const TuningChoices& choices);

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
};

// The restore run's steps, in order: the values given back or deleted, then
// the copies deleted. Its conditions are evaluated on the choices in force at
// the restore, not on those of the optimize run.
std::vector<RestoreStep> PlanRestore(std::int32_t osIndex, std::int32_t connectionIndex);

}  // namespace lumora
