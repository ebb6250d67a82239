#include "print/print_job.h"

#include "print/cups_printer.h"
#include "print/job_follow.h"

#include <QDeadlineTimer>
#include <QThread>
#include <algorithm>
#include <utility>

namespace print {

namespace {

constexpr int kPollMs = 150;
// A job that has been printing this long with no complaint from the printer
// has been taken.
constexpr int kSettleMs = 3000;

// The sheets with the same trouble in one sentence: "The printer is out of
// paper: the 5x7 and 3.5x5 sheets are waiting."; a single print is "the 4x6
// print".
QStringList sentences(const std::vector<std::pair<JobTrouble, QStringList>>& troubles,
                      bool single) {
    QStringList said;
    for (const auto& [trouble, captions] : troubles) {
        const bool one = captions.size() == 1;
        const QString sheets =
            one ? QStringLiteral("the %1 %2").arg(captions[0], single ? "print" : "sheet")
                : QStringLiteral("the %1 and %2 sheets")
                      .arg(captions.mid(0, captions.size() - 1).join(", "), captions.last());
        said << QStringLiteral("%1: %2 %3.")
                    .arg(trouble.reason, sheets,
                         trouble.waiting ? (one ? "is waiting" : "are waiting") : "did not print");
    }
    return said;
}

} // namespace

PrintJob::PrintJob(std::unique_ptr<SheetTarget> target, std::vector<SheetOrder> sheets,
                   QObject* parent)
    : QObject(parent), m_target(std::move(target)), m_sheets(std::move(sheets)),
      m_total(sheetCount(m_sheets)) {}

PrintJob::~PrintJob() {
    cancel();
    if (m_worker) {
        m_worker->wait();
        delete m_worker;
    }
}

void PrintJob::start() {
    if (m_worker)
        return;
    m_worker = QThread::create([this] { run(); });
    m_worker->start();
}

void PrintJob::cancel() {
    m_cancel = true;
}

// On the worker. The signals are queued to the job's own thread; one that
// is still queued when the job goes is dropped with it.
void PrintJob::run() {
    PrintSummary summary = sendSheets(*m_target, m_sheets, &m_cancel, [this](int done) {
        QMetaObject::invokeMethod(
            this, [this, done] { emit progress(done, m_total); }, Qt::QueuedConnection);
    });
    follow(summary);
    QMetaObject::invokeMethod(
        this, [this, summary] { emit finished(summary); }, Qt::QueuedConnection);
}

// Asks the scheduler about each accepted job until the printer has taken it,
// something holds it up, or jobFollowLimitMs() has passed for the whole run.
void PrintJob::follow(PrintSummary& summary) {
    const QDeadlineTimer deadline(jobFollowLimitMs());
    std::vector<std::pair<JobTrouble, QStringList>> troubles;
    for (const PrintSummary::Job& job : summary.jobs) {
        Http http = connectToScheduler();
        QDeadlineTimer settled = QDeadlineTimer::Forever;
        std::optional<JobTrouble> trouble;
        while (http && !m_cancel) {
            // The scheduler needs a moment for the job anyway.
            QThread::msleep(kPollMs);
            const JobLook look = lookAtJob(http.get(), job.printer, job.id);
            if (look.stage == JobLook::Settled) {
                trouble = look.trouble;
                break;
            }
            if (look.stage == JobLook::Printing && settled.isForever())
                settled.setRemainingTime(kSettleMs);
            if (settled.hasExpired() || deadline.hasExpired())
                break; // taken, or still queued behind other jobs with nothing wrong known
        }
        if (!trouble)
            continue;
        auto same = std::find_if(troubles.begin(), troubles.end(), [&](const auto& t) {
            return t.first.reason == trouble->reason && t.first.waiting == trouble->waiting;
        });
        if (same == troubles.end())
            troubles.push_back({*trouble, {job.caption}});
        else
            same->second << job.caption;
    }
    const bool single = summary.jobs.size() == 1 && summary.jobs.front().single;
    summary.troubles << sentences(troubles, single);
}

} // namespace print
