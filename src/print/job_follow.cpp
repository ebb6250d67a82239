#include "print/job_follow.h"

#include <QStringList>
#include <cups/cups.h>
#include <memory>

namespace print {

namespace {

int& followLimit() {
    static int ms = 30000;
    return ms;
}

// What the printer reports (printer-state-reasons, without the -error /
// -warning ending), in the user's words. First match wins.
struct Reason {
    const char* keyword;
    const char* words;
};
constexpr Reason kPrinterReasons[] = {
    {"media-empty", "The printer is out of paper"},
    {"media-needed", "The printer is out of paper"},
    {"media-jam", "The paper is jammed in the printer"},
    {"door-open", "A door of the printer is open"},
    {"cover-open", "A cover of the printer is open"},
    {"toner-empty", "The printer is out of toner"},
    {"marker-supply-empty", "The printer is out of ink or toner"},
    {"offline", "The printer is offline"},
    {"paused", "The printer is paused"},
};

struct FreeIpp {
    void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using Ipp = std::unique_ptr<ipp_t, FreeIpp>;

Ipp ask(http_t* http, ipp_op_t op, const QString& printer, int jobId) {
    char uri[1024];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                     "/printers/%s", printer.toUtf8().constData());
    ipp_t* request = ippNewRequest(op);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    if (jobId > 0)
        ippAddInteger(request, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", jobId);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    static const char* const jobKeys[] = {"job-state", "job-state-reasons"};
    static const char* const printerKeys[] = {"printer-state", "printer-state-reasons"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 2, nullptr,
                  jobId > 0 ? jobKeys : printerKeys);
    Ipp response(cupsDoRequest(http, request, "/"));
    if (!response || ippGetStatusCode(response.get()) > IPP_STATUS_OK_CONFLICTING)
        return nullptr;
    return response;
}

QStringList keywords(ipp_t* response, const char* name) {
    QStringList words;
    if (ipp_attribute_t* attr = ippFindAttribute(response, name, IPP_TAG_KEYWORD))
        for (int i = 0; i < ippGetCount(attr); ++i)
            words << QString::fromUtf8(ippGetString(attr, i, nullptr));
    return words;
}

// The first problem the printer reports, in the user's words.
std::optional<QString> printerProblem(ipp_t* printer) {
    QStringList reasons;
    for (QString r : keywords(printer, "printer-state-reasons")) {
        if (r.endsWith("-report"))
            continue; // information only
        for (const char* ending : {"-error", "-warning"})
            if (r.endsWith(QLatin1String(ending)))
                r.chop(qsizetype(strlen(ending)));
        reasons << r;
    }
    for (const Reason& known : kPrinterReasons)
        if (reasons.contains(QLatin1String(known.keyword)))
            return QString::fromUtf8(known.words);
    if (ippGetInteger(ippFindAttribute(printer, "printer-state", IPP_TAG_ENUM), 0) ==
        IPP_PSTATE_STOPPED)
        return QStringLiteral("The printer is stopped");
    return std::nullopt;
}

} // namespace

int jobFollowLimitMs() {
    return followLimit();
}

void setJobFollowLimitMs(int ms) {
    followLimit() = ms;
}

JobLook lookAtJob(http_t* http, const QString& printer, int jobId) {
    Ipp job = ask(http, IPP_OP_GET_JOB_ATTRIBUTES, printer, jobId);
    Ipp queue = ask(http, IPP_OP_GET_PRINTER_ATTRIBUTES, printer, 0);
    if (!job || !queue)
        return {}; // the scheduler went away: nothing more to learn
    const auto state =
        ipp_jstate_t(ippGetInteger(ippFindAttribute(job.get(), "job-state", IPP_TAG_ENUM), 0));
    const std::optional<QString> problem = printerProblem(queue.get());
    switch (state) {
    case IPP_JSTATE_COMPLETED:
        return {};
    case IPP_JSTATE_CANCELED:
        return {JobLook::Settled, JobTrouble{QStringLiteral("The print job was cancelled"), false}};
    case IPP_JSTATE_ABORTED:
        return {
            JobLook::Settled,
            JobTrouble{problem.value_or(QStringLiteral("The printer could not print it")), false}};
    case IPP_JSTATE_HELD:
        return {JobLook::Settled,
                JobTrouble{problem.value_or(QStringLiteral("The print job is on hold")), true}};
    case IPP_JSTATE_STOPPED:
        return {JobLook::Settled,
                JobTrouble{problem.value_or(QStringLiteral("The printer stopped the job")), true}};
    case IPP_JSTATE_PENDING:
    case IPP_JSTATE_PROCESSING:
        break;
    }
    if (problem)
        return {JobLook::Settled, JobTrouble{*problem, true}};
    return {state == IPP_JSTATE_PROCESSING ? JobLook::Printing : JobLook::Queued, std::nullopt};
}

} // namespace print
