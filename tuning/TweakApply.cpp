#include "tuning/TweakApply.h"

#include "registry/CustomRegistry.h"
#include "registry/ProgramKey.h"

namespace lumora {

namespace {

constexpr bool k64BitView = false;
constexpr TweakKey kProgramKey{program_key::kRoot, program_key::kPath};

// Reads a row's value from one key, with the row's backup default, and
// writes it to the same name in another key with the row's type.
void CopyValue(const TweakRow& row, const TweakKey& from, const TweakKey& to) {
    if (row.value.type == TweakType::String) {
        const std::wstring text =
            ReadRegString(from.root, from.path, row.name, row.backup.text, k64BitView);
        WriteRegString(to.root, to.path, row.name, text, k64BitView);
    } else {
        const std::int32_t number =
            ReadRegInteger(from.root, from.path, row.name, row.backup.number, k64BitView);
        WriteRegInteger(to.root, to.path, row.name, number, k64BitView);
    }
}

void Write(const TweakKey& key, const wchar_t* name, const TweakData& data) {
    switch (data.type) {
        case TweakType::String:
            WriteRegString(key.root, key.path, name, data.text, k64BitView);
            break;
        case TweakType::Dword:
            WriteRegInteger(key.root, key.path, name, data.number, k64BitView);
            break;
        case TweakType::Binary:
            WriteRegBinary(key.root, key.path, name, data.bytes, k64BitView);
            break;
    }
}

void Delete(const TweakKey& key, const wchar_t* name) {
    DeleteRegValue(key.root, key.path, name, k64BitView);
}

}  // namespace

void ApplyOptimizePlan(const OptimizePlan& plan, bool copiesKept) {
    if (!copiesKept) {
        for (const TweakRow* row : plan.backupCopies) {
            CopyValue(*row, row->key, kProgramKey);
        }
    }
    WriteRegBool(kProgramKey.root, kProgramKey.path, program_key::kRestore, true, k64BitView);
    for (const TweakWrite& write : plan.writes) {
        Write(write.row->key, write.row->name, write.data);
    }
}

void ApplyRestorePlan(const std::vector<RestoreStep>& plan) {
    for (const RestoreStep& step : plan) {
        switch (step.action) {
            case RestoreAction::WriteBackCopy:
                CopyValue(*step.row, kProgramKey, step.row->key);
                break;
            case RestoreAction::DeleteValue:
                Delete(step.row->key, step.row->name);
                break;
            case RestoreAction::DeleteCopy:
                break;  // below, once the flag is gone
        }
    }
    Delete(kProgramKey, program_key::kRestore);
    for (const RestoreStep& step : plan) {
        if (step.action == RestoreAction::DeleteCopy) {
            Delete(kProgramKey, step.row->name);
        }
    }
}

}  // namespace lumora
