#pragma once
// The threads Parvello's long work runs on: picture decodes, scans, the
// editor's filters. Not Qt's global pool: Qt scales and converts large
// pictures on the screen's thread by lending the work to the global pool's
// threads and waiting for them, so a decode of several seconds there would
// hold the window still for as long.

#include <QThreadPool>

namespace workers {

QThreadPool* pool();

} // namespace workers
