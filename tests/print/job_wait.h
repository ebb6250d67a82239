#pragma once
// Waiting in a test for a print job to finish, the screen's event loop running.

#include "print/print_job.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace testjob {

// Waits for `job` (started) to report; true when it did in time.
inline bool waitFor(print::PrintJob* job, int ms = 60000) {
    if (!job)
        return false;
    QSignalSpy finished(job, &print::PrintJob::finished);
    return finished.wait(ms);
}

// Starts `job` and waits for its summary.
inline print::PrintSummary run(print::PrintJob& job, int ms = 60000) {
    print::PrintSummary summary;
    QObject::connect(&job, &print::PrintJob::finished,
                     [&summary](const print::PrintSummary& s) { summary = s; });
    QSignalSpy finished(&job, &print::PrintJob::finished);
    job.start();
    EXPECT_TRUE(finished.wait(ms));
    return summary;
}

} // namespace testjob
