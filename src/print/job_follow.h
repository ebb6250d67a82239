#pragma once
// What the scheduler says of a job it has accepted, in plain words: whether
// the printer has taken it and what holds it up. PrintJob asks again until it
// knows.

#include <QString>
#include <QStringList>
#include <optional>

typedef struct _http_s http_t;

namespace print {

struct JobTrouble {
    QString reason; // "The printer is out of paper"
    bool waiting;   // true: the job waits for the problem to go; false: it will not print
};

// How long a print run follows its jobs, in total; 30 s unless changed.
int jobFollowLimitMs();
void setJobFollowLimitMs(int ms);

// What the printer's state reasons (printer-state-reasons, "media-needed-
// warning") say to the user, or nothing when none holds a job up. When it
// needs paper and the job names its `paper` ("4x6 glossy photo paper"): "Load
// 4x6 glossy photo paper into the printer".
std::optional<QString> problemInWords(const QStringList& printerStateReasons,
                                      const QString& paper = {});

// One look at job `jobId` on queue `printer`, over `http`.
struct JobLook {
    enum Stage {
        Queued,   // waiting its turn, nothing known to be wrong
        Printing, // being printed, nothing known to be wrong
        Settled,  // taken by the printer, or held up by `trouble`: nothing more to learn
    };
    Stage stage = Settled;
    std::optional<JobTrouble> trouble;
};
JobLook lookAtJob(http_t* http, const QString& printer, int jobId);

} // namespace print
