#pragma once
// One private CUPS scheduler per test process, with a default folder
// printer at 150 dpi on Letter; each test starts with an empty output folder.

#include "pdf_probe.h"
#include "services/cups_server.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

// Readable QStrings in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace testcups {

inline testsvc::CupsServer*& server() {
    static testsvc::CupsServer* s = nullptr;
    return s;
}

inline const testsvc::FolderPrinter& printer() {
    static const testsvc::FolderPrinter p;
    return p;
}

// Page geometry of the test printer: printable area from its margins.
constexpr int kDpi = 150;
constexpr double kLeftPt = 12, kTopPt = 24;

// Where a rectangle in twips from the printable origin lands on a page
// rendered at `dpi` (portrait, Letter).
inline QRectF expectedPixels(const QRectF& twips, int dpi, double leftPt = kLeftPt,
                             double topPt = kTopPt) {
    const double s = dpi / 1440.0;
    return QRectF((leftPt * 20 + twips.x()) * s, (topPt * 20 + twips.y()) * s, twips.width() * s,
                  twips.height() * s);
}

// True when the found box matches the expected one within `tolerance`
// rendered pixels (the renderer rounds picture edges outward by up to one).
inline ::testing::AssertionResult landsAt(const QRect& found, const QRectF& expected,
                                          double tolerance = 1.5) {
    if (found.isNull())
        return ::testing::AssertionFailure() << "colour not found";
    const double l = found.left(), t = found.top(), r = found.right() + 1.0,
                 b = found.bottom() + 1.0;
    if (std::abs(l - expected.left()) <= tolerance && std::abs(t - expected.top()) <= tolerance &&
        std::abs(r - expected.right()) <= tolerance && std::abs(b - expected.bottom()) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "found " << l << "," << t << " - " << r << "," << b << ", expected "
           << expected.left() << "," << expected.top() << " - " << expected.right() << ","
           << expected.bottom();
}

class Environment : public ::testing::Environment {
  public:
    void TearDown() override {
        delete server();
        server() = nullptr;
    }
};

class CupsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        qputenv("HOME", home.path().toUtf8());
        if (!server()) {
            server() = new testsvc::CupsServer;
            QString error;
            ASSERT_TRUE(server()->start(&error)) << error.toStdString();
            ASSERT_TRUE(server()->addPrinter(printer(), true, &error)) << error.toStdString();
        }
        for (const QString& f : server()->jobFiles(printer().name))
            QFile::remove(f);
    }

    // Waits for `count` jobs, then a little longer to catch any extra one.
    QStringList jobs(int count) {
        server()->waitForJobs(printer().name, count);
        QTest::qWait(count == 0 ? 1500 : 300);
        return server()->jobFiles(printer().name);
    }

    QTemporaryDir home;
};

} // namespace testcups
