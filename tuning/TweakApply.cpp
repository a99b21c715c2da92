#include "tuning/TweakApply.h"

#include "registry/CustomRegistry.h"
#include "registry/ProgramKey.h"

namespace lumora {

namespace {

namespace pk = program_key;

// The access layer's 64-bit-view flag for a view that the plan chose.
bool Use64BitView(RegistryView view) {
    return view == RegistryView::Native;
}

// Saves a row's value in the program key, read with the row's backup default.
// Kept rows are in the program's own view, as the program key is.
void TakeCopy(const TweakRow& row) {
    const TweakKey& key = row.key;
    const bool use64BitView = Use64BitView(RegistryView::Program);
    if (row.value.type == TweakType::String) {
        pk::WriteTextCopy(
            row.name, ReadRegString(key.root, key.path, row.name, row.backup.text, use64BitView));
    } else {
        pk::WriteNumberCopy(row.name, ReadRegInteger(key.root, key.path, row.name,
                                                     row.backup.number, use64BitView));
    }
}

// Writes a row's copy back to the row, read with the row's backup default.
void WriteBackCopy(const TweakRow& row, RegistryView view) {
    const TweakKey& key = row.key;
    if (row.value.type == TweakType::String) {
        WriteRegString(key.root, key.path, row.name, pk::ReadTextCopy(row.name, row.backup.text),
                       Use64BitView(view));
    } else {
        WriteRegInteger(key.root, key.path, row.name,
                        pk::ReadNumberCopy(row.name, row.backup.number), Use64BitView(view));
    }
}

void Write(const TweakWrite& write) {
    const TweakKey& key = write.row->key;
    const wchar_t* const name = write.row->name;
    const TweakData& data = write.data;
    const bool use64BitView = Use64BitView(write.view);
    switch (data.type) {
        case TweakType::String:
            WriteRegString(key.root, key.path, name, data.text, use64BitView);
            break;
        case TweakType::Dword:
            WriteRegInteger(key.root, key.path, name, data.number, use64BitView);
            break;
        case TweakType::Binary:
            WriteRegBinary(key.root, key.path, name, data.bytes, use64BitView);
            break;
    }
}

}  // namespace

OptimizePlan StartOptimize(const TuningChoices& choices) {
    const bool copiesKept = pk::ReadRestoreFlag();
    pk::WriteChoices({choices.connectionType, choices.processorType, choices.speedSetting});
    return PlanOptimize(choices, copiesKept ? BackupCopies::Kept : BackupCopies::Take);
}

void ApplyOptimizePlan(const OptimizePlan& plan) {
    for (const TweakRow* row : plan.backupCopies) {
        TakeCopy(*row);
    }
    // The flag that says copies exist is written only once all copies are
    // stored.
    pk::SetRestoreFlag();
    for (const TweakWrite& write : plan.writes) {
        Write(write);
    }
}

void RestoreTuning(const TuningChoices& choices) {
    ApplyRestorePlan(PlanRestore(choices.osIndex, choices.connectionType, choices.windowsWidth));
}

void ApplyRestorePlan(const std::vector<RestoreStep>& plan) {
    for (const RestoreStep& step : plan) {
        switch (step.action) {
            case RestoreAction::WriteBackCopy:
                WriteBackCopy(*step.row, step.view);
                break;
            case RestoreAction::DeleteValue:
                DeleteRegValue(step.row->key.root, step.row->key.path, step.row->name,
                               Use64BitView(step.view));
                break;
            case RestoreAction::DeleteCopy:
                break;  // below, once the flag is gone
        }
    }
    // The flag goes only once the values are back, and before the copies: a
    // restore ended anywhere loses no original.
    pk::DeleteRestoreFlag();
    for (const RestoreStep& step : plan) {
        if (step.action == RestoreAction::DeleteCopy) {
            pk::DeleteCopy(step.row->name);
        }
    }
}

}  // namespace lumora
