// A measurement seam for the start-up benchmark: with VELTRA_STARTUP_PROBE
// set in the environment, the program prints its resident memory
// ("startup-rss-kb N") the first time `widget` has painted, and quits. The
// benchmark (tools/startup_bench.py) times the start to that point, for the
// program and for a bare toolkit window alike. Without the variable nothing
// is installed.
#pragma once

class QWidget;

void InstallStartupProbe(QWidget* widget);
