#pragma once
// One print run: the sheets are made and handed to the printer on a worker
// thread, then the accepted jobs are followed until the printer has taken
// them. The screen's thread only hears of it, through the signals.

#include "print/print_summary.h"
#include "print/printer.h"
#include "print/sheet_orders.h"

#include <QObject>
#include <atomic>
#include <memory>
#include <vector>

class QThread;

namespace print {

class PrintJob : public QObject {
    Q_OBJECT
  public:
    // The sheets as ordered now (the orders hold copies of what they need) and
    // where they go. Nothing happens before start().
    PrintJob(std::unique_ptr<SheetTarget> target, std::vector<SheetOrder> sheets,
             QObject* parent = nullptr);
    // Cancels, and waits for the sheet being handed over.
    ~PrintJob() override;

    // Once; the signals then come on the thread that created the job.
    void start();
    // Stops before the next sheet and ends the following; the sheets already
    // handed over stay with the printer.
    void cancel();

    int sheetsTotal() const { return m_total; }

  signals:
    void progress(int sheetsDone, int sheetsTotal);
    // Everything known of the run; `troubles` filled from following the jobs.
    void finished(const print::PrintSummary& summary);

  private:
    void run();
    void follow(PrintSummary& summary);

    std::unique_ptr<SheetTarget> m_target;
    std::vector<SheetOrder> m_sheets;
    int m_total;
    std::atomic<bool> m_cancel = false;
    QThread* m_worker = nullptr;
};

} // namespace print
