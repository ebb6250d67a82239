#include "cell_pictures.h"

#include "common/colour_profile.h"
#include "common/jpeg_reader.h"
#include "print/layouts.h"
#include "print/printer.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QtConcurrent/QtConcurrentMap>
#include <cmath>

namespace cellpictures {

namespace {

// Room for a 100-megapixel scan, but not for a picture that would exhaust
// the memory of an ordinary machine.
constexpr qint64 MaxPixels = 512LL * 1024 * 1024 / 4;

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

QImage decode(const QString& file, QSize atLeast, QString* error) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = f.errorString();
        return {};
    }
    QByteArray bytes = f.readAll();
    if (jpegreader::handles(bytes)) {
        const std::optional<QSize> size = jpegreader::uprightSize(bytes);
        const int reduction = size ? jpegreader::reductionFor(*size, atLeast) : 1;
        jpegreader::Result r = jpegreader::read(bytes, reduction, MaxPixels);
        *error = r.error;
        return r.image;
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    QImageReader::setAllocationLimit(int(MaxPixels * 4 / (1024 * 1024)));
    QImage image;
    if (!reader.read(&image))
        *error = reader.errorString();
    else
        colour::toSrgb(image);
    return image;
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
                if (d.error.isEmpty())
                    d.error = QStringLiteral("the file holds no picture");
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
