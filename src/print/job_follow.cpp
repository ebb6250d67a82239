#include "print/job_follow.h"

#include "print/paper_memory.h"
#include "print/printer_options.h"

#include <QStringList>
#include <cups/cups.h>
#include <iterator>
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
    bool needsPaper = false; // the words then name the paper the job wants
};
constexpr Reason kPrinterReasons[] = {
    {"media-empty", "The printer is out of paper", true},
    {"media-needed", "The printer is out of paper", true},
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
    static const char* const jobKeys[] = {"job-state", "job-state-reasons", "media-col", "media"};
    static const char* const printerKeys[] = {"printer-state", "printer-state-reasons"};
    if (jobId > 0)
        ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                      std::size(jobKeys), nullptr, jobKeys);
    else
        ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                      std::size(printerKeys), nullptr, printerKeys);
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

// The paper the job asks for, in the user's words ("4x6 glossy photo
// paper"); empty when it names none.
QString jobPaper(ipp_t* job) {
    QString size, type;
    if (ipp_attribute_t* col = ippFindAttribute(job, "media-col", IPP_TAG_BEGIN_COLLECTION)) {
        ipp_t* media = ippGetCollection(col, 0);
        if (ipp_attribute_t* s = ippFindAttribute(media, "media-size", IPP_TAG_BEGIN_COLLECTION)) {
            ipp_t* dims = ippGetCollection(s, 0);
            const pwg_media_t* named = pwgMediaForSize(
                ippGetInteger(ippFindAttribute(dims, "x-dimension", IPP_TAG_INTEGER), 0),
                ippGetInteger(ippFindAttribute(dims, "y-dimension", IPP_TAG_INTEGER), 0));
            if (named && named->pwg)
                size = sizeInWords(QString::fromUtf8(named->pwg));
        }
        if (ipp_attribute_t* t = ippFindAttribute(media, "media-type", IPP_TAG_ZERO))
            type = ourCaption("media-type", QString::fromUtf8(ippGetString(t, 0, nullptr)));
    } else if (ipp_attribute_t* m = ippFindAttribute(job, "media", IPP_TAG_ZERO)) {
        size = sizeInWords(QString::fromUtf8(ippGetString(m, 0, nullptr)));
    }
    if (size.isEmpty() && type.isEmpty())
        return {};
    return QStringList{size, type.isEmpty() ? QStringLiteral("paper") : type.toLower()}
        .join(' ')
        .trimmed();
}

// What the printer reports, in the user's words, naming the job's paper
// when it needs paper; a stopped printer says so.
std::optional<QString> printerProblem(ipp_t* printer, const QString& paper) {
    if (auto words = problemInWords(keywords(printer, "printer-state-reasons"), paper))
        return words;
    if (ippGetInteger(ippFindAttribute(printer, "printer-state", IPP_TAG_ENUM), 0) ==
        IPP_PSTATE_STOPPED)
        return QStringLiteral("The printer is stopped");
    return std::nullopt;
}

} // namespace

std::optional<QString> problemInWords(const QStringList& printerStateReasons,
                                      const QString& paper) {
    QStringList reasons;
    for (QString r : printerStateReasons) {
        if (r.endsWith("-report"))
            continue; // information only
        for (const char* ending : {"-error", "-warning"})
            if (r.endsWith(QLatin1String(ending)))
                r.chop(qsizetype(strlen(ending)));
        reasons << r;
    }
    for (const Reason& known : kPrinterReasons)
        if (reasons.contains(QLatin1String(known.keyword)))
            return known.needsPaper && !paper.isEmpty()
                       ? QStringLiteral("Load %1 into the printer").arg(paper)
                       : QString::fromUtf8(known.words);
    return std::nullopt;
}

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
    const std::optional<QString> problem = printerProblem(queue.get(), jobPaper(job.get()));
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
