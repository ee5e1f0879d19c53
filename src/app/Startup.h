#pragma once

class QApplication;

namespace corvadel::data {
class TDModBase;
}

namespace corvadel::app {

// The program's start-up, in order: the splash window, the application's
// title, the data module (closed, with the built-in settings), the main
// window and the fixed dialogs; then the splash goes and the event loop runs
// until the main window closes. Returns the event loop's exit code.
int run(QApplication &application);

// Every dataset and query of the data module, created closed.
void addDataSets(data::TDModBase &module);

} // namespace corvadel::app
