#include "tuning/TweakApply.h"

#include "registry/CustomRegistry.h"
#include "registry/ProgramKey.h"

namespace lumora {

namespace {

namespace pk = program_key;

// The tuned values are those of the 32-bit registry view, as the program
// key is.
constexpr bool kUse64BitView = false;

// Saves a row's value in the program key, read with the row's backup default.
void TakeCopy(const TweakRow& row) {
    const TweakKey& key = row.key;
    if (row.value.type == TweakType::String) {
        pk::WriteTextCopy(
            row.name, ReadRegString(key.root, key.path, row.name, row.backup.text, kUse64BitView));
    } else {
        pk::WriteNumberCopy(row.name, ReadRegInteger(key.root, key.path, row.name,
                                                     row.backup.number, kUse64BitView));
    }
}

// Writes a row's copy back to the row, read with the row's backup default.
void WriteBackCopy(const TweakRow& row) {
    const TweakKey& key = row.key;
    if (row.value.type == TweakType::String) {
        WriteRegString(key.root, key.path, row.name, pk::ReadTextCopy(row.name, row.backup.text),
                       kUse64BitView);
    } else {
        WriteRegInteger(key.root, key.path, row.name,
                        pk::ReadNumberCopy(row.name, row.backup.number), kUse64BitView);
    }
}

void Write(const TweakKey& key, const wchar_t* name, const TweakData& data) {
    switch (data.type) {
        case TweakType::String:
            WriteRegString(key.root, key.path, name, data.text, kUse64BitView);
            break;
        case TweakType::Dword:
            WriteRegInteger(key.root, key.path, name, data.number, kUse64BitView);
            break;
        case TweakType::Binary:
            WriteRegBinary(key.root, key.path, name, data.bytes, kUse64BitView);
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
        Write(write.row->key, write.row->name, write.data);
    }
}

void RestoreTuning(const TuningChoices& choices) {
    ApplyRestorePlan(PlanRestore(choices.osIndex, choices.connectionType));
}

void ApplyRestorePlan(const std::vector<RestoreStep>& plan) {
    for (const RestoreStep& step : plan) {
        switch (step.action) {
            case RestoreAction::WriteBackCopy:
                WriteBackCopy(*step.row);
                break;
            case RestoreAction::DeleteValue:
                DeleteRegValue(step.row->key.root, step.row->key.path, step.row->name,
                               kUse64BitView);
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
