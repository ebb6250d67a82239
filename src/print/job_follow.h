#pragma once
// Following a job after the scheduler has accepted it, until the printer has
// taken it, and saying in plain words what holds it up.

#include <QDeadlineTimer>
#include <QString>
#include <optional>

namespace print {

struct JobTrouble {
    QString reason; // "The printer is out of paper"
    bool waiting;   // true: the job waits for the problem to go; false: it will not print
};

// How long a print run follows its jobs, in total; 30 s unless changed.
int jobFollowLimitMs();
void setJobFollowLimitMs(int ms);

// Follows job `jobId` on queue `printer` until it is completed, has been
// been processing for a moment without trouble, or `deadline` passes. Window events keep flowing
// meanwhile. Nothing when the printer has taken the job or nothing is known to be wrong.
std::optional<JobTrouble> followJob(const QString& printer, int jobId, QDeadlineTimer deadline);

} // namespace print
