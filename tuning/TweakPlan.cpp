#include "tuning/TweakPlan.h"

#include <cstddef>

namespace lumora {

namespace {

// The restore run's order, as stages over runs of catalogue rows (numbered
// from 1). Every value is given back or deleted before any copy goes, so that
// the copies outlast the work that needs them. The Tcpip parameters'
// KeepAliveTime is deleted with rows 8-27 and then gets its copy back with
// row 30; the connection rows come before the edition rows.
struct RestoreStage {
    RestoreAction action;
    std::size_t first;
    std::size_t last;
};

constexpr RestoreStage kRestoreOrder[] = {
    {RestoreAction::WriteBackCopy, 1, 7},   {RestoreAction::DeleteValue, 8, 27},
    {RestoreAction::WriteBackCopy, 28, 31}, {RestoreAction::DeleteValue, 35, 44},
    {RestoreAction::DeleteValue, 32, 34},   {RestoreAction::DeleteValue, 45, 47},
    {RestoreAction::DeleteCopy, 1, 7},      {RestoreAction::DeleteCopy, 28, 31},
};

bool Applies(const TweakRow& row, std::int32_t osIndex, std::int32_t connectionType) {
    return ConditionHolds(row.condition, osIndex, connectionType);
}

}  // namespace

TweakData DataToWrite(const TweakRow& row, std::int32_t speedSetting) {
    const TweakValue& value = row.value;
    TweakData data{value.type, {}, 0, {}};
    switch (value.type) {
        case TweakType::String:
            data.text = value.text;
            break;
        case TweakType::Dword:
            data.number = IsMaximumBoost(speedSetting) ? value.maximumBoost : value.boost;
            break;
        case TweakType::Binary:
            data.bytes.assign(value.zeroBytes, 0);
            break;
    }
    return data;
}

OptimizePlan PlanOptimize(const TuningChoices& choices, BackupCopies copies) {
    OptimizePlan plan;
    for (const TweakRow& row : Tweaks()) {
        if (copies == BackupCopies::Take && row.backup.kept) {
            plan.backupCopies.push_back(&row);
        }
    }
    for (const TweakRow& row : Tweaks()) {
        if (Applies(row, choices.osIndex, choices.connectionType)) {
            plan.writes.push_back({&row, DataToWrite(row, choices.speedSetting),
                                   TweakView(row.key, choices.windowsWidth)});
        }
    }
    return plan;
}

std::vector<RestoreStep> PlanRestore(std::int32_t osIndex, std::int32_t connectionType,
                                     WindowsWidth width) {
    std::vector<RestoreStep> steps;
    const TweakCatalogue& rows = Tweaks();
    for (const RestoreStage& stage : kRestoreOrder) {
        for (std::size_t number = stage.first; number <= stage.last; ++number) {
            const TweakRow& row = rows.at(number - 1);
            if (!Applies(row, osIndex, connectionType)) {
                continue;
            }
            const RegistryView view = stage.action == RestoreAction::DeleteCopy
                                          ? RegistryView::Program
                                          : TweakView(row.key, width);
            steps.push_back({stage.action, &row, view});
            if (stage.action == RestoreAction::DeleteValue && view == RegistryView::Native) {
                steps.push_back({stage.action, &row, RegistryView::Program});
            }
        }
    }
    return steps;
}

}  // namespace lumora
