#pragma once
// What became of the sheets of one print run.

#include <QString>
#include <QStringList>
#include <vector>

namespace print {

struct PrintSummary {
    struct Job {
        QString caption; // "5x7"
        QString printer;
        int id;
        bool single = false; // a single print, not a package's sheet
    };
    int sheets = 0;            // handed to the printer or saved
    int pdfFiles = 0;          // of those, saved as PDF
    int failed = 0;            // refused
    int cancelled = 0;         // not made: the run was cancelled first
    QString pdfFolder;         // where the PDFs went
    QString whyPdf;            // why they are not on paper
    QString error;             // the first refusal's reason
    std::vector<qint64> bytes; // document size of each sheet, in order
    std::vector<Job> jobs;     // the sheets the printer accepted, in order
    QStringList troubles;      // what holds them up, once followed
};

} // namespace print
