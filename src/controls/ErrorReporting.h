#pragma once

#include <QString>

#include <exception>
#include <functional>

class QWidget;

namespace corvadel::controls {

// Runs a user's action on the data and tells the user when it fails: a
// silent abort shows nothing more (the rule that aborted has spoken), any
// other error is shown with its own message. Returns whether it succeeded.
bool runAction(QWidget *parent, const std::function<void()> &action);

// Shows the error as a modal message box (nothing for a silent abort).
void reportError(QWidget *parent, const std::exception &error);

} // namespace corvadel::controls
