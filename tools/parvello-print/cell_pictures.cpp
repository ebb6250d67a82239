#include "cell_pictures.h"

#include "pictures/picture_loader.h"
#include "print/layouts.h"
#include "print/printer.h"

#include <QtConcurrent/QtConcurrentMap>
#include <cmath>

namespace cellpictures {

namespace {

// One file and the cells it fills.
struct Job {
    QString file;
    std::vector<size_t> requests;
    QSize largest; // the device pixels the decode must still cover
};

struct Done {
    std::vector<QImage> cells; // one per request of the job
    QString error;
};

// The picture, a JPEG decoded only as large as `atLeast` needs; the reason
// in `error` when there is none.
QImage decode(const QString& file, QSize atLeast, QString* error) {
    const std::optional<QByteArray> bytes = pictureloader::readFile(file, error);
    if (!bytes)
        return {};
    LoadedPicture loaded = pictureloader::decodeCovering(file, *bytes, atLeast);
    *error = loaded.error;
    return std::move(loaded.image);
}

} // namespace

std::optional<std::vector<QImage>> prepare(const std::vector<Request>& requests, int dpi,
                                           const print::CellOptions& options, QString* error) {
    std::vector<Job> jobs;
    for (size_t i = 0; i < requests.size(); ++i) {
        auto job = std::find_if(jobs.begin(), jobs.end(),
                                [&](const Job& j) { return j.file == requests[i].file; });
        if (job == jobs.end())
            job = jobs.insert(jobs.end(), Job{requests[i].file, {}, {}});
        job->requests.push_back(i);
        const QSize pixels = print::cellPixels(requests[i].twips, dpi);
        job->largest = job->largest.expandedTo(pixels);
        // A picture that may be turned must cover the cell either way round.
        if (options.fill != imaging::FillMode::Stretch && options.turnToFit)
            job->largest = job->largest.expandedTo(pixels.transposed());
    }

    const QList<Done> done =
        QtConcurrent::blockingMapped<QList<Done>>(jobs, [&](const Job& job) -> Done {
            Done d;
            const QImage picture = decode(job.file, job.largest, &d.error);
            if (picture.isNull()) {
                // The loader's reason does not name the file.
                d.error = QStringLiteral("cannot read picture %1: %2").arg(job.file, d.error);
                return d;
            }
            for (size_t k = 0; k < job.requests.size(); ++k) {
                const QSizeF twips = requests[job.requests[k]].twips;
                // Cells of the same size share one resampled picture.
                size_t same = 0;
                while (same < k && requests[job.requests[same]].twips != twips)
                    ++same;
                d.cells.push_back(same < k ? d.cells[same]
                                           : print::resampleToCell(picture, twips, dpi, options));
            }
            return d;
        });

    std::vector<QImage> pictures(requests.size());
    for (size_t j = 0; j < jobs.size(); ++j) {
        if (!done[qsizetype(j)].error.isEmpty()) {
            *error = done[qsizetype(j)].error;
            return std::nullopt;
        }
        for (size_t k = 0; k < jobs[j].requests.size(); ++k)
            pictures[jobs[j].requests[k]] = done[qsizetype(j)].cells[k];
    }
    return pictures;
}

} // namespace cellpictures
