// A program started together with everything it starts: the processes
// belong to one job, so a test can wait until all of them have ended and
// then tell whether the program started any other process at all.
#pragma once

#include <windows.h>

#include <string>

#include "tests/support/Process.h"

namespace lumora::test {

class ProcessJob {
  public:
    ProcessJob();
    ~ProcessJob();
    ProcessJob(const ProcessJob&) = delete;
    ProcessJob& operator=(const ProcessJob&) = delete;

    // Starts a program in the job (the program's quoted path first); its
    // process is null when it could not be started or put in the job.
    Started Start(const std::wstring& commandLine);
    // True once no process of the job runs, waiting up to |timeoutMs|.
    bool WaitUntilAllEnded(DWORD timeoutMs);
    // How many processes have belonged to the job, ended ones included.
    DWORD StartedCount() const;

  private:
    HANDLE job_;
};

}  // namespace lumora::test
