#include "tests/support/ProcessJob.h"

#include <vector>

namespace lumora::test {

namespace {

JOBOBJECT_BASIC_ACCOUNTING_INFORMATION Accounting(HANDLE job) {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
    QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &info, sizeof(info),
                              nullptr);
    return info;
}

}  // namespace

ProcessJob::ProcessJob() : job_(CreateJobObjectW(nullptr, nullptr)) {}

ProcessJob::~ProcessJob() {
    if (job_ != nullptr) {
        CloseHandle(job_);
    }
}

Started ProcessJob::Start(const std::wstring& commandLine) {
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (job_ == nullptr || !CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE,
                                           CREATE_SUSPENDED, nullptr, nullptr, &startup, &info)) {
        return Started{};
    }
    if (!AssignProcessToJobObject(job_, info.hProcess)) {
        TerminateProcess(info.hProcess, 1);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
        return Started{};
    }
    ResumeThread(info.hThread);
    CloseHandle(info.hThread);
    return Started{info.hProcess, info.dwProcessId};
}

bool ProcessJob::WaitUntilAllEnded(DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (Accounting(job_).ActiveProcesses != 0) {
        if (GetTickCount() - start > timeoutMs) {
            return false;
        }
        Sleep(20);
    }
    return true;
}

DWORD ProcessJob::StartedCount() const {
    return Accounting(job_).TotalProcesses;
}

}  // namespace lumora::test
