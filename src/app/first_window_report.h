#pragma once
// For start-up measurements: with CORVANE_REPORT_FIRST_WINDOW set in the
// environment, the program writes "first window shown" to its standard
// output the moment its first window is exposed on the screen. The start-up
// benchmark reads that line; nothing else changes.

class QCoreApplication;

namespace app {
void reportFirstWindowIfAsked(QCoreApplication &application);
}
