// The one QApplication of a Qt test run, on the offscreen platform.
#pragma once

class QApplication;

namespace tessary::testing {

// Created at the first call with QT_QPA_PLATFORM=offscreen; lives for the whole test run.
QApplication& OffscreenApp();

}  // namespace tessary::testing
